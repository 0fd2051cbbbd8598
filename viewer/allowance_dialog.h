// "Kontingent…" / "Allowance…" of the chart: the allowance per accounting month in GB, what counts
// against it, and whether it is watched at all. What is confirmed is stored at once.
#pragma once

#include "allowance.h"
#include "allowance_store.h"
#include "message_map.h"
#include "prompts.h"
#include "window.h"

namespace viewer {

class AllowanceDialog : public winapp::Dialog {
public:
    AllowanceDialog(winapp::Prompts& prompts, AllowanceStore& store, const Allowance& current);

    // The allowance stored, once the dialog has ended with OK.
    const Allowance& allowance() const { return allowance_; }

protected:
    const winapp::MessageTable* Messages() const override { return &kMessages; }
    bool OnInitDialog() override;
    // A text that is no allowance keeps the dialog open with nothing stored; so does a failed write.
    void OnOK() override;

private:
    static const winapp::MessageMap<AllowanceDialog> kMessages;

    void OnSwitch();
    // The fields follow the switch.
    void EnableFields();
    void Tell(int id, unsigned long error = 0);

    winapp::Prompts& prompts_;
    AllowanceStore& store_;
    Allowance allowance_;
};

}  // namespace viewer
