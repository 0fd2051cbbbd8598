#include "worksheet_model.h"

#include <algorithm>

namespace report {

bool ParseCellName(const std::string& name, int& row, int& column) {
    std::size_t i = 0;
    column = 0;
    while (i < name.size() && name[i] >= 'A' && name[i] <= 'Z' && column < 100000)
        column = column * 26 + (name[i++] - 'A' + 1);
    row = 0;
    const std::size_t digits = i;
    while (i < name.size() && name[i] >= '0' && name[i] <= '9' && row < 10000000)
        row = row * 10 + (name[i++] - '0');
    return column > 0 && i > digits && i == name.size() && row > 0;
}

template <typename Change>
void WorksheetModel::ForRange(const std::string& first, const std::string& last, Change change) {
    int row1 = 0, column1 = 0, row2 = 0, column2 = 0;
    if (!ParseCellName(first, row1, column1) || !ParseCellName(last, row2, column2))
        return;
    for (int row = std::min(row1, row2); row <= std::max(row1, row2); ++row) {
        for (int column = std::min(column1, column2); column <= std::max(column1, column2); ++column)
            change(cells_[{row, column}]);
    }
}

bool WorksheetModel::StartApplication(const std::string& title) {
    if (refuseStart)
        return false;
    started = true;
    sheetName = title;
    // As the session does it: the title into A1, white, bold, size 18, on a black band.
    SetCell("A1", title, kWhite);
    SetInteriorColor("A1", "F1", kBlack);
    SetBold("A1", "A1");
    SetFontSize("A1", "A1", 18);
    return true;
}

void WorksheetModel::SetCell(const std::string& cell, const std::string& text, int colour) {
    ForRange(cell, cell, [&](ModelCell& c) {
        c.text = text;
        c.written = true;
        c.fontColour = colour;
    });
}

void WorksheetModel::SetHeaderBand(const std::string& first, const std::string& last, const std::string& text) {
    SetCell(first, text, kWhite);
    SetInteriorColor(first, last, kGrey);
    SetBold(first, first);
}

void WorksheetModel::SetFontSize(const std::string& first, const std::string& last, int size) {
    ForRange(first, last, [&](ModelCell& c) { c.fontSize = size; });
}

void WorksheetModel::SetInteriorColor(const std::string& first, const std::string& last, int colour) {
    ForRange(first, last, [&](ModelCell& c) { c.interiorColour = colour; });
}

void WorksheetModel::SetFontColor(const std::string& first, const std::string& last, int colour) {
    ForRange(first, last, [&](ModelCell& c) { c.fontColour = colour; });
}

void WorksheetModel::SetBold(const std::string& first, const std::string& last) {
    ForRange(first, last, [&](ModelCell& c) { c.bold = true; });
}

void WorksheetModel::SetUnderline(const std::string& first, const std::string& last) {
    ForRange(first, last, [&](ModelCell& c) { c.underline = kSingleUnderline; });
}

void WorksheetModel::SetColumnWidth(const std::string& cell, const std::string& width) {
    int row = 0, column = 0;
    if (ParseCellName(cell, row, column))
        columns_[column].width = width;
}

void WorksheetModel::SetColumnAlignment(const std::string& cell, int alignment) {
    int row = 0, column = 0;
    if (ParseCellName(cell, row, column))
        columns_[column].alignment = alignment;
}

void WorksheetModel::ShowToUser() {
    visible = true;
    userControl = true;
}

ModelCell WorksheetModel::At(const std::string& cell) const {
    int row = 0, column = 0;
    if (!ParseCellName(cell, row, column))
        return ModelCell();
    const auto found = cells_.find({row, column});
    return found != cells_.end() ? found->second : ModelCell();
}

ModelColumn WorksheetModel::Column(char column) const {
    const auto found = columns_.find(column - 'A' + 1);
    return found != columns_.end() ? found->second : ModelColumn();
}

std::vector<std::string> WorksheetModel::WrittenCells() const {
    std::vector<std::string> lines;
    for (const auto& [position, cell] : cells_) {
        if (!cell.written)
            continue;
        std::string name;
        for (int column = position.second; column > 0; column = (column - 1) / 26)
            name.insert(name.begin(), static_cast<char>('A' + (column - 1) % 26));
        lines.push_back(name + std::to_string(position.first) + "\t" + cell.text);
    }
    return lines;
}

}  // namespace report
