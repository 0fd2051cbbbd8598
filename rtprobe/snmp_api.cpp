#include "snmp_api.h"

namespace rtprobe {
namespace {
const SnmpApi* g_api = nullptr;
}

const SnmpApi& CurrentSnmpApi() {
    return g_api != nullptr ? *g_api : PlatformSnmpApi();
}

void SetSnmpApi(const SnmpApi* api) {
    g_api = api;
}

}  // namespace rtprobe
