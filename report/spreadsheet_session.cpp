#include "spreadsheet_session.h"

#include <ole2.h>

#include <vector>

namespace report {
namespace {

// Dispatch identifiers of the members the report calls.
constexpr DISPID kApplicationWorkbooks = 572, kApplicationVisible = 558, kApplicationUserControl = 1210;
constexpr DISPID kWorkbooksAdd = 181, kWorkbookWorksheets = 485, kWorksheetsItem = 170;
constexpr DISPID kWorksheetName = 110, kWorksheetRange = 197;
constexpr DISPID kRangeValue = 6, kRangeFont = 146, kRangeInterior = 129, kRangeEntireColumn = 246,
                 kRangeColumnWidth = 242, kRangeHorizontalAlignment = 136;
constexpr DISPID kFontBold = 96, kFontColorIndex = 97, kFontSize = 104, kFontUnderline = 106;
constexpr DISPID kInteriorColorIndex = 97;

// A variant argument that clears itself once the call that used it is over.
class Argument {
public:
    Argument() { VariantInit(&value_); }
    ~Argument() { VariantClear(&value_); }
    Argument(const Argument&) = delete;
    Argument& operator=(const Argument&) = delete;

    static void Text(Argument& argument, const std::string& text) {
        const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
        std::wstring wide(static_cast<std::size_t>(length), L'\0');
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
        argument.value_.vt = VT_BSTR;
        argument.value_.bstrVal = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    }
    static void Short(Argument& argument, int number) {
        argument.value_.vt = VT_I2;
        argument.value_.iVal = static_cast<SHORT>(number);
    }
    static void Boolean(Argument& argument, bool flag) {
        argument.value_.vt = VT_BOOL;
        argument.value_.boolVal = flag ? VARIANT_TRUE : VARIANT_FALSE;
    }
    VARIANT& get() { return value_; }

private:
    VARIANT value_;
};

// The true value of Bold, made once for the process.
const VARIANT& BoldTrue() {
    static const VARIANT value = [] {
        VARIANT v;
        VariantInit(&v);
        v.vt = VT_I2;
        v.iVal = 1;
        return v;
    }();
    return value;
}

std::string Narrow(BSTR text) {
    if (text == nullptr)
        return std::string();
    const int length = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(length > 0 ? length - 1 : 0), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, narrow.data(), length, nullptr, nullptr);
    return narrow;
}

enum class Kind : WORD { Method = DISPATCH_METHOD, Get = DISPATCH_PROPERTYGET, Put = DISPATCH_PROPERTYPUT };

// One call of a member. Arguments are given first to last. An object result comes back as a
// holder that owns the returned reference; a call on no object does nothing and yields nothing.
DispatchHolder Invoke(IDispatch* target, DISPID member, Kind kind, VARTYPE resultType,
                      std::vector<VARIANT*> arguments) {
    if (target == nullptr)
        return DispatchHolder();
    std::vector<VARIANT> reversed;
    for (auto it = arguments.rbegin(); it != arguments.rend(); ++it)
        reversed.push_back(**it);
    DISPPARAMS parameters{reversed.empty() ? nullptr : reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    DISPID putId = DISPID_PROPERTYPUT;
    if (kind == Kind::Put) {
        parameters.rgdispidNamedArgs = &putId;
        parameters.cNamedArgs = 1;
    }
    VARIANT result;
    VariantInit(&result);
    EXCEPINFO exception{};
    UINT badArgument = 0;
    const HRESULT outcome = target->Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, static_cast<WORD>(kind), &parameters,
                                           resultType == VT_EMPTY ? nullptr : &result, &exception, &badArgument);
    if (FAILED(outcome)) {
        VariantClear(&result);
        if (exception.pfnDeferredFillIn != nullptr)
            exception.pfnDeferredFillIn(&exception);
        const std::string description = outcome == DISP_E_EXCEPTION ? Narrow(exception.bstrDescription) : "";
        SysFreeString(exception.bstrSource);
        SysFreeString(exception.bstrDescription);
        SysFreeString(exception.bstrHelpFile);
        throw AutomationError(description, outcome);
    }
    if (resultType == VT_DISPATCH && result.vt == VT_DISPATCH && result.pdispVal != nullptr)
        return DispatchHolder(result.pdispVal);  // the holder takes over the returned reference
    VariantClear(&result);
    return DispatchHolder();
}

// The members, each one thin typed wrapper.
DispatchHolder ApplicationWorkbooks(IDispatch* application) {
    return Invoke(application, kApplicationWorkbooks, Kind::Get, VT_DISPATCH, {});
}
void ApplicationVisible(IDispatch* application, bool visible) {
    Argument flag;
    Argument::Boolean(flag, visible);
    Invoke(application, kApplicationVisible, Kind::Put, VT_EMPTY, {&flag.get()});
}
void ApplicationUserControl(IDispatch* application, bool control) {
    Argument flag;
    Argument::Boolean(flag, control);
    Invoke(application, kApplicationUserControl, Kind::Put, VT_EMPTY, {&flag.get()});
}
DispatchHolder WorkbooksAdd(IDispatch* workbooks, VARIANT& template_) {
    return Invoke(workbooks, kWorkbooksAdd, Kind::Method, VT_DISPATCH, {&template_});
}
DispatchHolder WorkbookWorksheets(IDispatch* workbook) {
    return Invoke(workbook, kWorkbookWorksheets, Kind::Get, VT_DISPATCH, {});
}
DispatchHolder WorksheetsItem(IDispatch* worksheets, VARIANT& index) {
    return Invoke(worksheets, kWorksheetsItem, Kind::Get, VT_DISPATCH, {&index});
}
void WorksheetName(IDispatch* worksheet, const std::string& name) {
    Argument text;
    Argument::Text(text, name);
    Invoke(worksheet, kWorksheetName, Kind::Put, VT_EMPTY, {&text.get()});
}
DispatchHolder WorksheetRange(IDispatch* worksheet, VARIANT& first, VARIANT& last) {
    return Invoke(worksheet, kWorksheetRange, Kind::Get, VT_DISPATCH, {&first, &last});
}
void RangeValue(IDispatch* range, VARIANT& value) {
    Invoke(range, kRangeValue, Kind::Put, VT_EMPTY, {&value});
}
DispatchHolder RangeFont(IDispatch* range) {
    return Invoke(range, kRangeFont, Kind::Get, VT_DISPATCH, {});
}
DispatchHolder RangeInterior(IDispatch* range) {
    return Invoke(range, kRangeInterior, Kind::Get, VT_DISPATCH, {});
}
DispatchHolder RangeEntireColumn(IDispatch* range) {
    return Invoke(range, kRangeEntireColumn, Kind::Get, VT_DISPATCH, {});
}
void RangeColumnWidth(IDispatch* column, VARIANT& width) {
    Invoke(column, kRangeColumnWidth, Kind::Put, VT_EMPTY, {&width});
}
void RangeHorizontalAlignment(IDispatch* column, VARIANT& alignment) {
    Invoke(column, kRangeHorizontalAlignment, Kind::Put, VT_EMPTY, {&alignment});
}
void FontBold(IDispatch* font, VARIANT& bold) {
    Invoke(font, kFontBold, Kind::Put, VT_EMPTY, {&bold});
}
void FontColorIndex(IDispatch* font, VARIANT& colour) {
    Invoke(font, kFontColorIndex, Kind::Put, VT_EMPTY, {&colour});
}
void FontSize(IDispatch* font, VARIANT& size) {
    Invoke(font, kFontSize, Kind::Put, VT_EMPTY, {&size});
}
void FontUnderline(IDispatch* font, VARIANT& underline) {
    Invoke(font, kFontUnderline, Kind::Put, VT_EMPTY, {&underline});
}
void InteriorColorIndex(IDispatch* interior, VARIANT& colour) {
    Invoke(interior, kInteriorColorIndex, Kind::Put, VT_EMPTY, {&colour});
}

// A returned object goes into its slot: the temporary holder owns it, the slot takes one more
// reference (releasing what it held), and the temporary lets go of its own.
void Store(DispatchHolder& slot, DispatchHolder temporary) {
    slot = temporary;
}

}  // namespace

SpreadsheetSession::SpreadsheetSession(Notice notice, ApplicationFactory factory)
    : notice_(std::move(notice)), factory_(std::move(factory)) {}

SpreadsheetSession::~SpreadsheetSession() {
    interior_.Reset();
    column_.Reset();
    font_.Reset();
    range_.Reset();
    worksheet_.Reset();
    worksheets_.Reset();
    workbook_.Reset();
    workbooks_.Reset();
    application_.Reset();
}

IDispatch* SpreadsheetSession::CreateByProgId() {
    CLSID id;
    if (FAILED(CLSIDFromProgID(L"Excel.Application", &id)))
        return nullptr;
    IUnknown* unknown = nullptr;
    if (FAILED(CoCreateInstance(id, nullptr, CLSCTX_SERVER, IID_IUnknown, reinterpret_cast<void**>(&unknown))))
        return nullptr;
    IDispatch* dispatch = nullptr;
    if (FAILED(OleRun(unknown)) ||
        FAILED(unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)))) {
        dispatch = nullptr;
    }
    unknown->Release();
    return dispatch;
}

bool SpreadsheetSession::StartApplication(const std::string& title) {
    IDispatch* application = factory_ ? factory_() : nullptr;
    if (application == nullptr) {
        if (notice_)
            notice_(kCannotStart);
        return false;
    }
    Store(application_, DispatchHolder(application));
    Store(workbooks_, ApplicationWorkbooks(application_.get()));
    {
        Argument one;
        Argument::Short(one, 1);
        Store(workbook_, WorkbooksAdd(workbooks_.get(), one.get()));
    }
    Store(worksheets_, WorkbookWorksheets(workbook_.get()));
    {
        Argument one;
        Argument::Short(one, 1);
        Store(worksheet_, WorksheetsItem(worksheets_.get(), one.get()));
    }
    WorksheetName(worksheet_.get(), title);
    FormatTitle(title);
    return true;
}

void SpreadsheetSession::FormatTitle(const std::string& title) {
    SetCell("A1", title, kWhite);
    SetInteriorColor("A1", "F1", kBlack);
    SetBold("A1", "A1");
    SetFontSize("A1", "A1", 18);
}

void SpreadsheetSession::SelectRange(const std::string& first, const std::string& last) {
    Argument from, to;
    Argument::Text(from, first);
    Argument::Text(to, last);
    Store(range_, WorksheetRange(worksheet_.get(), from.get(), to.get()));
}

void SpreadsheetSession::SelectFont() {
    Store(font_, RangeFont(range_.get()));
}

void SpreadsheetSession::SetCell(const std::string& cell, const std::string& text, int colour) {
    SelectRange(cell, cell);
    {
        Argument value;
        Argument::Text(value, text);
        RangeValue(range_.get(), value.get());
    }
    SelectFont();
    Argument index;
    Argument::Short(index, colour);
    FontColorIndex(font_.get(), index.get());
}

void SpreadsheetSession::SetHeaderBand(const std::string& first, const std::string& last, const std::string& text) {
    SetCell(first, text, kWhite);
    SetInteriorColor(first, last, kGrey);
    SetBold(first, first);
}

void SpreadsheetSession::SetFontSize(const std::string& first, const std::string& last, int size) {
    SelectRange(first, last);
    SelectFont();
    Argument points;
    Argument::Short(points, size);
    FontSize(font_.get(), points.get());
}

void SpreadsheetSession::SetInteriorColor(const std::string& first, const std::string& last, int colour) {
    SelectRange(first, last);
    Store(interior_, RangeInterior(range_.get()));
    Argument index;
    Argument::Short(index, colour);
    InteriorColorIndex(interior_.get(), index.get());
}

void SpreadsheetSession::SetFontColor(const std::string& first, const std::string& last, int colour) {
    SelectRange(first, last);
    SelectFont();
    Argument index;
    Argument::Short(index, colour);
    FontColorIndex(font_.get(), index.get());
}

void SpreadsheetSession::SetBold(const std::string& first, const std::string& last) {
    SelectRange(first, last);
    SelectFont();
    VARIANT bold = BoldTrue();  // a plain copy of the shared value; nothing to clear
    FontBold(font_.get(), bold);
}

void SpreadsheetSession::SetUnderline(const std::string& first, const std::string& last) {
    SelectRange(first, last);
    SelectFont();
    Argument single;
    Argument::Short(single, kSingleUnderline);
    FontUnderline(font_.get(), single.get());
}

void SpreadsheetSession::SetColumnWidth(const std::string& cell, const std::string& width) {
    SelectRange(cell, cell);
    Store(column_, RangeEntireColumn(range_.get()));
    Argument text;
    Argument::Text(text, width);
    RangeColumnWidth(column_.get(), text.get());
}

void SpreadsheetSession::SetColumnAlignment(const std::string& cell, int alignment) {
    SelectRange(cell, cell);
    Store(column_, RangeEntireColumn(range_.get()));
    Argument value;
    Argument::Short(value, alignment);
    RangeHorizontalAlignment(column_.get(), value.get());
}

void SpreadsheetSession::ShowToUser() {
    ApplicationVisible(application_.get(), true);
    ApplicationUserControl(application_.get(), true);
}

}  // namespace report
