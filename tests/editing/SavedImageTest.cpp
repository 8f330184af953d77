// The bytes kept of the file as last read or written.
#include "AirFileReader.h"
#include "RecordDictionary.h"
#include "RecordEdits.h"
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
    EXPECT_EQ(Vec(image.Bytes(*second)), Le16(2));
    const auto parent = image.Find(tree, *tree.Root(2));
    ASSERT_TRUE(parent.has_value());
    ASSERT_EQ(image.FieldCount(*parent), 2u);
    EXPECT_EQ(Vec(image.Bytes(*parent)), engine);
    EXPECT_EQ(Vec(image.FieldBytes(*parent, 2, 2)), Le16(2400));
    EXPECT_EQ(Vec(image.FieldBytes(*parent, 3, 4)), std::vector<uint8_t>{Le16(2400)[1]}); // cut at the end
    EXPECT_TRUE(image.FieldBytes(*parent, 9, 2).empty());

    // A field edit changes the record; editing it back makes the tree match again.
    RecordNode& max = *tree.Root(2)->Child(1);
    ASSERT_EQ(ReplaceRecordBytes(max, Le16(2500)).status, EditStatus::Ok);
    EXPECT_FALSE(image.Matches(tree));
    EXPECT_EQ(Vec(image.FieldBytes(*parent, 2, 2)), Le16(2400));
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

} // namespace
} // namespace kelvara
