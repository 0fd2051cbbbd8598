// The session against an agent of the tests' own that answers as each test needs, and its list,
// readers and walk without one.
#include "snmp_session.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "rogue_agent.h"
#include "snmp_api.h"

namespace rtprobe {
namespace {

using testing::Answer;
using testing::Oid;
using testing::Request;
using testing::Response;
using testing::RogueAgent;
namespace ber = testing::ber;

const Oid kSysDescr = {1, 3, 6, 1, 2, 1, 1, 1, 0};
const Oid kSysName = {1, 3, 6, 1, 2, 1, 1, 5, 0};
constexpr int kTimeout = 200;
constexpr int kRetries = 1;

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

class TempFile {
public:
    TempFile() {
        char name[] = "/tmp/rtprobe-walk-XXXXXX";
        const int fd = mkstemp(name);
        close(fd);
        path_ = name;
        std::remove(name);
    }
    ~TempFile() { std::remove(path_.c_str()); }
    const char* path() const { return path_.c_str(); }

private:
    std::string path_;
};

// A session opened on the given agent.
struct Opened {
    explicit Opened(const RogueAgent& agent) {
        snmp.SetAgent(agent.address().c_str(), "netpub", kTimeout, kRetries);
        EXPECT_TRUE(snmp.Open());
    }
    ~Opened() { snmp.Close(); }
    SnmpSession snmp;
};

TEST(SnmpSessionList, AFreshSessionIsClosedAndEmpty) {
    SnmpSession snmp;
    EXPECT_FALSE(snmp.IsOpen());
    EXPECT_EQ(snmp.varBindList().len, 0u);
    char error[32] = "untouched";
    EXPECT_FALSE(snmp.Get(error));
    EXPECT_FALSE(snmp.GetNext(error));
    EXPECT_STREQ(error, "untouched");
    EXPECT_STREQ(snmp.GetOidNames(), "");
    EXPECT_FALSE(snmp.Close());
    ::testing::internal::CaptureStdout();
    EXPECT_TRUE(snmp.PrintVarBinds());
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
}

TEST(SnmpSessionList, IdentifiersAreAddedOnlyWhenTheyAreIdentifiers) {
    SnmpSession snmp;
    for (const char* bad : {"abc", "", ".", "1..2", "1.2.", ".1.3.x", "1.99999999999"}) {
        EXPECT_FALSE(snmp.AddOid(bad)) << bad;
        EXPECT_EQ(snmp.varBindList().len, 0u) << bad;
    }
    EXPECT_FALSE(snmp.AddOid(nullptr));
    ASSERT_TRUE(snmp.AddOid(".1.3.6.1.2.1.1.1.0"));
    ASSERT_TRUE(snmp.AddOid("1.5.0"));  // below mib-2
    EXPECT_STREQ(snmp.GetOidNames(), "\n.1.3.6.1.2.1.1.1.0\n.1.3.6.1.2.1.1.5.0");
    char name[64] = "";
    EXPECT_TRUE(snmp.GetOidName(1, name));
    EXPECT_STREQ(name, ".1.3.6.1.2.1.1.5.0");
    EXPECT_FALSE(snmp.GetOidName(2, name));
    EXPECT_EQ(snmp.varBindList().list[0].value.asnType, ASN_NULL);

    EXPECT_TRUE(snmp.ClearOids());
    EXPECT_EQ(snmp.varBindList().len, 0u);
    ASSERT_TRUE(snmp.AddOid(".1.3.6.1.2.1.1.3.0"));
    EXPECT_EQ(snmp.varBindList().len, 1u);
    EXPECT_STREQ(snmp.GetOidNames(), "\n.1.3.6.1.2.1.1.3.0");
    snmp.ClearOids();
}

TEST(SnmpSessionList, NamesStopAtTheirLimitWholeAndInStep) {
    SnmpSession snmp;
    std::string name = ".1.3.6.1.4.1.99999";
    while (name.size() < 99)
        name += ".12";  // ten lines of 100 characters fit, and 23 characters are left
    for (int i = 0; i < 20; ++i)
        ASSERT_TRUE(snmp.AddOid(name.c_str()));
    ASSERT_TRUE(snmp.AddOid(".1.3"));  // would still fit, but the lines would no longer be the first items
    const std::string names = snmp.GetOidNames();
    EXPECT_LT(names.size(), SnmpSession::kOidNamesSize);
    const std::size_t lines = (SnmpSession::kOidNamesSize - 1) / (name.size() + 1);
    std::string expected;
    for (std::size_t i = 0; i < lines; ++i)
        expected += "\n" + name;
    EXPECT_EQ(names, expected);
    snmp.ClearOids();
}

// The manager as seen by a test: what Open was given, an allocator that can refuse, and a file
// that can fail.
struct Recorded {
    static inline std::string agent, community;
    static inline int timeout = 0, retries = 0;
    static inline bool refuse = false;
    static inline int writesLeft = -1;  // writes that succeed before the rest fail; -1: all succeed
    static inline int writes = 0;
    static inline bool closeFails = false;
    static bool WriteFile(FileHandle file, const void* data, DWORD size) {
        ++writes;
        if (writesLeft == 0)
            return false;
        if (writesLeft > 0)
            --writesLeft;
        return PlatformSnmpApi().WriteFile(file, data, size);
    }
    static bool CloseFile(FileHandle file) { return PlatformSnmpApi().CloseFile(file) && !closeFails; }
    static LPSNMP_MGR_SESSION SNMP_FUNC_TYPE Open(LPSTR a, LPSTR c, INT t, INT r) {
        agent = a;
        community = c;
        timeout = t;
        retries = r;
        return nullptr;
    }
    static LPVOID SNMP_FUNC_TYPE ReAlloc(LPVOID block, UINT bytes) {
        return refuse ? nullptr : PlatformSnmpApi().MemReAlloc(block, bytes);
    }
};

class WithRecordedManager : public ::testing::Test {
protected:
    void SetUp() override {
        api_ = PlatformSnmpApi();
        api_.MgrOpen = Recorded::Open;
        api_.MemReAlloc = Recorded::ReAlloc;
        api_.WriteFile = Recorded::WriteFile;
        api_.CloseFile = Recorded::CloseFile;
        Recorded::refuse = false;
        Recorded::writesLeft = -1;
        Recorded::writes = 0;
        Recorded::closeFails = false;
        SetSnmpApi(&api_);
    }
    void TearDown() override { SetSnmpApi(nullptr); }
    SnmpApi api_;
};

TEST_F(WithRecordedManager, AgentAndCommunityAreCutToTheirStorage) {
    SnmpSession snmp;
    EXPECT_FALSE(snmp.Open());
    EXPECT_EQ(Recorded::agent, "127.0.0.1");
    EXPECT_EQ(Recorded::community, "netpub");
    EXPECT_EQ(Recorded::timeout, 1000);
    EXPECT_EQ(Recorded::retries, 1);

    snmp.SetAgent(std::string(100, 'a').c_str(), std::string(200, 'c').c_str(), 5, 7);
    EXPECT_FALSE(snmp.Open());
    EXPECT_FALSE(snmp.IsOpen());
    EXPECT_EQ(Recorded::agent, std::string(39, 'a'));
    EXPECT_EQ(Recorded::community, std::string(79, 'c'));
    EXPECT_EQ(Recorded::timeout, 5);
    EXPECT_EQ(Recorded::retries, 7);
}

TEST_F(WithRecordedManager, AFailedAllocationLeavesTheList) {
    SnmpSession snmp;
    ASSERT_TRUE(snmp.AddOid(".1.3.6.1.2.1.1.1.0"));
    Recorded::refuse = true;
    EXPECT_FALSE(snmp.AddOid(".1.3.6.1.2.1.1.5.0"));
    EXPECT_EQ(snmp.varBindList().len, 1u);
    EXPECT_STREQ(snmp.GetOidNames(), "\n.1.3.6.1.2.1.1.1.0");
    Recorded::refuse = false;
    snmp.ClearOids();
}

TEST(SnmpSessionWalk, NothingToWalkLeavesTheFileAlone) {
    TempFile file;
    { std::ofstream(file.path()) << "kept"; }
    SnmpSession snmp;
    EXPECT_EQ(snmp.WalkToFile(file.path()), 0);  // no list, not open
    ASSERT_TRUE(snmp.AddOid(".1.3.6.1.2.1.1"));
    EXPECT_EQ(snmp.WalkToFile(file.path()), 0);  // not open
    EXPECT_EQ(ReadFile(file.path()), "kept");
    snmp.ClearOids();

    RogueAgent agent([](const Request&) { return std::nullopt; });
    Opened opened(agent);
    EXPECT_EQ(opened.snmp.WalkToFile(file.path()), 0);  // open, but no list
    EXPECT_EQ(ReadFile(file.path()), "kept");
    ASSERT_TRUE(opened.snmp.AddOid(".1.3.6.1.2.1.1"));
    EXPECT_EQ(opened.snmp.WalkToFile("/nonexistent-folder/walk.txt"), 0);
    EXPECT_EQ(agent.requests(), 0);
}

// Answers every request with the given status and values in the order asked.
RogueAgent::Responder Answering(int status, std::vector<std::string> values) {
    return [=](const Request& request) -> std::optional<std::string> {
        std::vector<Answer> answers;
        for (std::size_t i = 0; i < request.names.size(); ++i)
            answers.push_back({request.names[i], i < values.size() ? values[i] : ber::Null()});
        return Response(request.id, status, status != 0 ? 1 : 0, answers);
    };
}

TEST(SnmpSessionRequest, ErrorStatusesGiveTheirTexts) {
    const struct {
        int status;
        const char* text;
    } cases[] = {{0, ""},
                 {1, "SNMP_ERRORSTATUS_TOOBIG"},
                 {2, "SNMP_ERRORSTATUS_NOSUCHNAME"},
                 {3, "SNMP_ERRORSTATUS_BADVALUE"},
                 {4, "SNMP_ERRORSTATUS_READONLY"},
                 {5, "SNMP_ERRORSTATUS_GENERR"},
                 {6, "SNMP_UNKNOWNERROR"},
                 {18, "SNMP_UNKNOWNERROR"},
                 {-1, "SNMP_UNKNOWNERROR"}};
    for (const auto& c : cases) {
        RogueAgent agent(Answering(c.status, {ber::Integer(7)}));
        Opened opened(agent);
        ASSERT_TRUE(opened.snmp.AddOid(".1.3.6.1.2.1.1.7.0"));
        char error[32] = "untouched";
        EXPECT_EQ(opened.snmp.Get(error), c.status == 0) << c.status;
        EXPECT_STREQ(error, c.text) << c.status;
        EXPECT_EQ(ErrorStatusText(c.status), std::string(c.text));
    }
}

TEST(SnmpSessionRequest, AnswersAreReadBackByType) {
    RogueAgent agent(Answering(0, {ber::OctetString("router"), ber::Integer(-5), ber::OctetString(""),
                                   ber::Unsigned(4000000000u, 0x41), ber::OctetString(std::string("a\0b", 3))}));
    Opened opened(agent);
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(opened.snmp.AddOid((".1.3.6.1.2.1.1." + std::to_string(i + 1)).c_str()));
    char error[32] = "x";
    ASSERT_TRUE(opened.snmp.Get(error));
    EXPECT_STREQ(error, "");

    char text[16];
    std::memset(text, '#', sizeof text);
    ASSERT_TRUE(opened.snmp.GetString(0, text));
    EXPECT_STREQ(text, "router");
    EXPECT_EQ(text[7], '#');  // exactly the string and its terminator
    EXPECT_EQ(opened.snmp.GetInteger(1), -5);
    EXPECT_EQ(static_cast<std::uint32_t>(opened.snmp.GetInteger(3)), 4000000000u);
    ASSERT_TRUE(opened.snmp.GetString(4, text));
    EXPECT_EQ(std::memcmp(text, "a\0b\0", 4), 0);

    std::memset(text, '#', sizeof text);
    EXPECT_FALSE(opened.snmp.GetString(1, text));  // an integer
    EXPECT_FALSE(opened.snmp.GetString(2, text));  // empty
    EXPECT_FALSE(opened.snmp.GetString(5, text));  // index equal to the count
    EXPECT_EQ(text[0], '#');

    ::testing::internal::CaptureStdout();
    opened.snmp.PrintVarBinds();
    const std::string printed = ::testing::internal::GetCapturedStdout();
    EXPECT_NE(printed.find("Variable = .1.3.6.1.2.1.1.1\nValue    = OCTET STRING - router\nTyp= 4\nstring: router\n\n"),
              std::string::npos)
        << printed;
    EXPECT_NE(printed.find("Typ= 2\nWert= -5\n\n"), std::string::npos);
    EXPECT_NE(printed.find("Typ= 4\nempty\n\n"), std::string::npos);
    EXPECT_NE(printed.find("Typ= 65\nDefault= -294967296\n\n"), std::string::npos);
}

TEST(SnmpSessionRequest, GetNextBringsTheNextNames) {
    RogueAgent agent([](const Request& request) -> std::optional<std::string> {
        Oid next = request.names[0];
        next.push_back(0);
        return Response(request.id, 0, 0, {{next, ber::OctetString("next")}});
    });
    Opened opened(agent);
    ASSERT_TRUE(opened.snmp.AddOid(".1.3.6.1.2.1.1.1"));
    char error[32];
    ASSERT_TRUE(opened.snmp.GetNext(error));
    char name[64];
    ASSERT_TRUE(opened.snmp.GetOidName(0, name));
    EXPECT_STREQ(name, ".1.3.6.1.2.1.1.1.0");
}

TEST(SnmpSessionRequest, ALongNameIsCutToTheNameSize) {
    Oid longName = {1, 3, 6, 1, 4, 1, 99999};
    while (longName.size() < 128)
        longName.push_back(4000000000u);  // some 1,400 characters of text in all
    RogueAgent agent([&](const Request& r) -> std::optional<std::string> {
        return Response(r.id, 0, 0, {{longName, ber::Integer(1)}});
    });
    Opened opened(agent);
    ASSERT_TRUE(opened.snmp.AddOid(".1.3.6.1.4.1.99999"));
    char error[32];
    ASSERT_TRUE(opened.snmp.GetNext(error));
    std::string text;
    for (std::uint32_t id : longName)
        text += "." + std::to_string(id);
    std::vector<char> name(SnmpSession::kOidNameSize);  // on the heap, so that one byte more is seen
    ASSERT_TRUE(opened.snmp.GetOidName(0, name.data()));
    EXPECT_EQ(std::string(name.data()), text.substr(0, SnmpSession::kOidNameSize - 1));
}

TEST(SnmpSessionRequest, NoAnswerLeavesTheTextAndEndsInTime) {
    struct Case {
        const char* what;
        RogueAgent::Responder responder;
    } cases[] = {
        {"silence", [](const Request&) { return std::nullopt; }},
        {"another request's answer",
         [](const Request& r) -> std::optional<std::string> { return Response(r.id + 1, 0, 0, {{r.names[0]}}); }},
        {"a cut packet",
         [](const Request& r) -> std::optional<std::string> {
             const std::string whole = Response(r.id, 0, 0, {{r.names[0], ber::OctetString("value")}});
             return whole.substr(0, whole.size() / 2);
         }},
    };
    for (const Case& c : cases) {
        RogueAgent agent(c.responder);
        Opened opened(agent);
        ASSERT_TRUE(opened.snmp.AddOid(".1.3.6.1.2.1.1.1.0"));
        char error[32] = "untouched";
        const auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(opened.snmp.Get(error)) << c.what;
        const auto took = std::chrono::steady_clock::now() - start;
        EXPECT_STREQ(error, "untouched") << c.what;
        EXPECT_LT(took, std::chrono::milliseconds((kRetries + 1) * kTimeout + 500)) << c.what;
        EXPECT_LE(agent.requests(), kRetries + 1) << c.what;
    }
}

TEST(SnmpSessionRequest, CloseEndsTheSession) {
    RogueAgent agent(Answering(0, {}));
    SnmpSession snmp;
    snmp.SetAgent(agent.address().c_str(), "netpub", kTimeout, kRetries);
    ASSERT_TRUE(snmp.Open());
    ASSERT_TRUE(snmp.AddOid(".1.3.6.1.2.1.1.1.0"));
    EXPECT_TRUE(snmp.Close());
    EXPECT_FALSE(snmp.IsOpen());
    EXPECT_EQ(snmp.varBindList().len, 0u);
    EXPECT_FALSE(snmp.Close());
    char error[32] = "untouched";
    EXPECT_FALSE(snmp.Get(error));
    EXPECT_STREQ(error, "untouched");
}

using Objects = std::vector<std::pair<Oid, std::string>>;

// An agent's view of the given objects (in order): GET and GETNEXT of the first name asked.
RogueAgent::Responder Serving(Objects objects) {
    return [objects](const Request& request) -> std::optional<std::string> {
        for (const auto& object : objects) {
            if (request.type == 0xA0 ? object.first == request.names[0] : object.first > request.names[0])
                return Response(request.id, 0, 0, {{object.first, object.second}});
        }
        return Response(request.id, 2, 1, {{request.names[0]}});
    };
}

// A subtree of three objects under 1.3.6.1.4.1.99999.1 and one object after it.
const RogueAgent::Responder Subtree = Serving({
    {{1, 3, 6, 1, 4, 1, 99999, 1, 1}, ber::OctetString("first")},
    {{1, 3, 6, 1, 4, 1, 99999, 1, 2}, ber::Integer(-2)},
    {{1, 3, 6, 1, 4, 1, 99999, 1, 3}, ber::OctetString(std::string(2000, 'x'))},
    {{1, 3, 6, 1, 4, 1, 99999, 2}, ber::Integer(9)},
});

struct WalkResult {
    std::int32_t result;
    std::string file;
    int requests;
    std::chrono::milliseconds took;
    unsigned listAfter;
};

WalkResult Walk(RogueAgent::Responder responder, const char* root = ".1.3.6.1.4.1.99999.1") {
    RogueAgent agent(std::move(responder));
    Opened opened(agent);
    TempFile file;
    EXPECT_TRUE(opened.snmp.AddOid(root));
    const auto start = std::chrono::steady_clock::now();
    WalkResult result;
    result.result = opened.snmp.WalkToFile(file.path());
    result.took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    result.file = ReadFile(file.path());
    result.requests = agent.requests();
    result.listAfter = opened.snmp.varBindList().len;
    return result;
}

TEST(SnmpSessionWalk, ASubtreeIsWrittenRecordByRecord) {
    const WalkResult walk = Walk(Subtree);
    EXPECT_NE(walk.result, 0);
    EXPECT_EQ(walk.file,
              "Variable = .1.3.6.1.4.1.99999.1.1\nValue    = first\n\n"
              "Variable = .1.3.6.1.4.1.99999.1.2\nValue    = -2\n\n"
              "Variable = .1.3.6.1.4.1.99999.1.3\nValue    = " +
                  std::string(1010, 'x') +
                  "\n\n"
                  "End of MIB subtree.\n\n");
    EXPECT_EQ(walk.requests, 4);
    EXPECT_EQ(walk.listAfter, 0u);
}

TEST_F(WithRecordedManager, AWalkThatCannotBeStoredFails) {
    api_.MgrOpen = PlatformSnmpApi().MgrOpen;
    const struct {
        const char* what;
        int writesLeft;
        bool closeFails;
        int writes;  // three records of two lines and the final line when all goes well
        int requests;
    } cases[] = {
        {"the first line", 0, false, 1, 1},
        {"a line amid the walk", 3, false, 4, 2},  // nothing more is asked or written
        {"the final line", 6, false, 7, 4},
        {"the close (with its flush)", -1, true, 7, 4},
    };
    for (const auto& c : cases) {
        Recorded::writesLeft = c.writesLeft;
        Recorded::closeFails = c.closeFails;
        Recorded::writes = 0;
        const WalkResult walk = Walk(Subtree);
        EXPECT_EQ(walk.result, 0) << c.what;
        EXPECT_EQ(Recorded::writes, c.writes) << c.what;
        EXPECT_EQ(walk.requests, c.requests) << c.what;
        EXPECT_EQ(walk.listAfter, 0u) << c.what;
    }
}

std::string Bytes(const std::string& hex) {
    std::string bytes;
    std::istringstream in(hex);
    for (unsigned byte; in >> std::hex >> byte;)
        bytes += static_cast<char>(byte);
    return bytes;
}

// As the Windows manager hands values over: an Opaque as ASN_OPAQUE with the bytes inside it,
// those that the SNMP library decodes into types of its own too; BITS and NsapAddress under their
// own codes with their bytes. The walk writes such bytes in hex.
TEST(SnmpSessionRequest, ValuesArriveAsTheWindowsManagerGivesThem) {
    const struct {
        const char* what;
        std::uint8_t tag;
        const char* content;  // in hex
        BYTE type;
        const char* walked;  // nullptr: the content
    } cases[] = {
        {"opaque float 10.0", 0x44, "9F 78 04 41 20 00 00", ASN_OPAQUE, nullptr},
        {"opaque double 1.5", 0x44, "9F 79 08 3F F8 00 00 00 00 00 00", ASN_OPAQUE, nullptr},
        {"opaque int64 -123", 0x44, "9F 7A 01 85", ASN_OPAQUE, nullptr},
        {"opaque int64 -129", 0x44, "9F 7A 02 FF 7F", ASN_OPAQUE, nullptr},
        {"opaque uint64 2^32-1", 0x44, "9F 7B 05 00 FF FF FF FF", ASN_OPAQUE, nullptr},
        {"opaque counter64 2^40", 0x44, "9F 76 06 01 00 00 00 00 00", ASN_OPAQUE, nullptr},
        {"plain opaque", 0x44, "6F 70 61 71 75 65", ASN_OPAQUE, nullptr},
        {"BITS", 0x03, "80 40", ASN_BITS, nullptr},
        {"NsapAddress", 0x45, "47 00 05 80", 0x45, nullptr},
        {"Counter64", 0x46, "01 00 00 00 00 00", ASN_COUNTER64, "1099511627776"},
    };
    Objects objects;
    std::string expected;
    for (std::uint32_t i = 0; i < std::size(cases); ++i) {
        const Oid name = {1, 3, 6, 1, 4, 1, 99999, 1, i + 1};
        objects.push_back({name, ber::Tlv(cases[i].tag, Bytes(cases[i].content))});
        expected += "Variable = .1.3.6.1.4.1.99999.1." + std::to_string(i + 1) +
                    "\nValue    = " + (cases[i].walked != nullptr ? cases[i].walked : cases[i].content) + "\n\n";
    }
    const WalkResult walk = Walk(Serving(objects));
    EXPECT_EQ(walk.file, expected + "End of MIB subtree.\n\n");

    RogueAgent agent(Serving(objects));
    Opened opened(agent);
    for (std::uint32_t i = 0; i < std::size(cases); ++i) {
        ASSERT_TRUE(opened.snmp.ClearOids());
        ASSERT_TRUE(opened.snmp.AddOid((".1.3.6.1.4.1.99999.1." + std::to_string(i + 1)).c_str()));
        char error[32];
        ASSERT_TRUE(opened.snmp.Get(error)) << cases[i].what;
        const AsnAny& value = opened.snmp.varBindList().list[0].value;
        EXPECT_EQ(value.asnType, cases[i].type) << cases[i].what;
        if (cases[i].walked == nullptr) {
            EXPECT_EQ(
                std::string(reinterpret_cast<const char*>(value.asnValue.string.stream), value.asnValue.string.length),
                Bytes(cases[i].content))
                << cases[i].what;
        }
    }
}

TEST(SnmpSessionWalk, ALeafRootEndsAtOnce) {
    const WalkResult walk = Walk(Subtree, ".1.3.6.1.4.1.99999.1.2");
    EXPECT_EQ(walk.file, "End of MIB subtree.\n\n");
    EXPECT_EQ(walk.requests, 1);
}

TEST(SnmpSessionWalk, AgentsThatDoNotMoveOnCannotKeepItGoing) {
    const Oid first = {1, 3, 6, 1, 4, 1, 99999, 1, 1};
    const Oid second = {1, 3, 6, 1, 4, 1, 99999, 1, 2};
    struct Case {
        const char* what;
        RogueAgent::Responder responder;
        const char* finalLine;
        int requests;
    } cases[] = {
        {"the same name",
         [](const Request& r) -> std::optional<std::string> {
             return Response(r.id, 0, 0, {{r.names[0], ber::Integer(1)}});
         },
         "Error: the agent's answer does not advance the walk \n", 1},
        {"a smaller name",
         [](const Request& r) -> std::optional<std::string> {
             Oid smaller = r.names[0];
             smaller.push_back(5);
             if (smaller.size() > 9)
                 smaller = {1, 3, 6, 1, 4, 1, 99999, 1, 0, 1};
             return Response(r.id, 0, 0, {{smaller, ber::Integer(1)}});
         },
         "Error: the agent's answer does not advance the walk \n", 2},
        {"names in a circle",
         [first, second](const Request& r) -> std::optional<std::string> {
             return Response(r.id, 0, 0, {{r.names[0] == first ? second : first, ber::Integer(1)}});
         },
         "Error: the agent's answer does not advance the walk \n", 3},
        {"an empty list", [](const Request& r) -> std::optional<std::string> { return Response(r.id, 0, 0, {}); },
         "Error: the agent's answer holds no variable \n", 1},
        {"genErr", [](const Request& r) -> std::optional<std::string> { return Response(r.id, 5, 1, {{r.names[0]}}); },
         "Error: errorStatus=5, errorIndex=1 \n", 1},
        {"tooBig", [first](const Request& r) -> std::optional<std::string> { return Response(r.id, 1, 0, {{first}}); },
         "Error: errorStatus=1, errorIndex=0 \n", 1},
    };
    for (const Case& c : cases) {
        const WalkResult walk = Walk(c.responder);
        ASSERT_GE(walk.file.size(), std::strlen(c.finalLine)) << c.what;
        EXPECT_EQ(walk.file.substr(walk.file.size() - std::strlen(c.finalLine)), c.finalLine) << c.what;
        EXPECT_EQ(walk.requests, c.requests) << c.what;
        EXPECT_EQ(walk.listAfter, 0u) << c.what;
    }
}

TEST(SnmpSessionWalk, NoUsableAnswerEndsWithTheRequestError) {
    const RogueAgent::Responder silent[] = {
        [](const Request&) { return std::nullopt; },
        [](const Request& r) -> std::optional<std::string> { return Response(r.id + 7, 0, 0, {{r.names[0]}}); },
        [](const Request& r) -> std::optional<std::string> {
            return Response(r.id, 0, 0, {{r.names[0]}}).substr(0, 9);
        },
    };
    for (const auto& responder : silent) {
        const WalkResult walk = Walk(responder);
        EXPECT_EQ(walk.file, "error on SnmpMgrRequest 40\n");
        EXPECT_NE(walk.result, 0);
        EXPECT_EQ(walk.requests, kRetries + 1);
        EXPECT_LT(walk.took, std::chrono::milliseconds((kRetries + 1) * kTimeout + 500));
    }
}

}  // namespace
}  // namespace rtprobe
