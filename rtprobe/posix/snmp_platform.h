// The subset of the Windows SNMP manager types that the session uses, with the same names and
// members, for the native build. (Naturally aligned: nothing outside this process sees them.)
#pragma once

#include <cstdint>

#define SNMP_FUNC_TYPE

typedef std::uint8_t BYTE;
typedef unsigned int UINT;
typedef int INT;
typedef int WINBOOL;
typedef int SNMPAPI;
typedef char* LPSTR;
typedef void* LPVOID;
typedef std::int32_t LONG;
typedef std::uint32_t ULONG;
typedef std::uint32_t DWORD;
typedef void* LPSNMP_MGR_SESSION;

typedef struct {
    BYTE* stream;
    UINT length;
    WINBOOL dynamic;
} AsnOctetString;

typedef struct {
    UINT idLength;
    UINT* ids;
} AsnObjectIdentifier;

typedef LONG AsnInteger32;
typedef LONG AsnInteger;
typedef ULONG AsnUnsigned32;
typedef std::uint64_t AsnCounter64;
typedef AsnUnsigned32 AsnCounter32;
typedef AsnUnsigned32 AsnGauge32;
typedef AsnUnsigned32 AsnTimeticks;
typedef AsnOctetString AsnBits;
typedef AsnOctetString AsnSequence;
typedef AsnOctetString AsnIPAddress;
typedef AsnOctetString AsnNetworkAddress;
typedef AsnOctetString AsnDisplayString;
typedef AsnOctetString AsnOpaque;

typedef struct {
    BYTE asnType;
    union {
        AsnInteger32 number;
        AsnUnsigned32 unsigned32;
        AsnCounter64 counter64;
        AsnOctetString string;
        AsnBits bits;
        AsnObjectIdentifier object;
        AsnSequence sequence;
        AsnIPAddress address;
        AsnCounter32 counter;
        AsnGauge32 gauge;
        AsnTimeticks ticks;
        AsnOpaque arbitrary;
    } asnValue;
} AsnAny;

typedef AsnObjectIdentifier AsnObjectName;
typedef AsnAny AsnObjectSyntax;

typedef struct {
    AsnObjectName name;
    AsnObjectSyntax value;
} SnmpVarBind;

typedef struct {
    SnmpVarBind* list;
    UINT len;
} SnmpVarBindList;

#ifndef ASN_INTEGER
#define ASN_INTEGER 0x02
#endif
#ifndef ASN_BITS
#define ASN_BITS 0x03
#endif
#ifndef ASN_OCTETSTRING
#define ASN_OCTETSTRING 0x04
#endif
#ifndef ASN_NULL
#define ASN_NULL 0x05
#endif
#ifndef ASN_OBJECTIDENTIFIER
#define ASN_OBJECTIDENTIFIER 0x06
#endif
#ifndef ASN_SEQUENCE
#define ASN_SEQUENCE 0x30
#endif
#ifndef ASN_IPADDRESS
#define ASN_IPADDRESS 0x40
#endif
#ifndef ASN_COUNTER32
#define ASN_COUNTER32 0x41
#endif
#ifndef ASN_GAUGE32
#define ASN_GAUGE32 0x42
#endif
#ifndef ASN_TIMETICKS
#define ASN_TIMETICKS 0x43
#endif
#ifndef ASN_OPAQUE
#define ASN_OPAQUE 0x44
#endif
#ifndef ASN_COUNTER64
#define ASN_COUNTER64 0x46
#endif
#ifndef ASN_UINTEGER32
#define ASN_UINTEGER32 0x47
#endif

#ifndef SNMP_PDU_GET
#define SNMP_PDU_GET 0xA0
#endif
#ifndef SNMP_PDU_GETNEXT
#define SNMP_PDU_GETNEXT 0xA1
#endif
#ifndef SNMP_PDU_RESPONSE
#define SNMP_PDU_RESPONSE 0xA2
#endif

#ifndef SNMP_ERRORSTATUS_NOERROR
#define SNMP_ERRORSTATUS_NOERROR 0
#endif
#ifndef SNMP_ERRORSTATUS_TOOBIG
#define SNMP_ERRORSTATUS_TOOBIG 1
#endif
#ifndef SNMP_ERRORSTATUS_NOSUCHNAME
#define SNMP_ERRORSTATUS_NOSUCHNAME 2
#endif
#ifndef SNMP_ERRORSTATUS_BADVALUE
#define SNMP_ERRORSTATUS_BADVALUE 3
#endif
#ifndef SNMP_ERRORSTATUS_READONLY
#define SNMP_ERRORSTATUS_READONLY 4
#endif
#ifndef SNMP_ERRORSTATUS_GENERR
#define SNMP_ERRORSTATUS_GENERR 5
#endif

// Failures of the manager functions, as the last error. (The native build's SNMP library
// defines some of these names too, with the same values.)
#ifndef SNMP_MGMTAPI_TIMEOUT
#define SNMP_MGMTAPI_TIMEOUT 40
#endif
#ifndef SNMP_MGMTAPI_SELECT_FDERRORS
#define SNMP_MGMTAPI_SELECT_FDERRORS 41
#endif
#ifndef SNMP_MGMTAPI_INVALID_SESSION
#define SNMP_MGMTAPI_INVALID_SESSION 44
#endif
#ifndef SNMP_MGMTAPI_INVALID_BUFFER
#define SNMP_MGMTAPI_INVALID_BUFFER 45
#endif

namespace rtprobe {
using FileHandle = int;
}  // namespace rtprobe
