// histview's application object: language, settings, then the viewer dialog.
#pragma once

#include "app.h"
#include "registry_key.h"

namespace viewer {

class ViewerApp : public winapp::App {
public:
    // Reads the monitor's language setting into the language index and sets the thread locale and
    // the language of the program's texts from it.
    void ChooseLanguage();

protected:
    // The whole run of the dialog program: it ends when the viewer dialog closes.
    std::optional<int> InitInstance() override;

private:
    winapp::RegistryKey languageKey_;
};

}  // namespace viewer
