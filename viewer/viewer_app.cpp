#include "viewer_app.h"

#include <windows.h>

#include <commctrl.h>
#include <ole2.h>

#include <cstdlib>

#include "app_texts.h"
#include "language.h"
#include "monitor_contract.h"
#include "resources.h"
#include "settings_store.h"
#include "start_up.h"
#include "value_format.h"
#include "viewer_dialog.h"

namespace viewer {

std::optional<int> ViewerApp::InitInstance() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    if (FAILED(OleInitialize(nullptr))) {
        MessageBoxA(nullptr, "Could not initialize COM services", Title().c_str(), MB_OK);
        return 1;
    }

    ChooseLanguage();
    history::SetAppTextLoader(&winapp::LoadText);
    history::SetCurrentSettings(history::LoadMonitorSettings());

    {
        ViewerDialog dialog(__argv != nullptr && __argv[0] != nullptr ? __argv[0] : "");
        setMainWindow(&dialog);
        dialog.DoModal(nullptr);
        setMainWindow(nullptr);
    }
    languageKey_.CloseKey();
    OleUninitialize();
    return 0;
}

void ViewerApp::ChooseLanguage() {
    if (languageKey_.OpenKey(HKEY_LOCAL_MACHINE, monitor::kLanguageKey)) {
        std::string text;
        languageKey_.ReadStringValue(monitor::kLanguageValue, text);
        history::SetLanguageIndex(history::DecimalPrefix(text));
    }
    const unsigned locale = LocaleOfLanguage(history::LanguageIndex());
    if (locale != 0)
        SetThreadLocale(MAKELCID(locale, SORT_DEFAULT));
    winapp::SetResourceLanguage(static_cast<LANGID>(ResourceLanguageOfLocale(GetThreadLocale())));
}

}  // namespace viewer
