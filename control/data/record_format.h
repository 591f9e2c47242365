// The master file's 16-byte subscriber record and the naming of the line block files. The
// numbers are stored scrambled; writer (the CD builder) and reader (CHrec) share this one
// definition, so the three fixed constants below are the data's and change nowhere else.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "common/ByteOrder.h"

namespace zendari {

inline constexpr std::size_t kRecordSize = 16;
inline constexpr std::int64_t kRecordsPerBlock = 100'000;
inline constexpr std::int64_t kMaxRecords = 11'900'000;  // the last block file is "33_4.dll"
inline constexpr std::int64_t kBlockCount = kMaxRecords / kRecordsPerBlock;

// A detail line is at most this many bytes with its CR LF; a longer one is read cut there.
inline constexpr std::size_t kMaxDetailLine = 1024;

// The fixed offsets the stored line number, suffix and postal code carry.
inline constexpr std::uint16_t kLineBias = 37;
inline constexpr std::uint16_t kSuffixBias = 4721;
inline constexpr std::uint32_t kPostalBias = 58;

// One decoded record. The area code is the telephone area code without its leading 0
// (2 for 02); it is also the per-record scrambling key.
struct SubscriberRecord {
    std::int16_t lot_main = 0;  // 0 = none
    std::int16_t lot_sub = 0;   // 0 = none
    std::uint16_t area = 0;
    std::int16_t exchange = 0;
    std::int16_t line = 0;
    std::int16_t suffix = 0;  // 0 = none
    std::int32_t postal = 0;
    bool operator==(const SubscriberRecord&) const = default;
};

inline std::uint16_t wrap16(std::uint32_t v) noexcept {
    return static_cast<std::uint16_t>(v);
}

inline std::array<std::byte, kRecordSize> encode_record(const SubscriberRecord& r) noexcept {
    std::array<std::byte, kRecordSize> b{};
    const std::uint16_t key = r.area;
    store_le(b.data() + 0, wrap16(static_cast<std::uint16_t>(r.lot_main) + key));
    store_le(b.data() + 2, wrap16(static_cast<std::uint16_t>(r.lot_sub) + key));
    store_le(b.data() + 4, static_cast<std::uint16_t>(~key));
    store_le(b.data() + 6, wrap16(static_cast<std::uint16_t>(r.exchange) + key));
    store_le(b.data() + 8, wrap16(static_cast<std::uint16_t>(r.line) + kLineBias));
    store_le(b.data() + 10, wrap16(static_cast<std::uint16_t>(r.suffix) + kSuffixBias));
    store_le(b.data() + 12, static_cast<std::uint32_t>(r.postal) + kPostalBias);
    return b;
}

inline SubscriberRecord decode_record(std::span<const std::byte, kRecordSize> b) noexcept {
    SubscriberRecord r;
    const auto key = static_cast<std::uint16_t>(~load_u16le(b.data() + 4));
    r.area = key;
    r.lot_main = static_cast<std::int16_t>(wrap16(load_u16le(b.data() + 0) - key));
    r.lot_sub = static_cast<std::int16_t>(wrap16(load_u16le(b.data() + 2) - key));
    r.exchange = static_cast<std::int16_t>(wrap16(load_u16le(b.data() + 6) - key));
    r.line = static_cast<std::int16_t>(wrap16(load_u16le(b.data() + 8) - kLineBias));
    r.suffix = static_cast<std::int16_t>(wrap16(load_u16le(b.data() + 10) - kSuffixBias));
    r.postal = static_cast<std::int32_t>(load_u32le(b.data() + 12) - kPostalBias);
    return r;
}

// Block b (0-based) holds the detail lines of records 100,000 b + 1 ... 100,000 (b + 1).
inline std::int64_t block_of_record(std::int64_t record) noexcept {
    return (record - 1) / kRecordsPerBlock;
}

// "10_1.dll" for block 0, "10_5.dll" for block 4, "11_1.dll" for block 5 ... "33_4.dll".
inline std::string block_file_name(std::int64_t block) {
    return std::to_string(10 + block / 5) + "_" + std::to_string(1 + block % 5) + ".dll";
}

// The table of line offsets the builder writes beside each block file ("10_1.lof").
inline std::string block_offsets_name(std::int64_t block) {
    return std::to_string(10 + block / 5) + "_" + std::to_string(1 + block % 5) + ".lof";
}

}  // namespace zendari
