// The native manager's receive side fed with hostile answers: random bytes, and well-formed answers
// with bytes flipped, changed, cut and inserted. Each input goes the way an agent's datagram goes:
// the message header and the PDU are parsed by the SNMP library, and a parsed answer then takes
// the place of a request's list. Run under the sanitizers; a finding fails the run.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "rogue_agent.h"
#include "snmp_api.h"
#include "snmp_api_posix.h"

namespace rtprobe {
namespace {

namespace ber = testing::ber;
using testing::Answer;
using testing::Oid;
using testing::Response;

constexpr int kInputs = 120000;

// Well-formed answers with every kind of value an agent may send.
std::vector<std::string> Seeds() {
    const Oid name = {1, 3, 6, 1, 2, 1, 2, 2, 1, 10, 3};
    std::vector<std::string> seeds;
    seeds.push_back(Response(1, 0, 0, {{name, ber::Integer(-12345)}}));
    seeds.push_back(Response(2, 0, 0, {{name, ber::OctetString("eth0 uplink")}, {name, ber::OctetString("")}}));
    seeds.push_back(Response(3, 2, 1, {{name, ber::Null()}}));
    seeds.push_back(Response(4, 0, 0, {{name, ber::ObjectId({1, 3, 6, 1, 4, 1, 8072, 3, 2, 10})}}));
    seeds.push_back(Response(5, 0, 0,
                             {{name, ber::Unsigned(4000000000u, 0x41)},
                              {name, ber::Unsigned(7, 0x42)},
                              {name, ber::Unsigned(123456, 0x43)},
                              {name, ber::OctetString(std::string("\x7f\0\0\x01", 4), 0x40)}}));
    seeds.push_back(Response(6, 0, 0,
                             {{name, ber::Tlv(0x46, std::string("\x01\x02\x03\x04\x05\x06\x07\x08", 8))},
                              {name, ber::OctetString("opaque", 0x44)}}));
    seeds.push_back(Response(7, 0, 0, {{name, ber::OctetString(std::string(1500, 'v'))}}));
    // Opaques that the library decodes into types of its own, BITS and NsapAddress.
    seeds.push_back(Response(9, 0, 0,
                             {{name, ber::OctetString(std::string("\x9f\x78\x04\x41\x20\x00\x00", 7), 0x44)},
                              {name, ber::OctetString(std::string("\x9f\x79\x08\x3f\xf8\0\0\0\0\0\0", 11), 0x44)},
                              {name, ber::OctetString(std::string("\x9f\x7a\x02\xff\x7f", 5), 0x44)},
                              {name, ber::OctetString(std::string("\x9f\x76\x03\x01\x00\x00", 6), 0x44)},
                              {name, ber::OctetString("\x80\x40", 0x03)},
                              {name, ber::OctetString("\x47\x00\x05", 0x45)}}));
    std::vector<Answer> many;
    for (std::uint32_t i = 0; i < 40; ++i)
        many.push_back({{1, 3, 6, 1, 2, 1, 1, i}, ber::Integer(i)});
    seeds.push_back(Response(8, 0, 0, many));
    return seeds;
}

std::string Mutate(std::string bytes, std::mt19937& random) {
    const int changes = 1 + static_cast<int>(random() % 6);
    for (int i = 0; i < changes && !bytes.empty(); ++i) {
        const std::size_t at = random() % bytes.size();
        switch (random() % 6) {
            case 0:
                bytes[at] = static_cast<char>(bytes[at] ^ (1 << (random() % 8)));
                break;
            case 1:
                bytes[at] = static_cast<char>(random());
                break;
            case 2:
                bytes.resize(at);
                break;
            case 3:
                bytes.insert(at, 1 + random() % 4, static_cast<char>(random()));
                break;
            case 4:  // a length byte that claims more or less
                bytes[at] = static_cast<char>(random() % 2 ? 0x84 : 0x7F);
                break;
            default:
                bytes.erase(at, 1 + random() % 3);
                break;
        }
    }
    return bytes;
}

// Parses as the library parses an arriving datagram; true when an answer came out and was taken.
bool Receive(const std::string& datagram) {
    std::vector<u_char> data(datagram.begin(), datagram.end());
    data.push_back(0);  // never read: lengths bound every read
    size_t length = datagram.size();
    u_char community[256];
    size_t communityLength = sizeof community;
    long version = -1;
    u_char* pduStart = snmp_comstr_parse(data.data(), &length, community, &communityLength, &version);
    if (pduStart == nullptr || version != SNMP_VERSION_1)
        return false;
    netsnmp_pdu* pdu = snmp_pdu_create(0);
    pdu->version = SNMP_VERSION_1;
    const int parsed = snmp_pdu_parse(pdu, pduStart, &length);
    bool taken = false;
    if (parsed == 0 && pdu->command == SNMP_MSG_RESPONSE) {
        // The request's list, as a GETNEXT leaves it: one name with an empty value.
        SnmpVarBindList list{nullptr, 0};
        list.list = static_cast<SnmpVarBind*>(PlatformSnmpApi().MemReAlloc(nullptr, sizeof(SnmpVarBind)));
        list.list[0] = SnmpVarBind{};
        PlatformSnmpApi().MgrStrToOid(const_cast<char*>(".1.3.6.1.2.1.2"), &list.list[0].name);
        list.list[0].value.asnType = ASN_NULL;
        list.len = 1;
        AsnInteger status = 0, index = 0;
        taken = TakeResponse(*pdu, list, status, index);
        // Read everything back as the session would.
        for (UINT i = 0; i < list.len; ++i) {
            LPSTR text = nullptr;
            PlatformSnmpApi().MgrOidToStr(&list.list[i].name, &text);
            PlatformSnmpApi().MemFree(text);
            const AsnAny& value = list.list[i].value;
            if (value.asnType == ASN_OCTETSTRING && value.asnValue.string.length != 0) {
                EXPECT_NE(value.asnValue.string.stream, nullptr);
            }
        }
        PlatformSnmpApi().VarBindListFree(&list);
    }
    snmp_free_pdu(pdu);
    return taken;
}

TEST(ResponseFuzz, HostileAnswersAreReadSafely) {
    // The library must have been started, as opening a session does.
    LPSNMP_MGR_SESSION session =
        PlatformSnmpApi().MgrOpen(const_cast<char*>("127.0.0.1:9"), const_cast<char*>("netpub"), 10, 0);
    const std::vector<std::string> seeds = Seeds();
    for (std::size_t i = 0; i < seeds.size(); ++i)
        EXPECT_TRUE(Receive(seeds[i])) << "seed " << i;
    snmp_disable_log();  // the library reports each broken answer; thousands of them are expected here

    std::mt19937 random(20261209);
    int taken = 0;
    for (int i = 0; i < kInputs; ++i) {
        std::string input;
        if (i % 4 == 0) {
            input.resize(random() % 200);
            for (char& c : input)
                c = static_cast<char>(random());
            if (!input.empty() && random() % 2)
                input[0] = 0x30;
        } else {
            input = Mutate(seeds[random() % seeds.size()], random);
        }
        taken += Receive(input) ? 1 : 0;
    }
    // Most mutations break an answer, but many keep it readable: both paths were taken.
    EXPECT_GT(taken, kInputs / 20);
    EXPECT_LT(taken, kInputs);
    if (session != nullptr)
        PlatformSnmpApi().MgrClose(session);
}

}  // namespace
}  // namespace rtprobe
