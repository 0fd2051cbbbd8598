// The SNMP types and calling convention of the Windows manager interfaces.
#pragma once

#include <windows.h>

#include <mgmtapi.h>
#include <snmp.h>

namespace rtprobe {
using FileHandle = HANDLE;
}  // namespace rtprobe
