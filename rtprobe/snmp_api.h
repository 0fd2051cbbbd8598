// The SNMP manager and utility functions and the few file functions the session uses, as one
// table: the platform's own on Windows, a native implementation elsewhere. The session logic
// reaches them only through this table.
#pragma once

#include "snmp_platform.h"

namespace rtprobe {

struct SnmpApi {
    // Manager functions.
    LPSNMP_MGR_SESSION(SNMP_FUNC_TYPE* MgrOpen)(LPSTR agent, LPSTR community, INT timeout, INT retries);
    WINBOOL(SNMP_FUNC_TYPE* MgrClose)(LPSNMP_MGR_SESSION session);
    SNMPAPI(SNMP_FUNC_TYPE* MgrRequest)
    (LPSNMP_MGR_SESSION session, BYTE requestType, SnmpVarBindList* list, AsnInteger* errorStatus,
     AsnInteger* errorIndex);
    WINBOOL(SNMP_FUNC_TYPE* MgrStrToOid)(LPSTR text, AsnObjectIdentifier* oid);
    WINBOOL(SNMP_FUNC_TYPE* MgrOidToStr)(AsnObjectIdentifier* oid, LPSTR* text);
    // Utility functions.
    LPVOID(SNMP_FUNC_TYPE* MemReAlloc)(LPVOID block, UINT bytes);
    void(SNMP_FUNC_TYPE* MemFree)(LPVOID block);
    SNMPAPI(SNMP_FUNC_TYPE* OidCpy)(AsnObjectIdentifier* destination, AsnObjectIdentifier* source);
    void(SNMP_FUNC_TYPE* OidFree)(AsnObjectIdentifier* oid);
    SNMPAPI(SNMP_FUNC_TYPE* OidNCmp)(AsnObjectIdentifier* a, AsnObjectIdentifier* b, UINT count);
    void(SNMP_FUNC_TYPE* VarBindFree)(SnmpVarBind* item);
    void(SNMP_FUNC_TYPE* VarBindListFree)(SnmpVarBindList* list);
    void(SNMP_FUNC_TYPE* PrintAsnAny)(AsnAny* value);
    // Files: created write-only, unshared, emptied, written through; an invalid handle on failure.
    FileHandle (*CreateFile)(const char* name);
    bool (*IsValidFile)(FileHandle file);
    bool (*WriteFile)(FileHandle file, const void* data, DWORD size);
    bool (*CloseFile)(FileHandle file);
    DWORD (*LastError)();
};

// The platform's table.
const SnmpApi& PlatformSnmpApi();

// The table the sessions use: the platform's, unless a test put another one in its place.
const SnmpApi& CurrentSnmpApi();
void SetSnmpApi(const SnmpApi* api);  // nullptr: the platform's again

}  // namespace rtprobe
