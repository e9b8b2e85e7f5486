// SPDX-License-Identifier: MIT
// Arbitrary bytes as a PCG file through both readers, from memory and from a file, each checked
// against a plain model of its own.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "engine/patch_reader.h"
#include "engine/pcg_reading.h"
#include "engine/slot_labels.h"
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

    // The same bytes from memory, and the report's 128 names, give the same.
    const PcgReading classic = ReadPcgBytes(bytes, {});
    const PcgReading first = ReadPcgBytes(bytes, {PcgRules::Classic, 128, true});
    FUZZ_CHECK(classic.status == first.status);
    FUZZ_CHECK((classic.status == PcgReadStatus::Read) == (outcome == ReadOutcome::Read));
    FUZZ_CHECK(std::string_view(classic.names.errorText.data()) == error);
    for (std::size_t k = 0; k < table.entries.size(); ++k) {
        const PatchEntry& entry = table.entries[k];
        FUZZ_CHECK(std::strcmp(entry.name, classic.names.entries[k].name) == 0);
        FUZZ_CHECK(k >= 128 || std::strcmp(entry.name, first.names.entries[k].name) == 0);
        FUZZ_CHECK(entry.bank == static_cast<char>('A' + k / CPatchTable::kPatchesPerBank));
        FUZZ_CHECK(entry.number == k % CPatchTable::kPatchesPerBank);
        FUZZ_CHECK(std::memchr(entry.name, '\0', sizeof entry.name) != nullptr);
        const std::string_view name = entry.name;
        FUZZ_CHECK(model.names.empty() ? name.empty() : name == model.names[k]);
    }

    // The whole tree, from the file and from memory, against its own plain model.
    const PcgReading fromFile = ReadPcg(file.path(), {PcgRules::WholeFile});
    const PcgReading tree = ReadPcgBytes(bytes, {PcgRules::WholeFile});
    const fuzz::PcgTreeModel treeModel = fuzz::ModelPcgTree(bytes);
    FUZZ_CHECK(static_cast<int>(tree.status) == static_cast<int>(fromFile.status));
    FUZZ_CHECK(tree.contents.slots.size() == fromFile.contents.slots.size());
    FUZZ_CHECK(tree.status == TreeStatus(treeModel.outcome));
    FUZZ_CHECK(tree.contents.shortfall.kind == fromFile.contents.shortfall.kind);
    // After the classic rules found banks, the same open file gives the whole tree again.
    FUZZ_CHECK(first.status != PcgReadStatus::Read ||
               first.contents.slots.size() == tree.contents.slots.size());
    // A file beyond the reader's caps is compared as far as the reader went.
    const bool cut =
        tree.contents.shortfall && tree.contents.shortfall.kind != PcgShortfall::Kind::EndsEarly;
    const PcgShortfall::Kind why = tree.contents.shortfall.kind;
    FUZZ_CHECK(why != PcgShortfall::Kind::TooManySlots ||
               tree.contents.slots.size() == kMaxPcgSlots);
    FUZZ_CHECK(why != PcgShortfall::Kind::TooManyBanks ||
               tree.contents.banks.size() == kMaxPcgBanks);
    FUZZ_CHECK(cut || (tree.contents.slots.size() == treeModel.slots.size() &&
                       tree.contents.banks.size() == treeModel.banks.size()));
    // The file ends before its "PCG1" chunk says exactly when it is shorter than that end.
    if (!cut && tree.status != PcgReadStatus::BadHeaders) {
        const std::uint64_t chunksEnd =
            24 + (std::uint64_t{data[20]} << 24 | std::uint64_t{data[21]} << 16 |
                  std::uint64_t{data[22]} << 8 | data[23]);
        FUZZ_CHECK((tree.contents.shortfall.kind == PcgShortfall::Kind::EndsEarly) ==
                   (size < chunksEnd));
    }
    for (std::size_t b = 0; b < tree.contents.banks.size(); ++b) {
        const PcgBank& bank = tree.contents.banks[b];
        const fuzz::PcgTreeModel::Bank& expected = treeModel.banks[b];
        FUZZ_CHECK(static_cast<int>(bank.kind) == expected.kind);
        FUZZ_CHECK(bank.optionalBoard == expected.optionalBoard && bank.number == expected.number);
        FUZZ_CHECK(cut || bank.slotCount == expected.slots);
    }
    for (std::size_t k = 0; k < tree.contents.slots.size(); ++k) {
        const PcgSlot& slot = tree.contents.slots[k];
        FUZZ_CHECK(slot.index == treeModel.slots[k].index);
        FUZZ_CHECK(slot.Name() == treeModel.slots[k].name);
        FUZZ_CHECK(slot.Name() == fromFile.contents.slots[k].Name());
        FUZZ_CHECK(SlotLabel(tree.contents.BankOf(slot), slot) == treeModel.slots[k].label);
        FUZZ_CHECK((slot.category == kNoCategory ? -1 : int{slot.category}) ==
                   treeModel.slots[k].category);
        FUZZ_CHECK(slot.useCount == treeModel.slots[k].uses.size());
        for (std::size_t u = 0; u < slot.useCount && u < treeModel.slots[k].uses.size(); ++u) {
            FUZZ_CHECK(ProgramLabel(slot.uses[u], tree.contents.model) == treeModel.slots[k].uses[u]);
        }
    }
    return 0;
}
