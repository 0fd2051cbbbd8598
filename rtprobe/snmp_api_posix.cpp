// The manager and utility functions for the native build: requests over Net-SNMP, the data types
// and memory rules of the Windows functions (every block from malloc, freed by these functions).
#include "snmp_api_posix.h"

#include <fcntl.h>
#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

#include "snmp_api.h"

namespace rtprobe {
namespace {

thread_local DWORD t_lastError = 0;

// Names without a leading point are read below mib-2, as the Windows manager does.
const UINT kMib2[] = {1, 3, 6, 1, 2, 1};

struct ManagerSession {
    void* handle;
};

void StartLibrary() {
    static std::once_flag once;
    std::call_once(once, [] {
        // Numbers only: no configuration files, no MIB files, no persistent state.
        netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_READ_CONFIGS, 1);
        netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_LOAD, 1);
        netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_SAVE, 1);
        netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_QUICK_PRINT, 1);
        // Names are numbers here: no MIB modules are read (unless the caller asks for some).
        setenv("MIBS", "", 0);
        init_snmp("rtprobe");
    });
}

LPVOID SNMP_FUNC_TYPE MemReAlloc(LPVOID block, UINT bytes) {
    return std::realloc(block, bytes != 0 ? bytes : 1);
}

void SNMP_FUNC_TYPE MemFree(LPVOID block) {
    std::free(block);
}

SNMPAPI SNMP_FUNC_TYPE OidCpy(AsnObjectIdentifier* destination, AsnObjectIdentifier* source) {
    destination->idLength = 0;
    destination->ids = nullptr;
    if (source->idLength == 0)
        return 1;
    auto* ids = static_cast<UINT*>(std::malloc(source->idLength * sizeof(UINT)));
    if (ids == nullptr)
        return 0;
    std::memcpy(ids, source->ids, source->idLength * sizeof(UINT));
    destination->ids = ids;
    destination->idLength = source->idLength;
    return 1;
}

void SNMP_FUNC_TYPE OidFree(AsnObjectIdentifier* oid) {
    std::free(oid->ids);
    oid->ids = nullptr;
    oid->idLength = 0;
}

SNMPAPI SNMP_FUNC_TYPE OidNCmp(AsnObjectIdentifier* a, AsnObjectIdentifier* b, UINT count) {
    const UINT lengthA = a->idLength < count ? a->idLength : count;
    const UINT lengthB = b->idLength < count ? b->idLength : count;
    for (UINT i = 0; i < lengthA && i < lengthB; ++i) {
        if (a->ids[i] != b->ids[i])
            return a->ids[i] < b->ids[i] ? -1 : 1;
    }
    return lengthA == lengthB ? 0 : (lengthA < lengthB ? -1 : 1);
}

void AsnAnyFree(AsnAny* value) {
    switch (value->asnType) {
        case ASN_OCTETSTRING:
        case ASN_BITS:
        case ASN_SEQUENCE:
        case ASN_IPADDRESS:
        case ASN_OPAQUE:
        case ASN_NSAP:
            if (value->asnValue.string.dynamic)
                std::free(value->asnValue.string.stream);
            break;
        case ASN_OBJECTIDENTIFIER:
            OidFree(&value->asnValue.object);
            break;
        default:
            break;
    }
    std::memset(&value->asnValue, 0, sizeof value->asnValue);
    value->asnType = ASN_NULL;
}

void SNMP_FUNC_TYPE VarBindFree(SnmpVarBind* item) {
    OidFree(&item->name);
    AsnAnyFree(&item->value);
}

void SNMP_FUNC_TYPE VarBindListFree(SnmpVarBindList* list) {
    for (UINT i = 0; i < list->len; ++i)
        VarBindFree(&list->list[i]);
    std::free(list->list);
    list->list = nullptr;
    list->len = 0;
}

void PrintBytes(const char* kind, const AsnOctetString& bytes) {
    std::printf("%s -", kind);
    for (UINT i = 0; i < bytes.length; ++i)
        std::printf(" %02X", bytes.stream[i]);
    std::printf("\n");
}

void SNMP_FUNC_TYPE PrintAsnAny(AsnAny* value) {
    switch (value->asnType) {
        case ASN_INTEGER:
            std::printf("INTEGER - %d\n", static_cast<int>(value->asnValue.number));
            break;
        case ASN_OCTETSTRING:
            std::printf("OCTET STRING - %.*s\n", static_cast<int>(value->asnValue.string.length),
                        reinterpret_cast<const char*>(value->asnValue.string.stream));
            break;
        case ASN_OBJECTIDENTIFIER: {
            std::printf("OBJECT IDENTIFIER - ");
            for (UINT i = 0; i < value->asnValue.object.idLength; ++i)
                std::printf(".%u", value->asnValue.object.ids[i]);
            std::printf("\n");
            break;
        }
        case ASN_IPADDRESS:
            std::printf("IpAddress - ");
            for (UINT i = 0; i < value->asnValue.address.length; ++i)
                std::printf(i == 0 ? "%u" : ".%u", value->asnValue.address.stream[i]);
            std::printf("\n");
            break;
        case ASN_COUNTER32:
            std::printf("Counter - %u\n", value->asnValue.counter);
            break;
        case ASN_GAUGE32:
            std::printf("Gauge - %u\n", value->asnValue.gauge);
            break;
        case ASN_TIMETICKS:
            std::printf("TimeTicks - %u\n", value->asnValue.ticks);
            break;
        case ASN_UINTEGER32:
            std::printf("UInteger32 - %u\n", value->asnValue.unsigned32);
            break;
        case ASN_COUNTER64:
            std::printf("Counter64 - %llu\n", static_cast<unsigned long long>(value->asnValue.counter64));
            break;
        case ASN_OPAQUE:
            PrintBytes("Opaque", value->asnValue.arbitrary);
            break;
        case ASN_BITS:
            PrintBytes("BITS", value->asnValue.bits);
            break;
        case ASN_NSAP:
            PrintBytes("NsapAddress", value->asnValue.string);
            break;
        case ASN_NULL:
            std::printf("NULL - NULL\n");
            break;
        default:
            std::printf("Invalid Type\n");
            break;
    }
    std::fflush(stdout);
}

WINBOOL SNMP_FUNC_TYPE MgrStrToOid(LPSTR text, AsnObjectIdentifier* oid) {
    oid->idLength = 0;
    oid->ids = nullptr;
    if (text == nullptr)
        return 0;
    std::string numbers;
    const char* p = text;
    const bool absolute = *p == '.';
    if (absolute)
        ++p;
    UINT parsed[kMaxOidLength];
    UINT count = 0;
    if (!absolute) {
        for (UINT id : kMib2)
            parsed[count++] = id;
    }
    if (*p == '\0')
        return 0;
    while (*p != '\0') {
        if (*p < '0' || *p > '9' || count == kMaxOidLength)
            return 0;
        unsigned long long value = 0;
        while (*p >= '0' && *p <= '9') {
            value = value * 10 + static_cast<unsigned>(*p - '0');
            if (value > 0xFFFFFFFFull)
                return 0;
            ++p;
        }
        parsed[count++] = static_cast<UINT>(value);
        if (*p == '.') {
            ++p;
            if (*p == '\0')
                return 0;
        } else if (*p != '\0') {
            return 0;
        }
    }
    auto* ids = static_cast<UINT*>(std::malloc(count * sizeof(UINT)));
    if (ids == nullptr)
        return 0;
    std::memcpy(ids, parsed, count * sizeof(UINT));
    oid->ids = ids;
    oid->idLength = count;
    return 1;
}

WINBOOL SNMP_FUNC_TYPE MgrOidToStr(AsnObjectIdentifier* oid, LPSTR* text) {
    std::string out;
    char number[16];
    for (UINT i = 0; i < oid->idLength; ++i) {
        std::snprintf(number, sizeof number, ".%u", oid->ids[i]);
        out += number;
    }
    auto* copy = static_cast<char*>(std::malloc(out.size() + 1));
    if (copy == nullptr)
        return 0;
    std::memcpy(copy, out.c_str(), out.size() + 1);
    *text = copy;
    return 1;
}

LPSNMP_MGR_SESSION SNMP_FUNC_TYPE MgrOpen(LPSTR agent, LPSTR community, INT timeout, INT retries) {
    if (agent == nullptr || community == nullptr)
        return nullptr;
    StartLibrary();
    netsnmp_session settings;
    snmp_sess_init(&settings);
    settings.version = SNMP_VERSION_1;
    settings.peername = agent;
    settings.community = reinterpret_cast<u_char*>(community);
    settings.community_len = std::strlen(community);
    settings.timeout = static_cast<long>(timeout > 0 ? timeout : 0) * 1000L;
    settings.retries = retries > 0 ? retries : 0;
    void* handle = snmp_sess_open(&settings);
    if (handle == nullptr) {
        t_lastError = SNMP_MGMTAPI_SELECT_FDERRORS;
        return nullptr;
    }
    return new ManagerSession{handle};
}

WINBOOL SNMP_FUNC_TYPE MgrClose(LPSNMP_MGR_SESSION session) {
    auto* manager = static_cast<ManagerSession*>(session);
    if (manager == nullptr)
        return 0;
    const int closed = snmp_sess_close(manager->handle);
    delete manager;
    return closed != 0 ? 1 : 0;
}

SNMPAPI SNMP_FUNC_TYPE MgrRequest(LPSNMP_MGR_SESSION session, BYTE requestType, SnmpVarBindList* list,
                                  AsnInteger* errorStatus, AsnInteger* errorIndex) {
    auto* manager = static_cast<ManagerSession*>(session);
    if (manager == nullptr || list == nullptr) {
        t_lastError = SNMP_MGMTAPI_INVALID_SESSION;
        return 0;
    }
    netsnmp_pdu* request = snmp_pdu_create(requestType == SNMP_PDU_GET ? SNMP_MSG_GET : SNMP_MSG_GETNEXT);
    for (UINT i = 0; i < list->len; ++i) {
        const AsnObjectIdentifier& name = list->list[i].name;
        oid ids[MAX_OID_LEN];
        if (name.idLength > MAX_OID_LEN) {
            snmp_free_pdu(request);
            t_lastError = SNMP_MGMTAPI_INVALID_BUFFER;
            return 0;
        }
        for (UINT k = 0; k < name.idLength; ++k)
            ids[k] = name.ids[k];
        snmp_add_null_var(request, ids, name.idLength);
    }
    netsnmp_pdu* response = nullptr;
    const int status = snmp_sess_synch_response(manager->handle, request, &response);
    if (status != STAT_SUCCESS || response == nullptr) {
        if (response != nullptr)
            snmp_free_pdu(response);
        t_lastError = status == STAT_TIMEOUT ? SNMP_MGMTAPI_TIMEOUT : SNMP_MGMTAPI_SELECT_FDERRORS;
        return 0;
    }
    const bool taken = TakeResponse(*response, *list, *errorStatus, *errorIndex);
    snmp_free_pdu(response);
    if (!taken) {
        t_lastError = SNMP_MGMTAPI_INVALID_BUFFER;
        return 0;
    }
    return 1;
}

// The Windows walk writes each line through to the disk. Here the lines are flushed to the disk
// together when the file is closed: a finished walk is just as safely stored, and the walk's pace
// stays the agent's rather than the disk's (one synchronous write per line costs more than the
// whole exchange with the agent).
FileHandle CreateWalkFile(const char* name) {
    const int file = ::open(name, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (file < 0)
        t_lastError = static_cast<DWORD>(errno);
    return file;
}

bool IsValidWalkFile(FileHandle file) {
    return file >= 0;
}

bool WriteWalkFile(FileHandle file, const void* data, DWORD size) {
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t written = ::write(file, bytes, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            t_lastError = static_cast<DWORD>(errno);
            return false;
        }
        bytes += written;
        size -= static_cast<DWORD>(written);
    }
    return true;
}

bool CloseWalkFile(FileHandle file) {
    const bool stored = ::fdatasync(file) == 0;
    return ::close(file) == 0 && stored;
}

DWORD LastError() {
    return t_lastError;
}

const SnmpApi kPlatform = {
    MgrOpen,     MgrClose,       MgrRequest,      MgrStrToOid,   MgrOidToStr,   MemReAlloc,
    MemFree,     OidCpy,         OidFree,         OidNCmp,       VarBindFree,   VarBindListFree,
    PrintAsnAny, CreateWalkFile, IsValidWalkFile, WriteWalkFile, CloseWalkFile, LastError,
};

// Bytes of the answer as a string-held value of the given type; false when memory runs out.
bool TakeBytes(BYTE type, const void* data, std::size_t length, AsnAny& value) {
    auto* bytes = static_cast<BYTE*>(std::malloc(length != 0 ? length : 1));
    if (bytes == nullptr)
        return false;
    if (length != 0)
        std::memcpy(bytes, data, length);
    value.asnType = type;
    value.asnValue.string.stream = bytes;
    value.asnValue.string.length = static_cast<UINT>(length);
    value.asnValue.string.dynamic = 1;
    return true;
}

std::uint64_t Value64(const netsnmp_variable_list& variable) {
    if (variable.val.counter64 == nullptr)
        return 0;
    return (static_cast<std::uint64_t>(variable.val.counter64->high & 0xFFFFFFFFu) << 32) |
           (variable.val.counter64->low & 0xFFFFFFFFu);
}

// The SNMP library decodes an Opaque that wraps a float, a double or a 64-bit number into a type
// of its own. The Windows manager hands every Opaque over as ASN_OPAQUE with the bytes inside it,
// so those bytes are made again: the wrapped value's tag (9F 7x), its length and its content, in
// the shortest form (as Net-SNMP's own agent sends them).
std::string WrappedOpaque(const netsnmp_variable_list& variable) {
    std::string content;
    switch (variable.type) {
        case ASN_OPAQUE_FLOAT:
        case ASN_OPAQUE_DOUBLE: {
            const bool single = variable.type == ASN_OPAQUE_FLOAT;
            std::uint64_t bits = 0;
            if (single && variable.val.floatVal != nullptr) {
                std::uint32_t word = 0;
                std::memcpy(&word, variable.val.floatVal, sizeof word);
                bits = word;
            } else if (!single && variable.val.doubleVal != nullptr) {
                std::memcpy(&bits, variable.val.doubleVal, sizeof bits);
            }
            for (int byte = single ? 3 : 7; byte >= 0; --byte)
                content += static_cast<char>((bits >> (8 * byte)) & 0xFF);
            break;
        }
        case ASN_OPAQUE_I64:
        case ASN_OPAQUE_U64:
        case ASN_OPAQUE_COUNTER64: {
            const std::uint64_t number = Value64(variable);
            const bool isSigned = variable.type == ASN_OPAQUE_I64;
            for (int byte = 7; byte >= 0; --byte)
                content += static_cast<char>((number >> (8 * byte)) & 0xFF);
            // Leading bytes that only repeat the sign go; an unsigned number keeps a zero byte
            // before a set top bit, as BER integers do.
            const char fill = isSigned && (number >> 63) != 0 ? '\xFF' : '\0';
            while (content.size() > 1 && content[0] == fill && ((content[1] & 0x80) != 0) == (fill != '\0'))
                content.erase(0, 1);
            if (!isSigned && (content[0] & 0x80) != 0)
                content.insert(content.begin(), '\0');
            break;
        }
        default:
            return content;
    }
    return std::string{static_cast<char>(ASN_OPAQUE_TAG1), static_cast<char>(variable.type),
                       static_cast<char>(content.size())} +
           content;
}

// A value of the answer in the Windows form; false when memory runs out.
bool TakeValue(const netsnmp_variable_list& variable, AsnAny& value) {
    std::memset(&value, 0, sizeof value);
    value.asnType = ASN_NULL;
    switch (variable.type) {
        case ASN_INTEGER:
            value.asnType = ASN_INTEGER;
            value.asnValue.number =
                variable.val.integer != nullptr ? static_cast<AsnInteger32>(*variable.val.integer) : 0;
            return true;
        case ASN_COUNTER:
        case ASN_GAUGE:
        case ASN_TIMETICKS:
        case ASN_UINTEGER:
            value.asnType = variable.type;
            value.asnValue.unsigned32 =
                variable.val.integer != nullptr ? static_cast<AsnUnsigned32>(*variable.val.integer) : 0;
            return true;
        case ASN_COUNTER64:
            value.asnType = ASN_COUNTER64;
            value.asnValue.counter64 = Value64(variable);
            return true;
        case ASN_OCTET_STR:
        case ASN_BIT_STR:
        case ASN_IPADDRESS:
        case ASN_OPAQUE:
        case ASN_NSAP: {
            // Each under its own type code, which is the same in both worlds.
            const std::size_t length = variable.val.string != nullptr ? variable.val_len : 0;
            return TakeBytes(variable.type, variable.val.string, length, value);
        }
        case ASN_OPAQUE_FLOAT:
        case ASN_OPAQUE_DOUBLE:
        case ASN_OPAQUE_I64:
        case ASN_OPAQUE_U64:
        case ASN_OPAQUE_COUNTER64: {
            const std::string wrapped = WrappedOpaque(variable);
            return TakeBytes(ASN_OPAQUE, wrapped.data(), wrapped.size(), value);
        }
        case ASN_OBJECT_ID: {
            const std::size_t count = variable.val.objid != nullptr ? variable.val_len / sizeof(oid) : 0;
            auto* ids = static_cast<UINT*>(std::malloc(count != 0 ? count * sizeof(UINT) : 1));
            if (ids == nullptr)
                return false;
            for (std::size_t k = 0; k < count; ++k)
                ids[k] = static_cast<UINT>(variable.val.objid[k]);
            value.asnType = ASN_OBJECTIDENTIFIER;
            value.asnValue.object.ids = ids;
            value.asnValue.object.idLength = static_cast<UINT>(count);
            return true;
        }
        default:
            // NULL and everything an SNMPv1 agent should not send: no value.
            return true;
    }
}

}  // namespace

// The answer takes the list's place: its names (new ones after GETNEXT) and values, and its
// error status and index. The old list is freed only once the new one is complete.
bool TakeResponse(const netsnmp_pdu& response, SnmpVarBindList& list, AsnInteger& errorStatus, AsnInteger& errorIndex) {
    UINT count = 0;
    for (const netsnmp_variable_list* v = response.variables; v != nullptr; v = v->next_variable)
        ++count;
    SnmpVarBindList answer{nullptr, 0};
    if (count != 0) {
        answer.list = static_cast<SnmpVarBind*>(std::calloc(count, sizeof(SnmpVarBind)));
        if (answer.list == nullptr)
            return false;
    }
    for (const netsnmp_variable_list* v = response.variables; v != nullptr; v = v->next_variable) {
        SnmpVarBind& item = answer.list[answer.len];
        item.value.asnType = ASN_NULL;
        const std::size_t length = v->name != nullptr ? v->name_length : 0;
        item.name.ids = static_cast<UINT*>(std::malloc(length != 0 ? length * sizeof(UINT) : 1));
        if (item.name.ids == nullptr) {
            VarBindListFree(&answer);
            return false;
        }
        for (std::size_t k = 0; k < length; ++k)
            item.name.ids[k] = static_cast<UINT>(v->name[k]);
        item.name.idLength = static_cast<UINT>(length);
        ++answer.len;
        if (!TakeValue(*v, item.value)) {
            VarBindListFree(&answer);
            return false;
        }
    }
    VarBindListFree(&list);
    list = answer;
    errorStatus = static_cast<AsnInteger>(response.errstat);
    errorIndex = static_cast<AsnInteger>(response.errindex);
    return true;
}

const SnmpApi& PlatformSnmpApi() {
    return kPlatform;
}

}  // namespace rtprobe
