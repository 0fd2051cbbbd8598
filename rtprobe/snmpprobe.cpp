// A command-line driver of rtprobe that uses it the way the monitor does: CreateSNMP, then the
// object's operations only.
//   snmpprobe get|getnext AGENT COMMUNITY OID...   prints each answer's name and value, and the error text
//   snmpprobe walk AGENT COMMUNITY OID FILE        walks the subtree under OID into FILE
// Object identifiers follow the manager's rules: ".1.3.6.1.2.1.1.1.0" is absolute, "1.1.0" lies below mib-2.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "rtprobe.h"
#include "snmp_session.h"

namespace {

constexpr int kTimeout = 1000;

// The monitor keeps its session for the life of the process and never frees it; so do we.
rtprobe::SnmpSession* g_snmp = nullptr;
constexpr int kRetries = 1;

int Usage() {
    std::fprintf(stderr,
                 "usage: snmpprobe get|getnext AGENT COMMUNITY OID...\n"
                 "       snmpprobe walk AGENT COMMUNITY OID FILE\n"
                 "AGENT is an address, with \":PORT\" where the agent listens elsewhere than on 161.\n");
    return 2;
}

int Query(rtprobe::SnmpSession& snmp, bool next, const std::vector<const char*>& oids) {
    for (const char* oid : oids) {
        if (!snmp.AddOid(oid)) {
            std::fprintf(stderr, "snmpprobe: not an object identifier: %s\n", oid);
            return 2;
        }
    }
    char errorText[64] = "";
    const bool ok = next ? snmp.GetNext(errorText) : snmp.Get(errorText);
    if (!ok && errorText[0] == '\0') {
        std::fprintf(stderr, "snmpprobe: no answer from the agent\n");
        return 1;
    }
    // An SNMP message cannot carry a longer string than this.
    static char text[65536 + 1];
    for (unsigned i = 0; i < oids.size(); ++i) {
        char name[rtprobe::SnmpSession::kOidNameSize] = "";
        snmp.GetOidName(i, name);
        if (snmp.GetString(i, text))
            std::printf("%s = \"%s\"\n", name, text);
        else
            std::printf("%s = %d\n", name, static_cast<int>(snmp.GetInteger(i)));
    }
    if (errorText[0] != '\0')
        std::printf("error: %s\n", errorText);
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 5)
        return Usage();
    const std::string command = argv[1];
    if (command != "get" && command != "getnext" && command != "walk")
        return Usage();
    if (command == "walk" && argc != 6)
        return Usage();

    rtprobe::SnmpSession* snmp = g_snmp = CreateSNMP();
    if (snmp == nullptr) {
        std::fprintf(stderr, "snmpprobe: out of memory\n");
        return 1;
    }
    snmp->SetAgent(argv[2], argv[3], kTimeout, kRetries);
    if (!snmp->Open()) {
        std::fprintf(stderr, "snmpprobe: cannot open a session with %s\n", argv[2]);
        return 1;
    }
    int status = 0;
    if (command == "walk") {
        if (!snmp->AddOid(argv[4])) {
            std::fprintf(stderr, "snmpprobe: not an object identifier: %s\n", argv[4]);
            status = 2;
        } else if (snmp->WalkToFile(argv[5]) == 0) {
            std::fprintf(stderr, "snmpprobe: the walk could not be written to %s\n", argv[5]);
            status = 1;
        }
    } else {
        status = Query(*snmp, command == "getnext", std::vector<const char*>(argv + 4, argv + argc));
    }
    snmp->Close();
    return status;
}
