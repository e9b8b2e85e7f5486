// SPDX-License-Identifier: MIT
#include "engine/pcg_duplicates.h"

#include <algorithm>
#include <map>
#include <string>
#include <tuple>
#include <unordered_map>

#include "engine/patch_name_value.h"
#include "engine/slot_labels.h"

namespace {

// So many names beginning with the same letters make them a file's placeholders.
constexpr std::size_t kPlaceholderNames = 8;

bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// The letters a placeholder-like name begins with, or nothing when it is not one.
std::string_view PlaceholderLetters(SlotKind kind, std::string_view name) {
    for (std::size_t at = 1; at < name.size() && IsLetter(name[at - 1]); ++at) {
        if (IsSlotLabel(kind, name.substr(at))) {
            return name.substr(0, at);
        }
    }
    return {};
}

std::size_t NamesBeginningWith(const PcgContents& contents, SlotKind kind,
                               std::string_view letters) {
    return static_cast<std::size_t>(
        std::count_if(contents.slots.begin(), contents.slots.end(), [&](const PcgSlot& slot) {
            return contents.BankOf(slot).kind == kind &&
                   TrimWhiteSpace(slot.Name()).starts_with(letters);
        }));
}

// Placeholders told once per file, kind and letters: a file holds thousands of them.
class Placeholders {
public:
    explicit Placeholders(const PcgContents& contents) : m_contents(contents) {}
    bool Is(SlotKind kind, std::string_view name) {
        const std::string_view letters = PlaceholderLetters(kind, name);
        if (letters.empty()) {
            return false;
        }
        const auto key = std::make_pair(kind, std::string(letters));
        auto found = m_counts.find(key);
        if (found == m_counts.end()) {
            found = m_counts.emplace(key, NamesBeginningWith(m_contents, kind, letters)).first;
        }
        return found->second >= kPlaceholderNames;
    }

private:
    const PcgContents& m_contents;
    std::map<std::pair<SlotKind, std::string>, std::size_t> m_counts;
};

}  // namespace

std::string_view ReasonName(DuplicateGroup::Reason reason) {
    return reason == DuplicateGroup::Reason::Sound ? "sound" : "name";
}

bool IsPlaceholder(const PcgContents& contents, SlotKind kind, std::string_view name) {
    const std::string_view letters = PlaceholderLetters(kind, TrimWhiteSpace(name));
    return !letters.empty() && NamesBeginningWith(contents, kind, letters) >= kPlaceholderNames;
}

std::vector<DuplicateGroup> FindDuplicates(const std::vector<const PcgContents*>& files,
                                           bool placeholders) {
    using Member = DuplicateGroup::Member;
    // Every slot taking part, in order, by what it is grouped by.
    std::map<std::tuple<SlotKind, std::uint64_t, std::uint64_t>, std::vector<Member>> sounds;
    std::map<std::pair<SlotKind, std::string>, std::vector<Member>> names;
    for (std::size_t f = 0; f < files.size(); ++f) {
        const PcgContents& contents = *files[f];
        Placeholders placeholder(contents);
        for (const PcgSlot& slot : contents.slots) {
            const SlotKind kind = contents.BankOf(slot).kind;
            const std::string_view name = TrimWhiteSpace(slot.Name());
            if (!placeholders && placeholder.Is(kind, name)) {
                continue;
            }
            sounds[{kind, slot.sound[0], slot.sound[1]}].push_back({f, &slot});
            if (!name.empty()) {
                names[{kind, std::string(name)}].push_back({f, &slot});
            }
        }
    }
    std::vector<DuplicateGroup> groups;
    for (auto& [sound, members] : sounds) {
        if (members.size() > 1) {
            groups.push_back({DuplicateGroup::Reason::Sound, std::move(members)});
        }
    }
    for (auto& entry : names) {
        std::vector<Member>& members = entry.second;
        const auto& sound = members.front().slot->sound;
        const bool soundsDiffer = std::any_of(
            members.begin() + 1, members.end(),
            [&sound](const Member& member) { return member.slot->sound != sound; });
        if (soundsDiffer) {
            groups.push_back({DuplicateGroup::Reason::Name, std::move(members)});
        }
    }
    // Slots of one file lie in order in memory; files in the order given.
    const auto first = [](const DuplicateGroup& group) {
        return std::make_tuple(group.slots.front().file, group.slots.front().slot, group.reason);
    };
    std::sort(groups.begin(), groups.end(), [&](const DuplicateGroup& a, const DuplicateGroup& b) {
        return first(a) < first(b);
    });
    return groups;
}
