#include "allowance_dialog.h"

#include "language.h"
#include "last_error.h"
#include "resource.h"
#include "resources.h"

namespace viewer {

const winapp::MessageMap<AllowanceDialog> AllowanceDialog::kMessages = {
    winapp::OnCommand(IDC_ALLOWANCE_ON, &AllowanceDialog::OnSwitch),
};

AllowanceDialog::AllowanceDialog(winapp::Prompts& prompts, AllowanceStore& store, const Allowance& current)
    : Dialog(IDD_ALLOWANCE), prompts_(prompts), store_(store), allowance_(current) {}

bool AllowanceDialog::OnInitDialog() {
    // German writes the decimal comma; either sign is read.
    const char sign = history::LanguageIndex() == 0 ? ',' : '.';
    SetItemText(IDC_ALLOWANCE_GB, allowance_.gigabytes > 0 ? AllowanceText(allowance_.gigabytes, sign) : "");
    CheckDlgButton(hwnd(), IDC_ALLOWANCE_ON, allowance_.on ? BST_CHECKED : BST_UNCHECKED);
    CheckRadioButton(hwnd(), IDC_ALLOWANCE_BOTH, IDC_ALLOWANCE_DOWNLOAD,
                     allowance_.counts == AllowanceCounts::kDownloadOnly ? IDC_ALLOWANCE_DOWNLOAD : IDC_ALLOWANCE_BOTH);
    EnableFields();
    return true;
}

void AllowanceDialog::OnSwitch() {
    EnableFields();
}

void AllowanceDialog::EnableFields() {
    const BOOL on = IsDlgButtonChecked(hwnd(), IDC_ALLOWANCE_ON) == BST_CHECKED;
    for (int id : {IDC_ALLOWANCE_GB, IDC_ALLOWANCE_BOTH, IDC_ALLOWANCE_DOWNLOAD})
        EnableWindow(Item(id), on);
}

void AllowanceDialog::Tell(int id, unsigned long error) {
    prompts_.ShowMessage(hwnd(), winapp::WithErrorText(winapp::LoadText(id), error), winapp::LoadText(IDS_WARNING),
                         MB_OK | (error != 0 ? MB_ICONSTOP : MB_ICONEXCLAMATION));
}

void AllowanceDialog::OnOK() {
    Allowance typed;
    typed.on = IsDlgButtonChecked(hwnd(), IDC_ALLOWANCE_ON) == BST_CHECKED;
    typed.counts = IsDlgButtonChecked(hwnd(), IDC_ALLOWANCE_DOWNLOAD) == BST_CHECKED
                       ? AllowanceCounts::kDownloadOnly
                       : AllowanceCounts::kDownloadAndUpload;
    double gigabytes = 0;
    const AllowanceInput input = ParseAllowanceGigabytes(ItemText(IDC_ALLOWANCE_GB), gigabytes);
    if (typed.on && input != AllowanceInput::kAccepted) {
        Tell(input == AllowanceInput::kNotANumber ? IDS_ALLOWANCE_NOT_A_NUMBER : IDS_ALLOWANCE_OUT_OF_RANGE);
        SetFocus(Item(IDC_ALLOWANCE_GB));
        SendMessageA(Item(IDC_ALLOWANCE_GB), EM_SETSEL, 0, -1);
        return;
    }
    // Switched off, a text that is no allowance leaves the stored number as it was.
    typed.gigabytes = input == AllowanceInput::kAccepted ? gigabytes : 0;
    const unsigned long error = store_.Save(typed);
    if (error != 0) {
        Tell(IDS_ALLOWANCE_NOT_SAVED, error);
        return;
    }
    if (typed.gigabytes == 0)
        typed.gigabytes = allowance_.gigabytes;
    allowance_ = typed;
    EndDialog(IDOK);
}

}  // namespace viewer
