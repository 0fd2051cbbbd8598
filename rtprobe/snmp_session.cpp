#include "snmp_session.h"

#include <cstdio>
#include <cstring>

#include "snmp_api.h"

namespace rtprobe {
namespace {

const SnmpApi& Api() {
    return CurrentSnmpApi();
}

// SNMPv2's historic NsapAddress, which the Windows headers leave unnamed.
constexpr BYTE kAsnNsapAddress = 0x45;

// Copies a text into fixed storage, cut to fit; a missing text counts as empty.
template <std::size_t Size>
void CopyCut(char (&storage)[Size], const char* text) {
    std::snprintf(storage, Size, "%s", text != nullptr ? text : "");
}

// The value's first 32 bits, as the monitor reads every value that is not a string.
std::int32_t First32Bits(const AsnAny& value) {
    std::int32_t bits = 0;
    std::memcpy(&bits, &value.asnValue, sizeof bits);
    return bits;
}

// Whether `a` comes after `b` in the agent's order of names.
bool IsAfter(const AsnObjectIdentifier& a, const AsnObjectIdentifier& b) {
    for (UINT i = 0; i < a.idLength && i < b.idLength; ++i) {
        if (a.ids[i] != b.ids[i])
            return a.ids[i] > b.ids[i];
    }
    return a.idLength > b.idLength;
}

// The platform's text of an identifier, freed once copied into `buffer` ("(null)" without one).
template <std::size_t Size>
void OidText(AsnObjectIdentifier& oid, char (&buffer)[Size]) {
    LPSTR text = nullptr;
    Api().MgrOidToStr(&oid, &text);
    std::snprintf(buffer, Size, "%s", text != nullptr ? text : "(null)");
    if (text != nullptr)
        Api().MemFree(text);
}

// The walk's text of a value: an octet string's bytes (cut to the buffer), numbers in decimal
// (the unsigned kinds unsigned), identifiers and addresses in their dotted forms.
template <std::size_t Size>
void ValueText(const AsnAny& value, char (&text)[Size]) {
    text[0] = '\0';
    switch (value.asnType) {
        case ASN_OCTETSTRING: {
            const std::size_t length =
                value.asnValue.string.length < Size - 1 ? value.asnValue.string.length : Size - 1;
            if (length != 0)
                std::memcpy(text, value.asnValue.string.stream, length);
            text[length] = '\0';
            break;
        }
        case ASN_COUNTER32:
        case ASN_GAUGE32:
        case ASN_TIMETICKS:
        case ASN_UINTEGER32:
            std::snprintf(text, Size, "%u", static_cast<unsigned>(value.asnValue.unsigned32));
            break;
        case ASN_COUNTER64: {
            std::uint64_t number = 0;
            std::memcpy(&number, &value.asnValue.counter64, sizeof number);
            std::snprintf(text, Size, "%llu", static_cast<unsigned long long>(number));
            break;
        }
        case ASN_OBJECTIDENTIFIER: {
            std::size_t used = 0;
            for (UINT i = 0; i < value.asnValue.object.idLength && used < Size; ++i) {
                const int written = std::snprintf(text + used, Size - used, ".%u", value.asnValue.object.ids[i]);
                if (written < 0)
                    break;
                used += static_cast<std::size_t>(written);
            }
            break;
        }
        case ASN_IPADDRESS:
        case ASN_OPAQUE:
        case ASN_BITS:
        case kAsnNsapAddress: {
            const bool dotted = value.asnType == ASN_IPADDRESS && value.asnValue.address.length == 4;
            std::size_t used = 0;
            for (UINT i = 0; i < value.asnValue.address.length && used < Size; ++i) {
                const unsigned byte = value.asnValue.address.stream[i];
                const int written = dotted ? std::snprintf(text + used, Size - used, i == 0 ? "%u" : ".%u", byte)
                                           : std::snprintf(text + used, Size - used, i == 0 ? "%02X" : " %02X", byte);
                if (written < 0)
                    break;
                used += static_cast<std::size_t>(written);
            }
            break;
        }
        default:
            std::snprintf(text, Size, "%d", static_cast<int>(First32Bits(value)));
            break;
    }
}

// One line of the walk: formatted into the line buffer and written in one piece. After a failed
// write nothing more is written, and the walk is a failure whatever follows.
class WalkWriter {
public:
    explicit WalkWriter(FileHandle file) : file_(file) {}

    template <typename... Args>
    void Line(const char* format, Args... args) {
        char line[SnmpSession::kLineSize];
        int length = std::snprintf(line, sizeof line, format, args...);
        if (length < 0)
            failed_ = true;
        if (failed_)
            return;
        if (static_cast<std::size_t>(length) >= sizeof line)
            length = static_cast<int>(sizeof line) - 1;
        failed_ = !Api().WriteFile(file_, line, static_cast<DWORD>(length));
    }
    bool failed() const { return failed_; }

private:
    FileHandle file_;
    bool failed_ = false;
};

}  // namespace

const char* ErrorStatusText(AsnInteger status) {
    switch (static_cast<std::uint32_t>(status)) {
        case SNMP_ERRORSTATUS_NOERROR:
            return "";
        case SNMP_ERRORSTATUS_TOOBIG:
            return "SNMP_ERRORSTATUS_TOOBIG";
        case SNMP_ERRORSTATUS_NOSUCHNAME:
            return "SNMP_ERRORSTATUS_NOSUCHNAME";
        case SNMP_ERRORSTATUS_BADVALUE:
            return "SNMP_ERRORSTATUS_BADVALUE";
        case SNMP_ERRORSTATUS_READONLY:
            return "SNMP_ERRORSTATUS_READONLY";
        case SNMP_ERRORSTATUS_GENERR:
            return "SNMP_ERRORSTATUS_GENERR";
        default:
            return "SNMP_UNKNOWNERROR";
    }
}

SnmpSession::SnmpSession() {
    CopyCut(agentAddress, "127.0.0.1");
    CopyCut(community, "netpub");
    oidNames[0] = '\0';
}

void SnmpSession::Reserved() {}

void SnmpSession::SetAgent(const char* newAgentAddress, const char* newCommunity, std::int32_t newTimeout,
                           std::int32_t newRetries) {
    CopyCut(agentAddress, newAgentAddress);
    CopyCut(community, newCommunity);
    timeout = newTimeout;
    retries = newRetries;
}

bool SnmpSession::Open() {
    session = Api().MgrOpen(agentAddress, community, timeout, retries);
    opened = session != nullptr;
    return opened;
}

bool SnmpSession::AddOid(const char* oid) {
    AsnObjectIdentifier converted{0, nullptr};
    if (oid == nullptr || !Api().MgrStrToOid(const_cast<char*>(oid), &converted))
        return false;
    void* grown = Api().MemReAlloc(varBinds.list, static_cast<UINT>((varBinds.len + 1) * sizeof(SnmpVarBind)));
    if (grown == nullptr) {
        Api().OidFree(&converted);
        return false;
    }
    varBinds.list = static_cast<SnmpVarBind*>(grown);
    SnmpVarBind& item = varBinds.list[varBinds.len];
    std::memset(&item, 0, sizeof item);
    item.name = converted;
    item.value.asnType = ASN_NULL;
    ++varBinds.len;
    return true;
}

bool SnmpSession::ClearOids() {
    Api().VarBindListFree(&varBinds);
    varBinds.list = nullptr;
    varBinds.len = 0;
    return true;
}

bool SnmpSession::Request(BYTE requestType, char* errorText) {
    if (!IsOpen())
        return false;
    AsnInteger errorStatus = 0;
    AsnInteger errorIndex = 0;
    if (Api().MgrRequest(session, requestType, &varBinds, &errorStatus, &errorIndex) == 0)
        return false;
    if (errorText != nullptr)
        std::strcpy(errorText, ErrorStatusText(errorStatus));
    return errorStatus == SNMP_ERRORSTATUS_NOERROR;
}

bool SnmpSession::Get(char* errorText) {
    return Request(SNMP_PDU_GET, errorText);
}

bool SnmpSession::GetNext(char* errorText) {
    return Request(SNMP_PDU_GETNEXT, errorText);
}

std::int32_t SnmpSession::GetInteger(std::uint32_t index) {
    if (index >= varBinds.len)
        return 0;
    return First32Bits(varBinds.list[index].value);
}

bool SnmpSession::GetString(std::uint32_t index, char* text) {
    if (index >= varBinds.len || text == nullptr)
        return false;
    const AsnAny& value = varBinds.list[index].value;
    if (value.asnType != ASN_OCTETSTRING || value.asnValue.string.length == 0)
        return false;
    std::memcpy(text, value.asnValue.string.stream, value.asnValue.string.length);
    text[value.asnValue.string.length] = '\0';
    return true;
}

bool SnmpSession::GetOidName(std::uint32_t index, char* text) {
    if (index >= varBinds.len || text == nullptr)
        return false;
    LPSTR name = nullptr;
    Api().MgrOidToStr(&varBinds.list[index].name, &name);
    std::snprintf(text, kOidNameSize, "%s", name != nullptr ? name : "(null)");
    if (name != nullptr)
        Api().MemFree(name);
    return true;
}

// One name per line, each after a line feed. The first name that would not fit ends the text, so
// that its lines stay the first items' names, in order.
char* SnmpSession::GetOidNames() {
    std::size_t used = 0;
    oidNames[0] = '\0';
    bool full = false;
    for (UINT i = 0; i < varBinds.len && !full; ++i) {
        LPSTR name = nullptr;
        Api().MgrOidToStr(&varBinds.list[i].name, &name);
        if (name == nullptr)
            continue;
        const std::size_t length = std::strlen(name);
        full = used + 1 + length >= sizeof oidNames;
        if (!full) {
            oidNames[used] = '\n';
            std::memcpy(oidNames + used + 1, name, length + 1);
            used += 1 + length;
        }
        Api().MemFree(name);
    }
    return oidNames;
}

bool SnmpSession::PrintVarBinds() {
    for (UINT i = 0; i < varBinds.len; ++i) {
        SnmpVarBind& item = varBinds.list[i];
        LPSTR name = nullptr;
        Api().MgrOidToStr(&item.name, &name);
        std::printf("Variable = %s\n", name != nullptr ? name : "(null)");
        if (name != nullptr)
            Api().MemFree(name);
        std::printf("Value    = ");
        std::fflush(stdout);
        Api().PrintAsnAny(&item.value);
        std::printf("Typ= %d", item.value.asnType);
        std::printf("\n");
        switch (item.value.asnType) {
            case ASN_INTEGER:
                std::printf("Wert= %d\n", static_cast<int>(item.value.asnValue.number));
                break;
            case ASN_OCTETSTRING:
                if (item.value.asnValue.string.length != 0) {
                    std::printf("string: %.*s\n", static_cast<int>(item.value.asnValue.string.length),
                                reinterpret_cast<const char*>(item.value.asnValue.string.stream));
                } else {
                    std::printf("empty\n");
                }
                break;
            default:
                std::printf("Default= %d\n", static_cast<int>(First32Bits(item.value)));
                break;
        }
        std::printf("\n");
    }
    std::fflush(stdout);
    return true;
}

bool SnmpSession::Close() {
    if (!IsOpen())
        return false;
    ClearOids();
    const bool closed = Api().MgrClose(session) != 0;
    opened = false;
    return closed;
}

std::int32_t SnmpSession::WalkToFile(const char* fileName) {
    // Nothing to walk from, or nobody to ask: the file is not touched.
    if (varBinds.len == 0 || !opened || fileName == nullptr)
        return 0;
    AsnObjectIdentifier root{0, nullptr};
    Api().OidCpy(&root, &varBinds.list[0].name);
    const FileHandle file = Api().CreateFile(fileName);
    if (!Api().IsValidFile(file)) {
        Api().OidFree(&root);
        ClearOids();
        return 0;
    }
    WalkWriter out(file);
    AsnObjectIdentifier asked{0, nullptr};
    Api().OidCpy(&asked, &root);
    while (!out.failed()) {
        AsnInteger errorStatus = 0;
        AsnInteger errorIndex = 0;
        if (Api().MgrRequest(session, SNMP_PDU_GETNEXT, &varBinds, &errorStatus, &errorIndex) == 0) {
            out.Line("error on SnmpMgrRequest %d\n", static_cast<int>(Api().LastError()));
            break;
        }
        if (errorStatus == SNMP_ERRORSTATUS_NOSUCHNAME) {
            out.Line("End of MIB subtree.\n\n");
            break;
        }
        if (varBinds.len == 0) {
            out.Line("Error: the agent's answer holds no variable \n");
            break;
        }
        SnmpVarBind& item = varBinds.list[0];
        if (Api().OidNCmp(&item.name, &root, root.idLength) != 0) {
            out.Line("End of MIB subtree.\n\n");
            break;
        }
        if (errorStatus > 0) {
            out.Line("Error: errorStatus=%d, errorIndex=%d \n", static_cast<int>(errorStatus),
                     static_cast<int>(errorIndex));
            break;
        }
        // An agent that does not move forward would keep the walk going for ever.
        if (!IsAfter(item.name, asked)) {
            out.Line("Error: the agent's answer does not advance the walk \n");
            break;
        }
        // Name and value are cut where their line would not fit the line buffer with its ending.
        char name[kLineSize - sizeof "Variable = \n" + 1];
        OidText(item.name, name);
        out.Line("Variable = %s\n", name);
        char value[kLineSize - sizeof "Value    = \n\n" + 1];
        ValueText(item.value, value);
        out.Line("Value    = %s\n\n", value);
        // Keep the name for the next request, drop the value.
        AsnObjectIdentifier aside{0, nullptr};
        Api().OidCpy(&aside, &item.name);
        Api().VarBindFree(&item);
        Api().OidCpy(&item.name, &aside);
        item.value.asnType = ASN_NULL;
        Api().OidFree(&asked);
        asked = aside;
    }
    ClearOids();
    Api().OidFree(&asked);
    Api().OidFree(&root);
    // A file that could not be written, flushed or closed holds no walk to rely on.
    const bool closed = Api().CloseFile(file);
    return closed && !out.failed() ? 1 : 0;
}

bool SnmpSession::IsOpen() {
    return opened;
}

}  // namespace rtprobe
