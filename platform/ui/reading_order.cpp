// SPDX-License-Identifier: MIT
#include "platform/ui/reading_order.h"

#include <algorithm>
#include <limits>
#include <numeric>

namespace ui {

namespace {

constexpr std::size_t kNoGroup = std::numeric_limits<std::size_t>::max();

bool Encloses(const res::ControlTemplate& outer, const res::ControlTemplate& inner) {
    return inner.x >= outer.x && inner.y >= outer.y &&
           inner.x + inner.width <= outer.x + outer.width &&
           inner.y + inner.height <= outer.y + outer.height;
}

// Whether control `inner` lies in group box `outer`; of two group boxes with the same
// rectangle the earlier one holds the later.
bool HoldsControl(std::span<const res::ControlTemplate> controls, std::size_t outer,
                  std::size_t inner) {
    return outer != inner && controls[outer].kind == res::ControlKind::GroupBox &&
           Encloses(controls[outer], controls[inner]) &&
           (!Encloses(controls[inner], controls[outer]) || outer < inner);
}

}  // namespace

std::vector<std::size_t> ReadingOrder(std::span<const res::ControlTemplate> controls) {
    const std::size_t count = controls.size();
    std::vector<std::size_t> group(count, kNoGroup);
    for (std::size_t i = 0; i < count; ++i) {
        for (std::size_t g = 0; g < count; ++g) {
            if (HoldsControl(controls, g, i) &&
                (group[i] == kNoGroup || HoldsControl(controls, group[i], g))) {
                group[i] = g;
            }
        }
    }
    // Where each control or group, with all it holds, first appears in template order.
    std::vector<std::size_t> first(count);
    std::iota(first.begin(), first.end(), 0);
    for (std::size_t i = 0; i < count; ++i) {
        for (std::size_t g = group[i]; g != kNoGroup; g = group[g]) {
            first[g] = std::min(first[g], i);
        }
    }

    std::vector<std::size_t> order;
    order.reserve(count);
    auto place = [&](auto& self, std::size_t parent) -> void {
        std::vector<std::size_t> members;
        for (std::size_t i = 0; i < count; ++i) {
            if (group[i] == parent) {
                members.push_back(i);
            }
        }
        std::sort(members.begin(), members.end(),
                  [&](std::size_t a, std::size_t b) { return first[a] < first[b]; });
        for (std::size_t member : members) {
            order.push_back(member);
            self(self, member);
        }
    };
    place(place, kNoGroup);
    return order;
}

}  // namespace ui
