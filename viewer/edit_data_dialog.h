// The dialog that corrects a day's upload and download, in megabytes. It exists in German only
// and serves every language.
#pragma once

#include <string>

#include "prompts.h"
#include "record_targets.h"
#include "resource.h"
#include "resources.h"
#include "window.h"

namespace viewer {

class EditDataDialog : public winapp::Dialog {
public:
    explicit EditDataDialog(winapp::Prompts& prompts) : Dialog(IDD_EDIT_DATA), prompts_(prompts) {}

    std::string uploadText;
    std::string downloadText;
    // The confirmed values in bytes, set when the dialog ends with OK.
    double uploadBytes = 0;
    double downloadBytes = 0;

protected:
    bool OnInitDialog() override {
        SetItemText(IDC_UPLOAD, uploadText);
        SetItemText(IDC_DOWNLOAD, downloadText);
        return true;
    }
    // A field that holds no number, or more than a day's traffic can be, keeps the dialog open, with
    // that field selected for typing anew.
    void OnOK() override {
        double upload = 0, download = 0;
        if (!Accept(IDC_UPLOAD, upload) || !Accept(IDC_DOWNLOAD, download))
            return;
        downloadText = ItemText(IDC_DOWNLOAD);
        uploadText = ItemText(IDC_UPLOAD);
        downloadBytes = download;
        uploadBytes = upload;
        EndDialog(IDOK);
    }

private:
    bool Accept(int field, double& bytes) {
        const TypedVolume typed = BytesOfMegabytesText(ItemText(field), bytes);
        if (typed == TypedVolume::kAccepted)
            return true;
        prompts_.ShowMessage(hwnd(),
                             winapp::LoadText(typed == TypedVolume::kTooLarge ? IDS_VALUE_TOO_LARGE : IDS_NOT_A_NUMBER),
                             winapp::LoadText(IDS_WARNING), MB_OK | MB_ICONEXCLAMATION);
        SetFocus(Item(field));
        SendMessageA(Item(field), EM_SETSEL, 0, -1);
        return false;
    }

    winapp::Prompts& prompts_;
};

}  // namespace viewer
