// The rows of the record view's hex view.
#include "HexViewText.h"

#include <QTest>

using namespace kelvara;

class HexViewTextTest : public QObject {
    Q_OBJECT
  private slots:
    void hexRowsLayOutBytesDigitsAndCharacters();
    void hexRowsEndInABlankRowAtAMultipleOfEight();
    void hexRowsOfAnEmptyValueAreOneBlankRow();
    void hexRowsCutAWidePrefixAtColumnEleven();
    void hexRowsNeverReadPastTheData();
};

void HexViewTextTest::hexRowsLayOutBytesDigitsAndCharacters() {
    const std::vector<uint8_t> data{0x41, 0x00, 0x10, 0x11, 0xFF, 0x7A, 0x20, 0x0D, 0x42};
    const auto rows = HexRows(data, data.size(), 0x1234);
    QCOMPARE(rows.size(), size_t{2});
    QCOMPARE(rows[0],
             std::string("1234 0000  41 00 10 11 FF 7A 20 0D  A..\x11\xFFz .")); // 0x11 is past 16
    QCOMPARE(rows[1],
             std::string("123C 0008  42") + std::string(23, ' ') + "B" + std::string(7, ' '));
    for (const std::string& row : rows) {
        QCOMPARE(row.size(), size_t{kHexRowWidth});
    }
}

void HexViewTextTest::hexRowsEndInABlankRowAtAMultipleOfEight() {
    const std::vector<uint8_t> data(16, 0x30);
    const auto rows = HexRows(data, data.size(), 0);
    QCOMPARE(rows.size(), size_t{3});
    QCOMPARE(rows[2], std::string(kHexRowWidth, ' '));
    QCOMPARE(rows[1].substr(0, 11), std::string("0008 0008  "));
}

void HexViewTextTest::hexRowsOfAnEmptyValueAreOneBlankRow() {
    // A text record holding only its zero byte shows no byte at all.
    const std::vector<uint8_t> data{0};
    const auto rows = HexRows(data, 0, 100);
    QCOMPARE(rows.size(), size_t{1});
    QCOMPARE(rows[0], std::string(kHexRowWidth, ' '));
}

void HexViewTextTest::hexRowsCutAWidePrefixAtColumnEleven() {
    const std::vector<uint8_t> data{0xAB};
    const auto rows = HexRows(data, 1, 0x12345);
    QCOMPARE(rows[0].substr(0, 13), std::string("12345 0000 AB"));
    QCOMPARE(rows[0].size(), size_t{kHexRowWidth});
}

void HexViewTextTest::hexRowsNeverReadPastTheData() {
    const std::vector<uint8_t> data{1, 2, 3};
    const auto rows = HexRows(data, 40, 0);
    QCOMPARE(rows.size(), size_t{1});
    QCOMPARE(rows[0].substr(11, 9), std::string("01 02 03 "));
    QCOMPARE(rows[0].substr(20, 15), std::string(15, ' '));
}

QTEST_APPLESS_MAIN(HexViewTextTest)
#include "HexViewTextTest.moc"
