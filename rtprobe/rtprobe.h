// The export of rtprobe. The object it returns is used through its table of virtual operations
// (see snmp_session.h); it is never freed.
#pragma once

#ifdef _WIN32
#define RTPROBE_EXPORT __declspec(dllexport)
#else
#define RTPROBE_EXPORT __attribute__((visibility("default")))
#endif

namespace rtprobe {
class SnmpSession;
}

extern "C" RTPROBE_EXPORT rtprobe::SnmpSession* CreateSNMP();
