// One panel type as the command-menu dialog edits it: a grid of cells, a column per row of the
// definition and positions along it. The cell at column 0, position 0 holds the type's name
// and stands where the panel's type list is, so the first row starts at position 1.
#pragma once

#include <string>
#include <vector>

class CCmdPanelData;

class CustCmdPanelModel {
public:
    struct Cell {
        int deleted = 0;
        int column = 0;
        int position = 0;
        std::string text;
    };
    // Kinds of GetCell.
    static constexpr int kNameCell = 0;
    static constexpr int kEntry = 1;
    static constexpr int kInsertion = 2;
    static constexpr int kEmpty = -1;

    // -1 without data. Every item line becomes a cell, however long its row.
    int Build(const std::string& typeName, const CCmdPanelData* data);
    // The kind of the cell, with the caption and image set of its entry.
    int GetCell(int column, int position, std::string* caption, int* imageSet) const;

    // Editing at the selection: 0 changed, -1 refused.
    int MoveUp();
    int MoveDown();
    int Delete();
    int Change(const std::string& line);
    int Insert(const std::string& line);

    // Replaces the type's item lines by every column, a row break between columns.
    void SaveTo(CCmdPanelData* data) const;

    // The positions a column offers: 100, or more when a row of the file is longer.
    int PositionCount() const;

    int selectedColumn = 0;
    int selectedPosition = 0;
    std::vector<Cell> cells;
    int positionsPerColumn = 100;

private:
    const Cell* LiveAt(int column, int position) const;
    Cell* LiveAt(int column, int position);
    int ColumnCount() const;
    int m_builtColumns = 1;
};
