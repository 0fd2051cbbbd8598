// The spreadsheet application driven through its automation interface: the objects one report
// needs, held in slots, and the worksheet operations the report uses, each a short chain of calls
// to the application's members by dispatch identifier.
#pragma once

#include <windows.h>

#include <oaidl.h>

#include <functional>
#include <stdexcept>
#include <string>

#include "spreadsheet_operations.h"

namespace report {

// An error the application raised inside a call, with its own description where it gave one.
class AutomationError : public std::runtime_error {
public:
    AutomationError(const std::string& description, HRESULT result)
        : std::runtime_error(description), result_(result), hasDescription_(!description.empty()) {}
    HRESULT result() const { return result_; }
    bool hasDescription() const { return hasDescription_; }

private:
    HRESULT result_;
    bool hasDescription_;
};

// One reference to an automation object, released when the holder lets go of it.
class DispatchHolder {
public:
    DispatchHolder() = default;
    explicit DispatchHolder(IDispatch* owned) : object_(owned) {}  // takes over a reference
    DispatchHolder(const DispatchHolder& other) : object_(other.object_) {
        if (object_ != nullptr)
            object_->AddRef();
    }
    DispatchHolder& operator=(const DispatchHolder& other) {
        if (other.object_ != nullptr)
            other.object_->AddRef();
        Reset();
        object_ = other.object_;
        return *this;
    }
    ~DispatchHolder() { Reset(); }
    void Reset() {
        if (object_ != nullptr)
            object_->Release();
        object_ = nullptr;
    }
    IDispatch* get() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }

private:
    IDispatch* object_ = nullptr;
};

class SpreadsheetSession : public SpreadsheetOperations {
public:
    // Makes the application object and gives its dispatch interface as a new reference, or null.
    using ApplicationFactory = std::function<IDispatch*()>;
    // Shows a message to the user (only OK).
    using Notice = std::function<void(const std::string&)>;

    explicit SpreadsheetSession(Notice notice, ApplicationFactory factory = CreateByProgId);
    ~SpreadsheetSession() override;
    SpreadsheetSession(const SpreadsheetSession&) = delete;
    SpreadsheetSession& operator=(const SpreadsheetSession&) = delete;

    bool StartApplication(const std::string& title) override;
    void FormatTitle(const std::string& title);
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

    // "Excel.Application": its class, an object of it in any server context, running.
    static IDispatch* CreateByProgId();

    static constexpr const char kCannotStart[] = "Unable to start Excel.\n";

private:
    // worksheet.Range(first, last) into the range slot.
    void SelectRange(const std::string& first, const std::string& last);
    void SelectFont();

    Notice notice_;
    ApplicationFactory factory_;
    // The slots, in this order; released in the reverse order.
    DispatchHolder application_;
    DispatchHolder workbooks_;
    DispatchHolder workbook_;
    DispatchHolder worksheets_;
    DispatchHolder worksheet_;
    DispatchHolder range_;
    DispatchHolder font_;
    DispatchHolder column_;
    DispatchHolder interior_;
};

}  // namespace report
