// The receive side of the native manager, open to tests: an agent's answer into the Windows list.
#pragma once

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

#include "snmp_platform.h"

namespace rtprobe {

// Longest object identifier the manager converts.
constexpr unsigned kMaxOidLength = 128;

bool TakeResponse(const netsnmp_pdu& response, SnmpVarBindList& list, AsnInteger& errorStatus, AsnInteger& errorIndex);

}  // namespace rtprobe
