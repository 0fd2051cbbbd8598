// A worksheet in memory that applies each operation to its cells, fonts, colours, columns and
// alignments: the report's target where no spreadsheet application is at hand.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "spreadsheet_operations.h"

namespace report {

struct ModelCell {
    std::string text;
    bool written = false;  // received a text
    int fontColour = 0;    // 0: the application's automatic colour
    int fontSize = 0;      // 0: the standard size
    bool bold = false;
    int underline = 0;
    int interiorColour = 0;
};

struct ModelColumn {
    std::string width;
    int alignment = 0;
};

class WorksheetModel : public SpreadsheetOperations {
public:
    bool StartApplication(const std::string& title) override;
    void SetCell(const std::string& cell, const std::string& text, int colour) override;
    void SetHeaderBand(const std::string& first, const std::string& last, const std::string& text) override;
    void SetFontSize(const std::string& first, const std::string& last, int size) override;
    void SetInteriorColor(const std::string& first, const std::string& last, int colour) override;
    void SetFontColor(const std::string& first, const std::string& last, int colour) override;
    void SetBold(const std::string& first, const std::string& last) override;
    void SetUnderline(const std::string& first, const std::string& last) override;
    void SetColumnWidth(const std::string& cell, const std::string& width) override;
    void SetColumnAlignment(const std::string& cell, int alignment) override;
    void ShowToUser() override;

    // A cell by name ("B4"); an untouched cell reads as default.
    ModelCell At(const std::string& cell) const;
    ModelColumn Column(char column) const;
    // "CELL\ttext" for every cell that received a text, row by row, left to right.
    std::vector<std::string> WrittenCells() const;

    bool started = false;
    bool visible = false;
    bool userControl = false;
    std::string sheetName;
    bool refuseStart = false;  // plays an application that cannot be started

private:
    using Position = std::pair<int, int>;  // row, column (1 = A)
    template <typename Change>
    void ForRange(const std::string& first, const std::string& last, Change change);

    std::map<Position, ModelCell> cells_;
    std::map<int, ModelColumn> columns_;
};

// A cell name's row and column (1-based); false for a name that is not one.
bool ParseCellName(const std::string& name, int& row, int& column);

}  // namespace report
