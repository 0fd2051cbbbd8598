// The About box: the program's icon, its version, and an OK button.
#pragma once

#include "resource.h"
#include "window.h"

namespace viewer {

class AboutDialog : public winapp::Dialog {
public:
    AboutDialog() : Dialog(IDD_ABOUTBOX) {}
};

}  // namespace viewer
