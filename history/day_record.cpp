#include "day_record.h"

#include <cstring>

namespace history {
namespace {

std::uint32_t GetU32(const unsigned char* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[3]} << 24;
}

void PutU32(std::uint32_t v, unsigned char* p) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<unsigned char>(v >> (8 * i));
}

double GetDouble(const unsigned char* p) {
    const std::uint64_t bits = std::uint64_t{GetU32(p)} | std::uint64_t{GetU32(p + 4)} << 32;
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

void PutDouble(double value, unsigned char* p) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    PutU32(static_cast<std::uint32_t>(bits), p);
    PutU32(static_cast<std::uint32_t>(bits >> 32), p + 4);
}

}  // namespace

DayRecord DecodeDayRecord(const unsigned char* bytes) {
    DayRecord r;
    r.year = static_cast<std::int32_t>(GetU32(bytes));
    r.month = static_cast<std::int32_t>(GetU32(bytes + 4));
    r.day = static_cast<std::int32_t>(GetU32(bytes + 8));
    r.onlineSeconds = static_cast<std::int32_t>(GetU32(bytes + 12));
    r.downloadBytes = GetDouble(bytes + 16);
    r.uploadBytes = GetDouble(bytes + 24);
    return r;
}

void EncodeDayRecord(const DayRecord& r, unsigned char* bytes) {
    PutU32(static_cast<std::uint32_t>(r.year), bytes);
    PutU32(static_cast<std::uint32_t>(r.month), bytes + 4);
    PutU32(static_cast<std::uint32_t>(r.day), bytes + 8);
    PutU32(static_cast<std::uint32_t>(r.onlineSeconds), bytes + 12);
    PutDouble(r.downloadBytes, bytes + 16);
    PutDouble(r.uploadBytes, bytes + 24);
}

}  // namespace history
