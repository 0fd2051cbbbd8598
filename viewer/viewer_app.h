// histview's application object: language, settings, then the viewer dialog.
#pragma once

#include "app.h"
#include "registry_key.h"

namespace viewer {

class ViewerApp : public winapp::App {
public:
    int Run() override;

private:
    // Reads the monitor's language setting and sets the thread locale and the resource language.
    void ChooseLanguage();

    winapp::RegistryKey languageKey_;
};

}  // namespace viewer
