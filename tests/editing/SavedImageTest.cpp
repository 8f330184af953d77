// The fingerprints kept of the file as last read or written.
#include "AirFileReader.h"
#include "RecordDictionary.h"
#include "RecordEdits.h"
#include "ByteHash.h"
#include "SavedImage.h"

#include "AirFileBuilder.h"

#include <gtest/gtest.h>

namespace kelvara {
namespace {

using test::AirFileBuilder;
using test::Concat;
using test::Le16;

std::vector<uint8_t> Vec(std::span<const uint8_t> bytes) {
    return {bytes.begin(), bytes.end()};
}

TEST(SavedImage, KeepsEveryRecordAndFieldAsTaken) {
    RecordDictionary dictionary;
    dictionary.LoadFromText("[records]\n0100=Rpm,int16\n0200=Engine,record\n"
                            "[0200]\n1=0x00,int16,Idle\n2=0x02,int16,Max\n");
    const auto engine = Concat({Le16(700), Le16(2400)});
    RecordTree tree;
    ASSERT_EQ(ReadAirBytes(AirFileBuilder().Record(0x100, Le16(1)).Record(0x200, engine).Record(0x100, Le16(2)).Bytes(),
                           dictionary, {}, tree)
                  .code,
              ReadResultCode::Ok);
    SavedImage image;
    image.Take(tree);
    EXPECT_TRUE(image.Matches(tree));

    // Equal numbers are told apart by their order.
    const auto second = image.Find(tree, *tree.Root(1));
    ASSERT_TRUE(second.has_value());
    const auto parent = image.Find(tree, *tree.Root(2));
    ASSERT_TRUE(parent.has_value());
    ASSERT_EQ(image.FieldCount(*parent), 2u);
    auto record = [](uint32_t number, std::vector<uint8_t> data) {
        AirRecord made;
        made.number = number;
        made.data = std::move(data);
        return made;
    };
    EXPECT_TRUE(image.Holds(*second, record(0x100, Le16(2))));
    EXPECT_FALSE(image.Holds(*second, record(0x100, Le16(1))));
    EXPECT_TRUE(image.Holds(*parent, record(0x200, engine)));
    EXPECT_FALSE(image.Holds(*parent, record(0x201, engine)));      // another number
    EXPECT_FALSE(image.Holds(*parent, record(0x200, Le16(700))));   // cut short
    EXPECT_FALSE(image.Holds(image.Count(), record(0x200, engine))); // past the end

    EXPECT_EQ(Vec(SavedImage::FieldBytes(engine, 2, 2)), Le16(2400));
    EXPECT_EQ(Vec(SavedImage::FieldBytes(engine, 3, 4)), std::vector<uint8_t>{Le16(2400)[1]}); // cut at the end
    EXPECT_TRUE(SavedImage::FieldBytes(engine, 9, 2).empty());

    // A field edit changes the record; editing it back makes the tree match again.
    RecordNode& max = *tree.Root(2)->Child(1);
    ASSERT_EQ(ReplaceRecordBytes(max, Le16(2500)).status, EditStatus::Ok);
    EXPECT_FALSE(image.Matches(tree));
    ASSERT_EQ(ReplaceRecordBytes(max, Le16(2400)).status, EditStatus::Ok);
    EXPECT_TRUE(image.Matches(tree));

    // With a record gone the file differs; a number never saved has no saved bytes.
    const auto taken = tree.TakeRoot(0);
    EXPECT_FALSE(image.Matches(tree));
    RecordNode stranger;
    stranger.record.number = 0x300;
    EXPECT_FALSE(image.Find(tree, stranger).has_value());
    image.Clear();
    EXPECT_FALSE(image.Matches(tree));
}

// The fingerprint is MurmurHash3's x64 128-bit variant: the check value its authors publish
// (each length 0..255 hashed with its own seed, the results hashed again) covers every tail.
TEST(ByteHash, IsMurmurHash3AndSeesEveryByte) {
    std::vector<uint8_t> key(256);
    std::vector<uint8_t> hashes;
    for (size_t i = 0; i < key.size(); ++i) {
        key[i] = static_cast<uint8_t>(i);
        const ByteHash hash = HashBytes(std::span(key).first(i), static_cast<uint32_t>(256 - i));
        for (uint64_t half : {hash.low, hash.high}) {
            for (int b = 0; b < 8; ++b) {
                hashes.push_back(static_cast<uint8_t>(half >> (8 * b)));
            }
        }
    }
    EXPECT_EQ(HashBytes(hashes).low & 0xffffffffu, 0x6384ba69u);

    // One flipped bit anywhere, in both halves of a block and in any tail, changes both halves;
    // so does a trailing zero byte.
    for (size_t size : {1u, 7u, 8u, 9u, 15u, 16u, 17u, 31u, 33u}) {
        std::vector<uint8_t> bytes(size, 0);
        const ByteHash plain = HashBytes(bytes);
        for (size_t i = 0; i < size * 8; ++i) {
            bytes[i / 8] ^= static_cast<uint8_t>(1u << (i % 8));
            const ByteHash flipped = HashBytes(bytes);
            EXPECT_NE(flipped.low, plain.low) << size << " bit " << i;
            EXPECT_NE(flipped.high, plain.high) << size << " bit " << i;
            bytes[i / 8] ^= static_cast<uint8_t>(1u << (i % 8));
        }
        bytes.push_back(0);
        EXPECT_NE(HashBytes(bytes), plain) << size;
    }
}

} // namespace
} // namespace kelvara
