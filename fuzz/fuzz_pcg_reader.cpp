// SPDX-License-Identifier: MIT
// Arbitrary bytes as a PCG file through ReadPatchNames and the whole-tree reader, each checked
// against a plain in-memory reading.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "engine/patch_reader.h"
#include "engine/pcg_tree_reader.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/memory_file.h"
#include "fuzz/pcg_model.h"

namespace {

constexpr std::string_view kMissingFile = "The named PCG file does not exist !";
constexpr std::string_view kBadHeaders =
    "Failed to read the PCG file, it does not appear to be valid (headers).";

ReadOutcome Expected(fuzz::PcgModel::Outcome outcome) {
    switch (outcome) {
        case fuzz::PcgModel::Outcome::Read:
            return ReadOutcome::Read;
        case fuzz::PcgModel::Outcome::NoBanks:
            return ReadOutcome::NoBanks;
        case fuzz::PcgModel::Outcome::BadHeaders:
            break;
    }
    return ReadOutcome::Failed;
}

PcgReadStatus TreeStatus(fuzz::PcgTreeModel::Outcome outcome) {
    switch (outcome) {
        case fuzz::PcgTreeModel::Outcome::Read:
            return PcgReadStatus::Read;
        case fuzz::PcgTreeModel::Outcome::NoBanks:
            return PcgReadStatus::NoBanks;
        case fuzz::PcgTreeModel::Outcome::BadHeaders:
            break;
    }
    return PcgReadStatus::BadHeaders;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static fuzz::MemoryFile file("fuzz.pcg");
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    file.Assign(bytes);

    CPatchTable table;
    table.errorText[0] = '\0';
    const ReadOutcome outcome = ReadPatchNames(file.path(), table);

    const std::size_t errorLength = strnlen(table.errorText.data(), table.errorText.size());
    FUZZ_CHECK(errorLength < table.errorText.size());
    const std::string_view error(table.errorText.data(), errorLength);
    FUZZ_CHECK((outcome == ReadOutcome::Failed) == !error.empty());
    FUZZ_CHECK(error.empty() || error == kBadHeaders || error == kMissingFile);

    const fuzz::PcgModel model = fuzz::ModelPcg(bytes, CPatchTable::kEntries);
    FUZZ_CHECK(outcome == Expected(model.outcome));
    // The file exists, so a failure can only be its headers.
    FUZZ_CHECK(outcome != ReadOutcome::Failed || error == kBadHeaders);

    for (std::size_t k = 0; k < table.entries.size(); ++k) {
        const PatchEntry& entry = table.entries[k];
        FUZZ_CHECK(entry.bank == static_cast<char>('A' + k / CPatchTable::kPatchesPerBank));
        FUZZ_CHECK(entry.number == k % CPatchTable::kPatchesPerBank);
        FUZZ_CHECK(std::memchr(entry.name, '\0', sizeof entry.name) != nullptr);
        const std::string_view name = entry.name;
        FUZZ_CHECK(model.names.empty() ? name.empty() : name == model.names[k]);
    }

    // The whole tree, from the file and from memory, against its own plain model.
    const PcgTreeRead fromFile = ReadPcgContents(file.path());
    const PcgTreeRead tree = ReadPcgContentsFromBytes(bytes);
    const fuzz::PcgTreeModel treeModel = fuzz::ModelPcgTree(bytes);
    FUZZ_CHECK(static_cast<int>(tree.status) == static_cast<int>(fromFile.status));
    FUZZ_CHECK(tree.contents.slots.size() == fromFile.contents.slots.size());
    FUZZ_CHECK(tree.status == TreeStatus(treeModel.outcome));
    // A file beyond the reader's caps is compared as far as the reader went.
    FUZZ_CHECK(tree.contents.cut ? tree.contents.slots.size() == kMaxPcgSlots ||
                                       tree.contents.banks.size() == kMaxPcgBanks
                                 : tree.contents.slots.size() == treeModel.slots.size() &&
                                       tree.contents.banks.size() == treeModel.banks.size());
    for (std::size_t b = 0; b < tree.contents.banks.size(); ++b) {
        const PcgBank& bank = tree.contents.banks[b];
        const fuzz::PcgTreeModel::Bank& expected = treeModel.banks[b];
        FUZZ_CHECK(static_cast<int>(bank.kind) == expected.kind);
        FUZZ_CHECK(bank.optionalBoard == expected.optionalBoard && bank.number == expected.number);
        FUZZ_CHECK(tree.contents.cut || bank.slotCount == expected.slots);
    }
    for (std::size_t k = 0; k < tree.contents.slots.size(); ++k) {
        const PcgSlot& slot = tree.contents.slots[k];
        FUZZ_CHECK(slot.index == treeModel.slots[k].index);
        FUZZ_CHECK(slot.Name() == treeModel.slots[k].name);
        FUZZ_CHECK(slot.Name() == fromFile.contents.slots[k].Name());
        FUZZ_CHECK(!SlotLabel(tree.contents.BankOf(slot), slot).empty());
    }
    return 0;
}
