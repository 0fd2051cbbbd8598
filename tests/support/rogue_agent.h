// A small SNMPv1 agent of the tests' own, on 127.0.0.1, that answers however a test tells it to:
// out of order, with errors, with broken packets, or not at all. It speaks just enough BER for that.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace rtprobe::testing {

using Oid = std::vector<std::uint32_t>;

namespace ber {

inline std::string Length(std::size_t length) {
    if (length < 0x80)
        return std::string(1, static_cast<char>(length));
    std::string bytes;
    for (std::size_t rest = length; rest != 0; rest >>= 8)
        bytes.insert(bytes.begin(), static_cast<char>(rest & 0xFF));
    return std::string(1, static_cast<char>(0x80 | bytes.size())) + bytes;
}

inline std::string Tlv(std::uint8_t type, const std::string& content) {
    return std::string(1, static_cast<char>(type)) + Length(content.size()) + content;
}

inline std::string Integer(std::int64_t value, std::uint8_t type = 0x02) {
    std::string bytes;
    do {
        bytes.insert(bytes.begin(), static_cast<char>(value & 0xFF));
        value >>= 8;
    } while (!((value == 0 && !(bytes[0] & 0x80)) || (value == -1 && (bytes[0] & 0x80))));
    return Tlv(type, bytes);
}

inline std::string Unsigned(std::uint32_t value, std::uint8_t type) {
    std::string bytes;
    std::uint64_t rest = value;
    do {
        bytes.insert(bytes.begin(), static_cast<char>(rest & 0xFF));
        rest >>= 8;
    } while (rest != 0);
    if (bytes[0] & 0x80)
        bytes.insert(bytes.begin(), '\0');
    return Tlv(type, bytes);
}

inline std::string OctetString(const std::string& value, std::uint8_t type = 0x04) {
    return Tlv(type, value);
}

inline std::string ObjectId(const Oid& oid) {
    std::string bytes;
    if (oid.size() >= 2) {
        std::vector<std::uint32_t> ids(oid.begin() + 1, oid.end());
        ids[0] += oid[0] * 40;
        for (std::uint32_t id : ids) {
            std::string group(1, static_cast<char>(id & 0x7F));
            for (id >>= 7; id != 0; id >>= 7)
                group.insert(group.begin(), static_cast<char>(0x80 | (id & 0x7F)));
            bytes += group;
        }
    }
    return Tlv(0x06, bytes);
}

inline std::string Null() {
    return Tlv(0x05, "");
}

// Reads one TLV at `pos`; false when the bytes do not hold one.
inline bool Read(const std::string& data, std::size_t& pos, std::uint8_t& type, std::string& content) {
    if (pos + 2 > data.size())
        return false;
    type = static_cast<std::uint8_t>(data[pos++]);
    std::size_t length = static_cast<std::uint8_t>(data[pos++]);
    if (length & 0x80) {
        const std::size_t count = length & 0x7F;
        if (count == 0 || count > 4 || pos + count > data.size())
            return false;
        length = 0;
        for (std::size_t i = 0; i < count; ++i)
            length = (length << 8) | static_cast<std::uint8_t>(data[pos++]);
    }
    if (length > data.size() - pos)
        return false;
    content = data.substr(pos, length);
    pos += length;
    return true;
}

inline std::int64_t IntegerValue(const std::string& content) {
    std::int64_t value = content.empty() || !(content[0] & 0x80) ? 0 : -1;
    for (char c : content)
        value = (value << 8) | static_cast<std::uint8_t>(c);
    return value;
}

inline Oid ObjectIdValue(const std::string& content) {
    Oid oid;
    std::uint32_t id = 0;
    for (char c : content) {
        id = (id << 7) | (static_cast<std::uint8_t>(c) & 0x7F);
        if (!(c & 0x80)) {
            if (oid.empty()) {
                oid.push_back(id / 40);
                oid.push_back(id % 40);
            } else {
                oid.push_back(id);
            }
            id = 0;
        }
    }
    return oid;
}

}  // namespace ber

struct Request {
    std::int64_t id = 0;
    std::uint8_t type = 0;
    std::string community;
    std::vector<Oid> names;
};

// One answer's variable: its name and its value, already encoded.
struct Answer {
    Oid name;
    std::string value = ber::Null();
};

inline std::string Response(std::int64_t id, int status, int index, const std::vector<Answer>& answers,
                            const std::string& community = "netpub") {
    std::string list;
    for (const Answer& answer : answers)
        list += ber::Tlv(0x30, ber::ObjectId(answer.name) + answer.value);
    const std::string pdu =
        ber::Tlv(0xA2, ber::Integer(id) + ber::Integer(status) + ber::Integer(index) + ber::Tlv(0x30, list));
    return ber::Tlv(0x30, ber::Integer(0) + ber::OctetString(community) + pdu);
}

inline bool ParseRequest(const std::string& packet, Request& request) {
    std::size_t pos = 0;
    std::uint8_t type = 0;
    std::string message, field;
    if (!ber::Read(packet, pos, type, message) || type != 0x30)
        return false;
    std::size_t at = 0;
    if (!ber::Read(message, at, type, field) || !ber::Read(message, at, type, request.community))
        return false;
    std::string pdu;
    if (!ber::Read(message, at, request.type, pdu))
        return false;
    std::size_t in = 0;
    std::string id, status, index, list;
    if (!ber::Read(pdu, in, type, id) || !ber::Read(pdu, in, type, status) || !ber::Read(pdu, in, type, index) ||
        !ber::Read(pdu, in, type, list))
        return false;
    request.id = ber::IntegerValue(id);
    std::size_t item = 0;
    std::string binding;
    while (ber::Read(list, item, type, binding)) {
        std::size_t b = 0;
        std::string name;
        if (!ber::Read(binding, b, type, name))
            return false;
        request.names.push_back(ber::ObjectIdValue(name));
    }
    return true;
}

// Answers each request with what the test's function returns; no value means silence.
class RogueAgent {
public:
    using Responder = std::function<std::optional<std::string>(const Request&)>;

    explicit RogueAgent(Responder responder) : responder_(std::move(responder)) {
        socket_ = ::socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = 0;
        ::bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        socklen_t size = sizeof address;
        ::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &size);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { Serve(); });
    }
    ~RogueAgent() {
        stop_ = true;
        thread_.join();
        ::close(socket_);
    }
    RogueAgent(const RogueAgent&) = delete;
    RogueAgent& operator=(const RogueAgent&) = delete;

    std::string address() const { return "127.0.0.1:" + std::to_string(port_); }
    int requests() const { return requests_; }

private:
    void Serve() {
        while (!stop_) {
            pollfd ready{socket_, POLLIN, 0};
            if (::poll(&ready, 1, 20) <= 0)
                continue;
            char buffer[65536];
            sockaddr_in from{};
            socklen_t size = sizeof from;
            const ssize_t got =
                ::recvfrom(socket_, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &size);
            if (got <= 0)
                continue;
            ++requests_;
            Request request;
            if (!ParseRequest(std::string(buffer, static_cast<std::size_t>(got)), request))
                continue;
            const std::optional<std::string> answer = responder_(request);
            if (answer)
                ::sendto(socket_, answer->data(), answer->size(), 0, reinterpret_cast<sockaddr*>(&from), size);
        }
    }

    Responder responder_;
    int socket_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<int> requests_{0};
    std::thread thread_;
};

}  // namespace rtprobe::testing
