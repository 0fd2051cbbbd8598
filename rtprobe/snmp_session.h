// The router query session: one SNMP manager session, a list of object identifiers with their
// answers, and a subtree walk into a text file. The main program reaches it through its table of
// virtual operations, whose order is the contract: never reorder, insert or remove one, and never
// add a destructor to the table.
#pragma once

#include <cstdint>

#include "snmp_platform.h"

namespace rtprobe {

class SnmpSession {
public:
    SnmpSession();

    virtual void Reserved();
    virtual void SetAgent(const char* agentAddress, const char* community, std::int32_t timeout, std::int32_t retries);
    virtual bool Open();
    virtual bool AddOid(const char* oid);
    virtual bool ClearOids();
    virtual bool Get(char* errorText);
    virtual bool GetNext(char* errorText);
    virtual std::int32_t GetInteger(std::uint32_t index);
    virtual bool GetString(std::uint32_t index, char* text);
    // Writes at most kOidNameSize bytes: a longer name is cut to kOidNameSize - 1 characters.
    virtual bool GetOidName(std::uint32_t index, char* text);
    virtual char* GetOidNames();
    virtual bool PrintVarBinds();
    virtual bool Close();
    virtual std::int32_t WalkToFile(const char* fileName);
    virtual bool IsOpen();

    static constexpr std::size_t kAgentAddressSize = 40;
    static constexpr std::size_t kCommunitySize = 80;
    static constexpr std::size_t kLineSize = 1024;
    static constexpr std::size_t kOidNameSize = 1024;
    static constexpr std::size_t kOidNamesSize = 1024;

    // The list as it stands, for readers of the answers.
    const SnmpVarBindList& varBindList() const { return varBinds; }

private:
    bool Request(BYTE requestType, char* errorText);

    LPSNMP_MGR_SESSION session = nullptr;
    char agentAddress[kAgentAddressSize];
    char community[kCommunitySize];
    std::int32_t timeout = 1000;
    std::int32_t retries = 1;
    SnmpVarBindList varBinds{nullptr, 0};
    bool opened = false;
    // Behind the fields the main program knows of: the text that GetOidNames returns.
    char oidNames[kOidNamesSize];
};

// The text of an agent's error status, as Get and GetNext write it ("" for no error).
const char* ErrorStatusText(AsnInteger status);

}  // namespace rtprobe
