// SPDX-License-Identifier: MIT
// What a test seam keeps: answers queued by tests, and a record of what was asked for.
#pragma once

#include <deque>
#include <optional>
#include <vector>

namespace ui {

template <typename Answer, typename Request>
class SeamState {
public:
    // Queues the answer to a later request and starts recording.
    void QueueAnswer(Answer answer) {
        m_recording = true;
        m_answers.push_back(std::move(answer));
    }

    void StartRecording() { m_recording = true; }

    // Records `request` while recording; the next queued answer, if there is one.
    std::optional<Answer> Take(Request request) {
        if (m_recording) {
            m_requests.push_back(std::move(request));
        }
        if (m_answers.empty()) {
            return std::nullopt;
        }
        Answer answer = std::move(m_answers.front());
        m_answers.pop_front();
        return answer;
    }

    const std::vector<Request>& Requests() const { return m_requests; }

    // Forgets answers and requests and stops recording.
    void Reset() { *this = SeamState(); }

private:
    bool m_recording = false;
    std::deque<Answer> m_answers;
    std::vector<Request> m_requests;
};

}  // namespace ui
