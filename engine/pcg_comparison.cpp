// SPDX-License-Identifier: MIT
#include "engine/pcg_comparison.h"

#include <unordered_map>

#include "engine/patch_name_value.h"
#include "engine/slot_labels.h"

namespace {

// A slot's kind and label as one key.
std::string KeyOf(const PcgContents& contents, const PcgSlot& slot) {
    const PcgBank& bank = contents.BankOf(slot);
    char label[kMaxSlotLabel + 1];
    label[0] = static_cast<char>('0' + static_cast<int>(bank.kind));
    return std::string(label, WriteSlotLabel(bank, slot, label + 1));
}

// The first slot of each key, in file order, by key.
std::unordered_map<std::string, const PcgSlot*> FirstSlots(const PcgContents& contents) {
    std::unordered_map<std::string, const PcgSlot*> slots;
    slots.reserve(contents.slots.size());
    for (const PcgSlot& slot : contents.slots) {
        slots.emplace(KeyOf(contents, slot), &slot);
    }
    return slots;
}

}  // namespace

std::string_view StatusName(SlotDifference::Status status) {
    switch (status) {
        case SlotDifference::Status::Added:
            return "added";
        case SlotDifference::Status::Removed:
            return "removed";
        case SlotDifference::Status::Renamed:
            return "renamed";
        case SlotDifference::Status::Changed:
            return "changed";
        case SlotDifference::Status::Replaced:
            break;
    }
    return "replaced";
}

std::vector<SlotDifference> ComparePcg(const PcgContents& oldFile, const PcgContents& newFile) {
    const auto oldSlots = FirstSlots(oldFile);
    const auto newSlots = FirstSlots(newFile);
    std::vector<SlotDifference> differences;
    // Each key once, at its first appearance.
    const auto firstOf = [](const auto& slots, const std::string& key, const PcgSlot& slot) {
        return slots.at(key) == &slot;
    };
    for (const PcgSlot& slot : oldFile.slots) {
        const std::string key = KeyOf(oldFile, slot);
        if (!firstOf(oldSlots, key, slot)) {
            continue;
        }
        const std::string label = key.substr(1);
        const SlotKind kind = oldFile.BankOf(slot).kind;
        const std::string oldName(TrimWhiteSpace(slot.Name()));
        const auto found = newSlots.find(key);
        if (found == newSlots.end()) {
            differences.push_back({SlotDifference::Status::Removed, kind, label, oldName, {}});
            continue;
        }
        const std::string newName(TrimWhiteSpace(found->second->Name()));
        const bool sameName = oldName == newName;
        const bool sameSound = slot.sound == found->second->sound;
        if (sameName && sameSound) {
            continue;
        }
        const auto status = sameSound  ? SlotDifference::Status::Renamed
                            : sameName ? SlotDifference::Status::Changed
                                       : SlotDifference::Status::Replaced;
        differences.push_back({status, kind, label, oldName, newName});
    }
    for (const PcgSlot& slot : newFile.slots) {
        const std::string key = KeyOf(newFile, slot);
        if (firstOf(newSlots, key, slot) && !oldSlots.contains(key)) {
            differences.push_back({SlotDifference::Status::Added, newFile.BankOf(slot).kind,
                                   key.substr(1), {}, std::string(TrimWhiteSpace(slot.Name()))});
        }
    }
    return differences;
}
