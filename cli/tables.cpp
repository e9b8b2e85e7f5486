// SPDX-License-Identifier: MIT
#include "cli/tables.h"

#include <unistd.h>

#include <optional>
#include <vector>

#include "cli/messages.h"
#include "cli/ods_archive.h"
#include "cli/output_target.h"
#include "cli/quoted_name.h"
#include "engine/generate_outcome.h"
#include "engine/pcg_comparison.h"
#include "engine/pcg_duplicates.h"
#include "engine/pcg_reading.h"
#include "engine/slot_labels.h"
#include "engine/slot_listing.h"
#include "platform/os/file_identity.h"

namespace {

// Every file read whole, with each record's sound; the first that is not is told.
std::optional<std::vector<PcgReading>> ReadEveryFile(const std::string& program,
                                                     const std::vector<std::string>& paths) {
    std::vector<PcgReading> readings;
    for (const std::string& path : paths) {
        PcgReading read = ReadPcg(path, {PcgRules::WholeFile, 0, false, 0, true});
        if (read.status != PcgReadStatus::Read) {
            Complain(program, path,
                     FailureText(OutcomeOfRead(read.status, read.error, path), {}, QuotedWhenNeeded));
            return std::nullopt;
        }
        if (read.contents.shortfall) {
            // A difference must never be a fault of the reading.
            Complain(program, path,
                     ShortfallLine(read.contents.shortfall, read.contents.slots.size(),
                                   "read; nothing compared"));
            return std::nullopt;
        }
        readings.push_back(std::move(read));
    }
    return readings;
}

// Opens the request's output: its checks, and the terminal a spreadsheet never goes to.
std::optional<int> OpenOutput(const std::string& program, const CliRequest& request,
                              OutputTarget& output, int trouble) {
    if (request.format == TableFormat::Ods && !request.outputFile && isatty(STDOUT_FILENO)) {
        Tell(program, "a spreadsheet is no text for a terminal: give -O FILE, or send it on");
        return 2;
    }
    if (std::string why; !output.Open(request.outputFile, request.operands, why)) {
        Tell(program, why);
        return trouble;
    }
    return std::nullopt;
}

// Ends the output with `status`, or with `trouble` when it cannot be written.
int CloseOutput(const std::string& program, OutputTarget& output, bool made, int status,
                int trouble) {
    std::string why;
    if (!made) {
        why = "cannot make the spreadsheet";
    }
    if (!output.Close(why) || !made) {
        if (!why.empty()) {
            Tell(program, why);
        }
        return trouble;
    }
    return status;
}

TableOutput MakeTable(const CliRequest& request, std::vector<TableColumn> columns,
                      OutputTarget& output) {
    return TableOutput(
        request.format, std::move(columns),
        [&output](std::string_view bytes) { output.Write(bytes); }, ZipPackage);
}

}  // namespace

int ListSlots(const std::string& program, const CliRequest& request) {
    OutputTarget output;
    if (const auto status = OpenOutput(program, request, output, 1)) {
        return *status;
    }
    // Kind, slot and name, and the file first where there are several.
    std::vector<ListingColumn> columns = {ListingColumn::Kind, ListingColumn::Slot,
                                          ListingColumn::Name};
    if (request.operands.size() > 1) {
        columns.insert(columns.begin(), ListingColumn::File);
    }
    SlotListing listing(
        request.format, request.columns.value_or(columns),
        [&output](std::string_view bytes) { output.Write(bytes); }, ZipPackage);
    int status = 0;
    for (const std::string& pcg : request.operands) {
        const PcgReading read = ReadPcg(pcg, {PcgRules::WholeFile});
        if (read.status != PcgReadStatus::Read) {
            Complain(program, pcg,
                     FailureText(OutcomeOfRead(read.status, read.error, pcg), {}, QuotedWhenNeeded));
            status = 1;
            continue;
        }
        listing.Add(pcg, read.contents);
        if (const PcgShortfall& shortfall = read.contents.shortfall) {
            Complain(program, pcg, ShortfallLine(shortfall, read.contents.slots.size(), "listed"));
            status = 1;
        }
        if (output.Failed()) {
            break;
        }
    }
    return CloseOutput(program, output, listing.Finish(), status, 1);
}

int CompareFiles(const std::string& program, const CliRequest& request) {
    const auto readings = ReadEveryFile(program, request.operands);
    if (!readings) {
        return 2;
    }
    OutputTarget output;
    if (const auto status = OpenOutput(program, request, output, 2)) {
        return *status;
    }
    TableOutput table = MakeTable(
        request, {{"status"}, {"kind"}, {"slot"}, {"old_name"}, {"new_name"}}, output);
    const std::vector<SlotDifference> differences =
        ComparePcg((*readings)[0].contents, (*readings)[1].contents);
    for (const SlotDifference& difference : differences) {
        table.Row(difference.kind,
                  {std::string(StatusName(difference.status)), std::string(KindName(difference.kind)),
                   difference.slot, NameCell(difference.oldName), NameCell(difference.newName)});
    }
    return CloseOutput(program, output, table.Finish(), differences.empty() ? 0 : 1, 2);
}

int FindDuplicateSlots(const std::string& program, const CliRequest& request) {
    // A file named twice, under any spelling, is read once and known by its first name.
    std::vector<std::string> files;
    std::vector<os::FileIdentity> seen;
    for (const std::string& path : request.operands) {
        const auto identity = os::IdentityOf(path);
        if (identity && std::find(seen.begin(), seen.end(), *identity) != seen.end()) {
            continue;
        }
        if (identity) {
            seen.push_back(*identity);
        }
        files.push_back(path);
    }
    const auto readings = ReadEveryFile(program, files);
    if (!readings) {
        return 2;
    }
    OutputTarget output;
    if (const auto status = OpenOutput(program, request, output, 2)) {
        return *status;
    }
    std::vector<const PcgContents*> contents;
    for (const PcgReading& reading : *readings) {
        contents.push_back(&reading.contents);
    }
    const std::vector<DuplicateGroup> groups = FindDuplicates(contents, request.everySlot);
    TableOutput table = MakeTable(
        request, {{"group"}, {"reason"}, {"file"}, {"kind"}, {"slot"}, {"name"}}, output);
    for (std::size_t g = 0; g < groups.size(); ++g) {
        for (const DuplicateGroup::Member& member : groups[g].slots) {
            const PcgContents& file = *contents[member.file];
            const PcgBank& bank = file.BankOf(*member.slot);
            table.Row(bank.kind, {std::to_string(g + 1), std::string(ReasonName(groups[g].reason)),
                                  Utf8Cell(files[member.file]), std::string(KindName(bank.kind)),
                                  SlotLabel(bank, *member.slot), NameCell(member.slot->Name())});
        }
    }
    return CloseOutput(program, output, table.Finish(), groups.empty() ? 0 : 1, 2);
}
