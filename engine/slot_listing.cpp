// SPDX-License-Identifier: MIT
#include "engine/slot_listing.h"

#include <algorithm>
#include <optional>

#include "engine/program_users.h"
#include "engine/slot_categories.h"
#include "engine/slot_labels.h"

namespace {

constexpr std::string_view kColumnNames[] = {"file", "kind",     "bank", "slot",
                                             "name", "category", "uses", "used_by"};
constexpr ListingColumn kEveryColumn[] = {
    ListingColumn::File, ListingColumn::Kind,     ListingColumn::Bank, ListingColumn::Slot,
    ListingColumn::Name, ListingColumn::Category, ListingColumn::Uses, ListingColumn::UsedBy};

std::string_view NameOf(ListingColumn column) {
    return kColumnNames[static_cast<std::size_t>(column)];
}

// Every column but the file, as a JSON listing gives them.
std::vector<ListingColumn> ColumnsFor(TableFormat format, std::vector<ListingColumn> columns) {
    if (format == TableFormat::Json) {
        columns.assign(std::begin(kEveryColumn) + 1, std::end(kEveryColumn));
    }
    return columns;
}

std::vector<TableColumn> TableColumns(const std::vector<ListingColumn>& columns) {
    std::vector<TableColumn> table;
    for (const ListingColumn column : columns) {
        table.push_back(
            {NameOf(column), column == ListingColumn::Uses || column == ListingColumn::UsedBy});
    }
    return table;
}

// Labels, space-separated, appended to `text`: the programs a combination plays, or the
// combinations that play a program.
void AppendUses(const PcgContents& contents, const PcgSlot& slot, std::string& text) {
    char label[kMaxSlotLabel];
    for (std::uint8_t u = 0; u < slot.useCount; ++u) {
        if (u > 0) {
            text += ' ';
        }
        text.append(label, WriteProgramLabel(slot.uses[u], contents.model, label));
    }
}

void AppendUsers(const PcgContents& contents, const ProgramUsers& users, const PcgSlot& slot,
                 std::string& text) {
    char label[kMaxSlotLabel];
    for (const std::uint32_t user : users.Of(slot)) {
        if (!text.empty()) {
            text += ' ';
        }
        const PcgSlot& combination = contents.slots[user];
        text.append(label, WriteSlotLabel(contents.BankOf(combination), combination, label));
    }
}

}  // namespace

bool ListingColumnsNamed(std::string_view list, std::vector<ListingColumn>& columns,
                         std::string& unknown) {
    columns.clear();
    for (;;) {
        const std::size_t comma = std::min(list.find(','), list.size());
        const std::string_view name = list.substr(0, comma);
        const auto* found = std::find(std::begin(kColumnNames), std::end(kColumnNames), name);
        if (found == std::end(kColumnNames)) {
            unknown = std::string(name);
            return false;
        }
        columns.push_back(kEveryColumn[found - std::begin(kColumnNames)]);
        if (comma == list.size()) {
            return true;
        }
        list.remove_prefix(comma + 1);
    }
}

SlotListing::SlotListing(TableFormat format, std::vector<ListingColumn> columns, TableSink sink,
                         Packer packer)
    : m_columns(ColumnsFor(format, std::move(columns))),
      m_table(format, TableColumns(m_columns), std::move(sink), std::move(packer)) {}

void SlotListing::Add(const std::string& file, const PcgContents& contents) {
    m_table.BeginGroup(Utf8Cell(file));
    // Only a listing that shows them pays for the combinations' index.
    std::optional<ProgramUsers> users;
    if (std::find(m_columns.begin(), m_columns.end(), ListingColumn::UsedBy) != m_columns.end()) {
        users.emplace(contents);
    }
    const std::string fileCell = Utf8Cell(file);
    std::vector<std::string> cells(m_columns.size());
    char label[kMaxSlotLabel];
    for (const PcgSlot& slot : contents.slots) {
        const PcgBank& bank = contents.BankOf(slot);
        for (std::size_t c = 0; c < m_columns.size(); ++c) {
            // Each cell is made again in the string of the row before: no allocation a slot.
            std::string& cell = cells[c];
            cell.clear();
            switch (m_columns[c]) {
                case ListingColumn::File:
                    cell = fileCell;
                    break;
                case ListingColumn::Kind:
                    cell = KindName(bank.kind);
                    break;
                case ListingColumn::Bank:
                    cell = bank.Label();
                    break;
                case ListingColumn::Slot:
                    cell.assign(label, WriteSlotLabel(bank, slot, label));
                    break;
                case ListingColumn::Name:
                    AppendNameCell(slot.Name(), cell);
                    break;
                case ListingColumn::Category:
                    cell = CategoryName(bank.kind, slot.category);
                    break;
                case ListingColumn::Uses:
                    AppendUses(contents, slot, cell);
                    break;
                case ListingColumn::UsedBy:
                    AppendUsers(contents, *users, slot, cell);
                    break;
            }
        }
        m_table.Row(bank.kind, cells);
    }
}

bool SlotListing::Finish() {
    return m_table.Finish();
}
