#include "allowance_store.h"

#include <windows.h>

#include <string>

#include "registry_key.h"

namespace viewer {
namespace {

constexpr const char* kGigabytesValue = "Allowance";
constexpr const char* kCountsValue = "AllowanceCounts";
constexpr const char* kOnValue = "AllowanceOn";

}  // namespace

Allowance RegistryAllowanceStore::Load() {
    Allowance allowance;
    winapp::RegistryKey key;
    if (!key.OpenKey(HKEY_CURRENT_USER, kCompanionsKey))
        return allowance;
    std::string text;
    double gigabytes = 0;
    if (key.ReadStringValue(kGigabytesValue, text) &&
        ParseAllowanceGigabytes(text, gigabytes) == AllowanceInput::kAccepted) {
        allowance.gigabytes = gigabytes;
    }
    DWORD value = 0;
    if (key.ReadDwordValue(kCountsValue, value) && value == 1)
        allowance.counts = AllowanceCounts::kDownloadOnly;
    allowance.on = key.ReadDwordValue(kOnValue, value) && value != 0 && allowance.gigabytes > 0;
    return allowance;
}

AllowanceStore& RegistryAllowances() {
    static RegistryAllowanceStore store;
    return store;
}

unsigned long RegistryAllowanceStore::Save(const Allowance& allowance) {
    winapp::RegistryKey key;
    LONG error = key.CreateKey(HKEY_CURRENT_USER, kCompanionsKey);
    if (error == ERROR_SUCCESS && allowance.gigabytes > 0 && allowance.gigabytes <= kLargestAllowanceGigabytes)
        error = key.WriteStringValue(kGigabytesValue, AllowanceText(allowance.gigabytes, '.'));
    if (error == ERROR_SUCCESS)
        error = key.WriteDwordValue(kCountsValue, allowance.counts == AllowanceCounts::kDownloadOnly ? 1 : 0);
    if (error == ERROR_SUCCESS)
        error = key.WriteDwordValue(kOnValue, allowance.on ? 1 : 0);
    return static_cast<unsigned long>(error);
}

}  // namespace viewer
