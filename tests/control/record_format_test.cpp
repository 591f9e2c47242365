// The master file's record scrambling and the block file names.
#include "data/record_format.h"

#include <random>

#include <gtest/gtest.h>

namespace zendari {
namespace {

TEST(RecordFormat, EveryFieldRoundTripsOverItsWholeRange) {
    std::mt19937 rng(1);
    for (std::uint32_t v = 0; v <= 0xFFFF; ++v) {
        SubscriberRecord r;
        const auto s = static_cast<std::int16_t>(static_cast<std::uint16_t>(v));
        r.area = static_cast<std::uint16_t>(rng());
        r.lot_main = s;
        r.lot_sub = static_cast<std::int16_t>(rng());
        r.exchange = static_cast<std::int16_t>(~v);
        r.line = s;
        r.suffix = static_cast<std::int16_t>(v * 7);
        r.postal = static_cast<std::int32_t>(rng());
        ASSERT_EQ(decode_record(encode_record(r)), r) << v;
        r.area = static_cast<std::uint16_t>(v);  // the key itself across its range
        ASSERT_EQ(decode_record(encode_record(r)), r) << v;
    }
    // And any 16 stored bytes decode to a record that encodes back to them.
    for (int i = 0; i < 100000; ++i) {
        std::array<std::byte, kRecordSize> b;
        for (auto& x : b) x = static_cast<std::byte>(rng());
        ASSERT_EQ(encode_record(decode_record(b)), b);
    }
}

TEST(RecordFormat, StoredBytesAreScrambledByTheArea) {
    SubscriberRecord r;
    r.area = 32;
    r.lot_main = 37;
    r.line = 4567;
    r.postal = 100011;
    const auto b = encode_record(r);
    EXPECT_EQ(load_u16le(b.data() + 4), static_cast<std::uint16_t>(~32u));
    EXPECT_EQ(load_u16le(b.data() + 0), 37 + 32);
    EXPECT_EQ(load_u16le(b.data() + 8), 4567 + kLineBias);
    EXPECT_EQ(load_u32le(b.data() + 12), 100011 + kPostalBias);
}

TEST(RecordFormat, BlockNames) {
    EXPECT_EQ(block_file_name(block_of_record(1)), "10_1.dll");
    EXPECT_EQ(block_file_name(block_of_record(100000)), "10_1.dll");
    EXPECT_EQ(block_file_name(block_of_record(100001)), "10_2.dll");
    EXPECT_EQ(block_file_name(block_of_record(500001)), "11_1.dll");
    EXPECT_EQ(block_file_name(block_of_record(11900000)), "33_4.dll");
    EXPECT_EQ(kBlockCount, 119);
}

}  // namespace
}  // namespace zendari
