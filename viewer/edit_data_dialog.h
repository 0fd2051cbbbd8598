// The dialog that corrects a day's upload and download, in megabytes. It exists in German only
// and serves every language.
#pragma once

#include <string>

#include "resource.h"
#include "window.h"

namespace viewer {

class EditDataDialog : public winapp::Dialog {
public:
    EditDataDialog() : Dialog(IDD_EDIT_DATA) {}

    std::string uploadText;
    std::string downloadText;

protected:
    bool OnInitDialog() override {
        SetItemText(IDC_UPLOAD, uploadText);
        SetItemText(IDC_DOWNLOAD, downloadText);
        return true;
    }
    void OnOK() override {
        downloadText = ItemText(IDC_DOWNLOAD);
        uploadText = ItemText(IDC_UPLOAD);
        EndDialog(IDOK);
    }
};

}  // namespace viewer
