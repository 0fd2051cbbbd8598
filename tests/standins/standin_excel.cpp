// A stand-in for the spreadsheet application, as an in-process automation server: registered under
// the ProgID "Excel.Application", it answers the members the report calls with the objects of
// fake_automation.h and keeps the sheet in a worksheet model. When the application is made visible
// it writes the sheet's cells, one "CELL<TAB>text" line each, to the file named by the environment
// variable LUMETRA_STANDIN_SHEET.
#include <windows.h>

#include <memory>
#include <vector>

#include "fake_automation.h"
#include "worksheet_model.h"

namespace {

// {6A1F0C2E-3B7D-4E59-9C61-2D4F8B0A7E13}
const CLSID kStandInClass = {0x6a1f0c2e, 0x3b7d, 0x4e59, {0x9c, 0x61, 0x2d, 0x4f, 0x8b, 0x0a, 0x7e, 0x13}};

// Every application made lives, with its objects, until the server is unloaded with the process.
struct Instance {
    report::WorksheetModel sheet;
    report::fake::World world;
};
std::vector<std::unique_ptr<Instance>> g_instances;

class Factory : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IClassFactory)) {
            *object = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID id, void** object) override {
        *object = nullptr;
        if (outer != nullptr)
            return CLASS_E_NOAGGREGATION;
        g_instances.push_back(std::make_unique<Instance>());
        Instance& instance = *g_instances.back();
        instance.world.sheet = &instance.sheet;
        char path[MAX_PATH] = {};
        if (GetEnvironmentVariableA("LUMETRA_STANDIN_SHEET", path, MAX_PATH) > 0)
            instance.world.sheetFile = path;
        return instance.world.Make("Application")->QueryInterface(id, object);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

Factory g_factory;

}  // namespace

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE
    DllGetClassObject(REFCLSID id, REFIID interfaceId, void** object) {
    if (!IsEqualCLSID(id, kStandInClass)) {
        *object = nullptr;
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    return g_factory.QueryInterface(interfaceId, object);
}

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllCanUnloadNow() {
    return S_FALSE;
}
