// The worksheet operations the report uses. The spreadsheet session implements them over the
// spreadsheet application's automation interface; the worksheet model applies them to cells.
// An operation the application refuses throws (see the session); the report does not catch.
#pragma once

#include <string>

namespace report {

// Colour indexes of the application's default palette, and its alignments and underline.
constexpr int kBlack = 1;
constexpr int kWhite = 2;
constexpr int kGrey = 16;
constexpr int kAlignLeft = -4131;
constexpr int kAlignRight = -4152;
constexpr int kSingleUnderline = 2;

class SpreadsheetOperations {
public:
    virtual ~SpreadsheetOperations() = default;

    // Starts the application with a new workbook whose first worksheet is named and titled
    // `title`; false (after telling the user) when it cannot be started.
    virtual bool StartApplication(const std::string& title) = 0;
    virtual void SetCell(const std::string& cell, const std::string& text, int colour) = 0;
    virtual void SetHeaderBand(const std::string& first, const std::string& last, const std::string& text) = 0;
    virtual void SetFontSize(const std::string& first, const std::string& last, int size) = 0;
    virtual void SetInteriorColor(const std::string& first, const std::string& last, int colour) = 0;
    virtual void SetFontColor(const std::string& first, const std::string& last, int colour) = 0;
    virtual void SetBold(const std::string& first, const std::string& last) = 0;
    virtual void SetUnderline(const std::string& first, const std::string& last) = 0;
    virtual void SetColumnWidth(const std::string& cell, const std::string& width) = 0;
    virtual void SetColumnAlignment(const std::string& cell, int alignment) = 0;
    virtual void ShowToUser() = 0;
};

}  // namespace report
