// Automation objects of our own that play the spreadsheet application's object model: Application,
// Workbooks, Workbook, Worksheets, Worksheet, Range, Font and Interior, answering the members the
// report calls. They write down every call and count every reference; a world can be told to refuse
// a given call, and can apply what it is told to a worksheet model.
#pragma once

#include <windows.h>

#include <oaidl.h>

#include <memory>
#include <string>
#include <vector>

#include "worksheet_model.h"

namespace report::fake {

struct Call {
    std::string object;  // the kind of object called, e.g. "Range(A1,F1)"
    DISPID member;
    WORD kind;
    std::vector<std::string> arguments;  // "BSTR:A1", "I2:1", "BOOL:-1", ...; put values last
    std::string Text() const {
        std::string text = object + "." + std::to_string(member) + "/" + std::to_string(kind) + "(";
        for (std::size_t i = 0; i < arguments.size(); ++i)
            text += (i != 0 ? "," : "") + arguments[i];
        return text + ")";
    }
};

class Object;

class World {
public:
    ~World();

    Object* Make(const std::string& kind, const std::string& first = "", const std::string& last = "");
    std::vector<Call> calls;
    int refuseCall = -1;              // the index of the call to refuse
    std::wstring refusalDescription;  // empty: refused without a description
    WorksheetModel* sheet = nullptr;  // where the calls take effect, if anywhere
    std::string sheetFile;            // written when the application is made visible
    int overReleases = 0;

    // References still held on objects, over all objects.
    long OutstandingReferences() const;

private:
    friend class Object;
    std::vector<std::unique_ptr<Object>> objects_;
};

inline std::string Narrow(const wchar_t* text) {
    if (text == nullptr)
        return std::string();
    const int length = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(length > 0 ? length - 1 : 0), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, narrow.data(), length, nullptr, nullptr);
    return narrow;
}

inline std::string Describe(const VARIANT& value) {
    switch (value.vt) {
        case VT_BSTR:
            return "BSTR:" + Narrow(value.bstrVal);
        case VT_I2:
            return "I2:" + std::to_string(value.iVal);
        case VT_BOOL:
            return "BOOL:" + std::to_string(value.boolVal);
        default:
            return "VT" + std::to_string(value.vt);
    }
}

inline std::string TextOf(const VARIANT& value) {
    return value.vt == VT_BSTR ? Narrow(value.bstrVal) : std::to_string(value.vt == VT_I2 ? value.iVal : 0);
}

// An object is never freed before its world: a release too many is counted, not a crash.
class Object : public IDispatch {
public:
    Object(World& world, std::string kind, std::string first, std::string last)
        : world_(world), kind_(std::move(kind)), first_(std::move(first)), last_(std::move(last)) {}
    virtual ~Object() = default;

    long references() const { return references_; }
    const std::string& kind() const { return kind_; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IDispatch)) {
            *object = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++references_); }
    ULONG STDMETHODCALLTYPE Release() override {
        if (references_ == 0) {
            ++world_.overReleases;
            return 0;
        }
        return static_cast<ULONG>(--references_);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }

    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID, LCID, WORD kind, DISPPARAMS* parameters, VARIANT* result,
                                     EXCEPINFO* exception, UINT*) override {
        Call call{Name(), member, kind, {}};
        std::vector<VARIANT> arguments;  // first to last
        for (UINT i = parameters->cArgs; i > 0; --i)
            arguments.push_back(parameters->rgvarg[i - 1]);
        for (const VARIANT& argument : arguments)
            call.arguments.push_back(Describe(argument));
        if (kind == DISPATCH_PROPERTYPUT &&
            (parameters->cNamedArgs != 1 || parameters->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT))
            call.arguments.push_back("not a named put");
        const int index = static_cast<int>(world_.calls.size());
        world_.calls.push_back(call);
        if (index == world_.refuseCall) {
            if (world_.refusalDescription.empty())
                return E_FAIL;
            if (exception != nullptr) {
                *exception = EXCEPINFO{};
                exception->bstrSource = SysAllocString(L"Stand-in");
                exception->bstrDescription = SysAllocString(world_.refusalDescription.c_str());
                exception->scode = E_FAIL;
            }
            return DISP_E_EXCEPTION;
        }
        Object* made = Answer(member, kind, arguments);
        if (made != nullptr && result != nullptr) {
            made->AddRef();
            VariantInit(result);
            result->vt = VT_DISPATCH;
            result->pdispVal = made;
        }
        return S_OK;
    }

private:
    std::string Name() const { return first_.empty() ? kind_ : kind_ + "(" + first_ + "," + last_ + ")"; }

    // The member's effect and the object it yields, if any.
    Object* Answer(DISPID member, WORD, const std::vector<VARIANT>& arguments) {
        WorksheetModel* sheet = world_.sheet;
        const std::string value = arguments.empty() ? std::string() : TextOf(arguments.back());
        const int number = arguments.empty() || arguments.back().vt != VT_I2 ? 0 : arguments.back().iVal;
        if (kind_ == "Application") {
            if (member == 572)
                return world_.Make("Workbooks");
            if (member == 558 && sheet != nullptr) {
                sheet->visible = true;
                WriteSheet();
            }
            if (member == 1210 && sheet != nullptr)
                sheet->userControl = true;
        } else if (kind_ == "Workbooks" && member == 181) {
            return world_.Make("Workbook");
        } else if (kind_ == "Workbook" && member == 485) {
            return world_.Make("Worksheets");
        } else if (kind_ == "Worksheets" && member == 170) {
            return world_.Make("Worksheet");
        } else if (kind_ == "Worksheet") {
            if (member == 197 && arguments.size() == 2)
                return world_.Make("Range", TextOf(arguments[0]), TextOf(arguments[1]));
            if (member == 110 && sheet != nullptr)
                sheet->sheetName = value;
        } else if (kind_ == "Range" || kind_ == "Column") {
            if (member == 146)
                return world_.Make("Font", first_, last_);
            if (member == 129)
                return world_.Make("Interior", first_, last_);
            if (member == 246)
                return world_.Make("Column", first_, last_);
            if (sheet != nullptr) {
                if (member == 6)
                    sheet->SetCell(first_, value, 0);
                if (member == 242)
                    sheet->SetColumnWidth(first_, value);
                if (member == 136)
                    sheet->SetColumnAlignment(first_, number);
            }
        } else if (kind_ == "Font" && sheet != nullptr) {
            if (member == 97)
                sheet->SetFontColor(first_, last_, number);
            if (member == 96)
                sheet->SetBold(first_, last_);
            if (member == 104)
                sheet->SetFontSize(first_, last_, number);
            if (member == 106)
                sheet->SetUnderline(first_, last_);
        } else if (kind_ == "Interior" && sheet != nullptr && member == 97) {
            sheet->SetInteriorColor(first_, last_, number);
        }
        return nullptr;
    }

    void WriteSheet() {
        if (world_.sheetFile.empty() || world_.sheet == nullptr)
            return;
        HANDLE file = CreateFileA(world_.sheetFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return;
        for (const std::string& line : world_.sheet->WrittenCells()) {
            const std::string withEnd = line + "\n";
            DWORD written = 0;
            WriteFile(file, withEnd.data(), static_cast<DWORD>(withEnd.size()), &written, nullptr);
        }
        CloseHandle(file);
    }

    World& world_;
    std::string kind_, first_, last_;
    long references_ = 0;
};

inline Object* World::Make(const std::string& kind, const std::string& first, const std::string& last) {
    objects_.push_back(std::make_unique<Object>(*this, kind, first, last));
    return objects_.back().get();
}

inline long World::OutstandingReferences() const {
    long total = 0;
    for (const auto& object : objects_)
        total += object->references();
    return total;
}

inline World::~World() = default;

}  // namespace report::fake
