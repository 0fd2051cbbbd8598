// The library's one export: a new session object, owned by the caller for the life of the process.
#include "rtprobe.h"

#include <new>

#include "snmp_session.h"

extern "C" RTPROBE_EXPORT rtprobe::SnmpSession* CreateSNMP() {
    return new (std::nothrow) rtprobe::SnmpSession();
}

#ifdef _WIN32
#include <windows.h>

// Nothing to set up or tear down.
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
    return TRUE;
}
#endif
