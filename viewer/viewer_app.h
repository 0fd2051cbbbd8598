// histview's application object: language, settings, then the viewer dialog.
#pragma once

#include "app.h"
#include "registry_key.h"

namespace viewer {

class ViewerApp : public winapp::App {
public:
    int Run() override;

    // Reads the monitor's language setting into the language index and sets the thread locale and
    // the language of the program's texts from it.
    void ChooseLanguage();

private:
    winapp::RegistryKey languageKey_;
};

}  // namespace viewer
