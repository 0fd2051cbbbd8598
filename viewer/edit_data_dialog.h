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
    // Set when the dialog ends with OK: which fields hold another text than they opened with, and
    // the values of those in bytes. A field left as it was is no new value.
    bool uploadChanged = false;
    bool downloadChanged = false;
    double uploadBytes = 0;
    double downloadBytes = 0;

protected:
    bool OnInitDialog() override {
        SetItemText(IDC_UPLOAD, uploadText);
        SetItemText(IDC_DOWNLOAD, downloadText);
        return true;
    }
    // A changed field that holds no number, or more than a day's traffic can be, keeps the dialog
    // open, with that field selected for typing anew.
    void OnOK() override {
        const std::string upload = ItemText(IDC_UPLOAD), download = ItemText(IDC_DOWNLOAD);
        const bool uploadChanges = upload != uploadText, downloadChanges = download != downloadText;
        double uploadValue = 0, downloadValue = 0;
        if ((uploadChanges && !Accept(IDC_UPLOAD, uploadValue)) ||
            (downloadChanges && !Accept(IDC_DOWNLOAD, downloadValue)))
            return;
        uploadChanged = uploadChanges;
        downloadChanged = downloadChanges;
        downloadText = download;
        uploadText = upload;
        downloadBytes = downloadValue;
        uploadBytes = uploadValue;
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
