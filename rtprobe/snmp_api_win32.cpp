// The platform's SNMP manager (mgmtapi.dll) and utilities (snmpapi.dll), and its file functions.
#include "snmp_api.h"

namespace rtprobe {
namespace {

FileHandle CreateWalkFile(const char* name) {
    return CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_FLAG_WRITE_THROUGH, nullptr);
}

bool IsValidWalkFile(FileHandle file) {
    return file != INVALID_HANDLE_VALUE;
}

bool WriteWalkFile(FileHandle file, const void* data, DWORD size) {
    DWORD written = 0;
    return ::WriteFile(file, data, size, &written, nullptr) != 0 && written == size;
}

bool CloseWalkFile(FileHandle file) {
    return CloseHandle(file) != 0;
}

DWORD LastSystemError() {
    return GetLastError();
}

const SnmpApi kPlatform = {
    SnmpMgrOpen,         SnmpMgrClose,   SnmpMgrRequest,  SnmpMgrStrToOid, SnmpMgrOidToStr,     SnmpUtilMemReAlloc,
    SnmpUtilMemFree,     SnmpUtilOidCpy, SnmpUtilOidFree, SnmpUtilOidNCmp, SnmpUtilVarBindFree, SnmpUtilVarBindListFree,
    SnmpUtilPrintAsnAny, CreateWalkFile, IsValidWalkFile, WriteWalkFile,   CloseWalkFile,       LastSystemError,
};

}  // namespace

const SnmpApi& PlatformSnmpApi() {
    return kPlatform;
}

}  // namespace rtprobe
