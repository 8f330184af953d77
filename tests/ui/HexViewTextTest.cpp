// The rows of the record view's hex view.
#include "HexViewText.h"

#include <QTest>

using namespace kelvara;

using Rows = std::vector<std::string>;
using Bytes = std::vector<uint8_t>;

class HexViewTextTest : public QObject {
    Q_OBJECT
  private slots:
    void hexRows_data();
    void hexRows();
};

void HexViewTextTest::hexRows_data() {
    QTest::addColumn<Bytes>("data");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("offset");
    QTest::addColumn<Rows>("expected");
    const std::string blank(kHexRowWidth, ' ');
    QTest::newRow("digits and characters; 0x11 is shown as itself")
        << Bytes{0x41, 0x00, 0x10, 0x11, 0xFF, 0x7A, 0x20, 0x0D, 0x42} << 9 << 0x1234
        << Rows{"1234 0000  41 00 10 11 FF 7A 20 0D  A..\x11\xFFz .",
                "123C 0008  42" + std::string(23, ' ') + "B" + std::string(7, ' ')};
    QTest::newRow("a multiple of eight ends in a blank row")
        << Bytes(16, 0x30) << 16 << 0
        << Rows{"0000 0000  30 30 30 30 30 30 30 30  00000000",
                "0008 0008  30 30 30 30 30 30 30 30  00000000", blank};
    QTest::newRow("empty value is one blank row") << Bytes{0} << 0 << 100 << Rows{blank};
    QTest::newRow("wide prefix is cut at column eleven")
        << Bytes{0xAB} << 1 << 0x12345
        << Rows{"12345 0000 AB" + std::string(23, ' ') + "\xAB" + std::string(7, ' ')};
    QTest::newRow("never past the data")
        << Bytes{1, 2, 3} << 40 << 0
        << Rows{"0000 0000  01 02 03" + std::string(17, ' ') + "..." + std::string(5, ' ')};
}

void HexViewTextTest::hexRows() {
    QFETCH(Bytes, data);
    QFETCH(int, length);
    QFETCH(int, offset);
    QFETCH(Rows, expected);
    const Rows rows = HexRows(data, static_cast<size_t>(length), offset);
    QCOMPARE(rows, expected);
    for (const std::string& row : rows) {
        QCOMPARE(row.size(), size_t{kHexRowWidth});
    }
}

QTEST_APPLESS_MAIN(HexViewTextTest)
#include "HexViewTextTest.moc"
