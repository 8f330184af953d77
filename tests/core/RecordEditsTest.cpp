// Value edits on tree nodes: bytes, parent copies, and what is refused.
#include "AirFileReader.h"
#include "DataType.h"
#include "RecordDictionary.h"
#include "RecordEdits.h"

#include "AirFileBuilder.h"

#include <gtest/gtest.h>

namespace kelvara {
namespace {

using namespace test;

class Edits : public ::testing::Test {
protected:
    Edits() {
        mDictionary.LoadFromText(
            "[records]\n1001=Title,text\n1204=Engine,record\n1300=Rpm,int16\n1301=Gear,bool\n"
            "1302=Stub,int32\n"
            "[1204]\n1=0x00,int16,Max\n2=0x02,text,Note\n3=0x06,bool,On\n");
        const auto bytes = AirFileBuilder()
                               .Record(0x1001, std::vector<uint8_t>(10, 'x'))
                               .Record(0x1204, {1, 0, 'h', 'i', 0, 0, 0, 1, 0, 0})
                               .Record(0x1300, Le16(5))
                               .Record(0x1301, {0, 1, 0, 0})
                               .Record(0x1302, {1, 2})
                               .Bytes();
        EXPECT_EQ(ReadAirBytes(bytes, mDictionary, {}, mTree).code, 0);
    }
    RecordNode& Node(int32_t number) { return *mTree.FindRecord(number); }

    RecordDictionary mDictionary;
    RecordTree mTree;
};

TEST_F(Edits, NumberEditWritesBytesAndRefusesOutOfRange) {
    EXPECT_EQ(ApplyNumberEdit(Node(0x1300), "-3", '.').status, EditStatus::Ok);
    EXPECT_EQ(Node(0x1300).record.data, Le16(-3));
    const EditResult rejected = ApplyNumberEdit(Node(0x1300), "32768", '.');
    EXPECT_EQ(rejected.status, EditStatus::RangeRejected);
    EXPECT_EQ(rejected.limits.maxText, "32767");
    EXPECT_EQ(Node(0x1300).record.data, Le16(-3));
    EXPECT_EQ(ApplyNumberEdit(Node(0x1302), "5", '.').status, EditStatus::NotEditable);
    EXPECT_EQ(Node(0x1302).record.data, (std::vector<uint8_t>{1, 2}));
}

// A field's edit reaches its parent. 0x00000100 reads as TRUE; false must not leave its
// second byte behind.
TEST_F(Edits, FieldAndBoolEdits) {
    RecordNode& parent = Node(0x1204);
    ASSERT_EQ(ApplyNumberEdit(*parent.Child(0), "258", '.').status, EditStatus::Ok);
    ASSERT_EQ(ApplyBoolEdit(*parent.Child(2), false).status, EditStatus::Ok);
    EXPECT_EQ(parent.record.data, (std::vector<uint8_t>{2, 1, 'h', 'i', 0, 0, 0, 0, 0, 0}));
    ASSERT_EQ(ApplyBoolEdit(Node(0x1301), false).status, EditStatus::Ok);
    EXPECT_EQ(Node(0x1301).record.data, Le32(0));
    ASSERT_EQ(ApplyBoolEdit(Node(0x1301), true).status, EditStatus::Ok);
    EXPECT_EQ(Node(0x1301).record.data, Le32(1));
}

TEST_F(Edits, TextEdits) {
    ASSERT_EQ(ApplyTextEdit(Node(0x1001), "ab").status, EditStatus::Ok);
    EXPECT_EQ(Node(0x1001).record.data, TextBytes("ab"));
    EXPECT_EQ(ApplyTextEdit(Node(0x1001), std::string(32001, 'a')).status, EditStatus::TextTooLong);
    EXPECT_EQ(Node(0x1001).record.Text(), "ab");
    EXPECT_EQ(ApplyTextEdit(Node(0x1001), std::string(32000, 'a')).status, EditStatus::Ok);

    // A text field keeps its room in the parent: shorter texts are padded, longer refused.
    RecordNode& note = *Node(0x1204).Child(1);
    ASSERT_EQ(note.record.data.size(), 3u);
    EXPECT_EQ(ApplyTextEdit(note, "x").status, EditStatus::Ok);
    EXPECT_EQ(Node(0x1204).record.data, (std::vector<uint8_t>{1, 0, 'x', 0, 0, 0, 0, 1, 0, 0}));
    EXPECT_EQ(ApplyTextEdit(note, "xyz").status, EditStatus::TextTooLongForField);
    EXPECT_EQ(Node(0x1204).record.data[2], 'x');
}

} // namespace
} // namespace kelvara
