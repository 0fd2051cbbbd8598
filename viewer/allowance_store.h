// Where the viewer keeps the data allowance: per user, in the companions' own registry key, never
// in the monitor's key or settings file.
#pragma once

#include "allowance.h"

namespace viewer {

// HKEY_CURRENT_USER\...: "Allowance" (GB as text, with a point), "AllowanceCounts" (0 download and
// upload, 1 download only), "AllowanceOn" (1 or 0).
constexpr const char* kCompanionsKey = "Software\\Verdanix\\LumetraPro Companions\\histview";

class AllowanceStore {
public:
    virtual ~AllowanceStore() = default;
    // What is stored; off where nothing usable is.
    virtual Allowance Load() = 0;
    // Keeps the allowance; a number that is no allowance (an off one whose text was not one) leaves
    // the stored number as it was. The system's error of the write that failed, or 0.
    virtual unsigned long Save(const Allowance& allowance) = 0;
};

class RegistryAllowanceStore : public AllowanceStore {
public:
    Allowance Load() override;
    unsigned long Save(const Allowance& allowance) override;
};

// The registry's store, for the program.
AllowanceStore& RegistryAllowances();

}  // namespace viewer
