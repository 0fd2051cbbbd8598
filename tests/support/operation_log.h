// Operations passed on to another sheet and written down as text, one line per operation, for
// tests that hold the report's order of operations.
#pragma once

#include <string>
#include <vector>

#include "spreadsheet_operations.h"

namespace report {

class OperationLog : public SpreadsheetOperations {
public:
    explicit OperationLog(SpreadsheetOperations& target) : target_(target) {}

    bool StartApplication(const std::string& title) override {
        Note("StartApplication", {title});
        return target_.StartApplication(title);
    }
    void SetCell(const std::string& cell, const std::string& text, int colour) override {
        Note("SetCell", {cell, text, std::to_string(colour)});
        target_.SetCell(cell, text, colour);
    }
    void SetHeaderBand(const std::string& first, const std::string& last, const std::string& text) override {
        Note("SetHeaderBand", {first, last, text});
        target_.SetHeaderBand(first, last, text);
    }
    void SetFontSize(const std::string& first, const std::string& last, int size) override {
        Note("SetFontSize", {first, last, std::to_string(size)});
        target_.SetFontSize(first, last, size);
    }
    void SetInteriorColor(const std::string& first, const std::string& last, int colour) override {
        Note("SetInteriorColor", {first, last, std::to_string(colour)});
        target_.SetInteriorColor(first, last, colour);
    }
    void SetFontColor(const std::string& first, const std::string& last, int colour) override {
        Note("SetFontColor", {first, last, std::to_string(colour)});
        target_.SetFontColor(first, last, colour);
    }
    void SetBold(const std::string& first, const std::string& last) override {
        Note("SetBold", {first, last});
        target_.SetBold(first, last);
    }
    void SetUnderline(const std::string& first, const std::string& last) override {
        Note("SetUnderline", {first, last});
        target_.SetUnderline(first, last);
    }
    void SetColumnWidth(const std::string& cell, const std::string& width) override {
        Note("SetColumnWidth", {cell, width});
        target_.SetColumnWidth(cell, width);
    }
    void SetColumnAlignment(const std::string& cell, int alignment) override {
        Note("SetColumnAlignment", {cell, std::to_string(alignment)});
        target_.SetColumnAlignment(cell, alignment);
    }
    void ShowToUser() override {
        Note("ShowToUser", {});
        target_.ShowToUser();
    }

    std::vector<std::string> lines;

private:
    void Note(const std::string& name, const std::vector<std::string>& values) {
        std::string line = name + "(";
        for (std::size_t i = 0; i < values.size(); ++i)
            line += (i != 0 ? "|" : "") + values[i];
        lines.push_back(line + ")");
    }

    SpreadsheetOperations& target_;
};

}  // namespace report
