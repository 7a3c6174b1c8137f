#include "panels/CustCmdPanelModel.h"

#include <algorithm>
#include <map>

#include "core/CsvParser.h"
#include "panels/CmdPanelContent.h"
#include "panels/CmdPanelItemLine.h"

int CustCmdPanelModel::Build(const std::string& typeName, const CCmdPanelData* data)
{
    if (data == nullptr) return -1;
    cells.clear();
    cells.push_back({0, 0, 0, typeName});
    int column = 0, position = 1;
    for (const std::string& line : data->itemLines) {
        if (line == kCmdPanelRowBreak) {
            ++column;
            position = 0;
            continue;
        }
        cells.push_back({0, column, position++, line});
    }
    m_builtColumns = column + 1;
    return 0;
}

const CustCmdPanelModel::Cell* CustCmdPanelModel::LiveAt(int column, int position) const
{
    for (const Cell& cell : cells)
        if (!cell.deleted && cell.column == column && cell.position == position) return &cell;
    return nullptr;
}

CustCmdPanelModel::Cell* CustCmdPanelModel::LiveAt(int column, int position)
{
    return const_cast<Cell*>(static_cast<const CustCmdPanelModel*>(this)->LiveAt(column, position));
}

int CustCmdPanelModel::PositionCount() const
{
    int count = positionsPerColumn;
    for (const Cell& cell : cells)
        if (!cell.deleted) count = std::max(count, cell.position + 2);
    return count;
}

int CustCmdPanelModel::ColumnCount() const
{
    int count = m_builtColumns;
    for (const Cell& cell : cells)
        if (!cell.deleted) count = std::max(count, cell.column + 1);
    return count;
}

int CustCmdPanelModel::GetCell(int column, int position, std::string* caption, int* imageSet) const
{
    if (caption != nullptr) caption->clear();
    if (imageSet != nullptr) *imageSet = 0;
    if (const Cell* cell = LiveAt(column, position)) {
        if (column == 0 && position == 0) {
            if (caption != nullptr) *caption = cell->text;
            return kNameCell;
        }
        CCsvParser fields(cell->text);
        if (caption != nullptr) *caption = fields.GetAt(0);
        if (imageSet != nullptr) *imageSet = ParseCmdPanelNumber(fields.GetAt(3));
        return kEntry;
    }
    if (column < 0 || position < 0) return kEmpty;
    if ((column > 0 && position == 0) || (position > 0 && LiveAt(column, position - 1) != nullptr)) return kInsertion;
    return kEmpty;
}

int CustCmdPanelModel::MoveUp()
{
    const int column = selectedColumn, position = selectedPosition;
    if ((column == 0 && position <= 1) || position <= 0) return -1;
    Cell* cell = LiveAt(column, position);
    Cell* above = LiveAt(column, position - 1);
    if (cell == nullptr || above == nullptr) return -1;
    std::swap(cell->position, above->position);
    selectedPosition = position - 1;
    return 0;
}

int CustCmdPanelModel::MoveDown()
{
    const int column = selectedColumn, position = selectedPosition;
    if ((column == 0 && position == 0) || position >= PositionCount() - 1) return -1;
    Cell* cell = LiveAt(column, position);
    Cell* below = LiveAt(column, position + 1);
    if (cell == nullptr || below == nullptr) return -1;
    std::swap(cell->position, below->position);
    selectedPosition = position + 1;
    return 0;
}

int CustCmdPanelModel::Delete()
{
    const int column = selectedColumn, position = selectedPosition;
    if (column == 0 && position == 0) return -1;
    Cell* cell = LiveAt(column, position);
    if (cell == nullptr) return -1;
    cell->deleted = 1;
    for (Cell& other : cells)
        if (other.column == column && other.position >= position) --other.position;
    return 0;
}

int CustCmdPanelModel::Change(const std::string& line)
{
    if (selectedColumn == 0 && selectedPosition == 0) return -1;
    Cell* cell = LiveAt(selectedColumn, selectedPosition);
    if (cell == nullptr) return -1;
    cell->text = line;
    return 0;
}

int CustCmdPanelModel::Insert(const std::string& line)
{
    const int column = selectedColumn, position = selectedPosition;
    if (column == 0 && position == 0) return -1;
    // The last position takes nothing more: its entry would be pushed out of the column.
    if (position < 0 || position >= PositionCount() - 1) return -1;
    for (Cell& other : cells)
        if (other.column == column && other.position >= position) ++other.position;
    cells.push_back({0, column, position, line});
    return 0;
}

void CustCmdPanelModel::SaveTo(CCmdPanelData* data) const
{
    if (data == nullptr) return;
    // Every column is written, in position order, with a row break between columns.
    std::map<std::pair<int, int>, const std::string*> ordered;
    for (const Cell& cell : cells) {
        if (cell.deleted || cell.text.empty() || (cell.column == 0 && cell.position == 0)) continue;
        ordered[{cell.column, cell.position}] = &cell.text;
    }
    std::vector<std::string> lines;
    const int columns = ColumnCount();
    auto next = ordered.begin();
    for (int column = 0; column < columns; ++column) {
        if (column > 0) lines.push_back(kCmdPanelRowBreak);
        for (; next != ordered.end() && next->first.first == column; ++next) lines.push_back(*next->second);
    }
    data->itemLines = std::move(lines);
}
