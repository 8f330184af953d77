// The toolkit-free rules behind the window: hex view rows, the start file argument and the
// window placement.
#include "HexViewText.h"
#include "StartupRules.h"

#include <QTest>

using namespace kelvara;

class UiRulesTest : public QObject {
    Q_OBJECT
private slots:
    void hexRowsLayOutBytesDigitsAndCharacters();
    void hexRowsEndInABlankRowAtAMultipleOfEight();
    void hexRowsOfAnEmptyValueAreOneBlankRow();
    void hexRowsCutAWidePrefixAtColumnEleven();
    void hexRowsNeverReadPastTheData();
    void startFileArgument_data();
    void startFileArgument();
    void placement_data();
    void placement();
};

void UiRulesTest::hexRowsLayOutBytesDigitsAndCharacters() {
    const std::vector<uint8_t> data{0x41, 0x00, 0x10, 0x11, 0xFF, 0x7A, 0x20, 0x0D, 0x42};
    const auto rows = HexRows(data, data.size(), 0x1234);
    QCOMPARE(rows.size(), size_t{2});
    QCOMPARE(rows[0], std::string("1234 0000  41 00 10 11 FF 7A 20 0D  A..\x11\xFFz .")); // 0x11 is past 16
    QCOMPARE(rows[1], std::string("123C 0008  42") + std::string(23, ' ') + "B" + std::string(7, ' '));
    for (const std::string& row : rows) {
        QCOMPARE(row.size(), size_t{kHexRowWidth});
    }
}

void UiRulesTest::hexRowsEndInABlankRowAtAMultipleOfEight() {
    const std::vector<uint8_t> data(16, 0x30);
    const auto rows = HexRows(data, data.size(), 0);
    QCOMPARE(rows.size(), size_t{3});
    QCOMPARE(rows[2], std::string(kHexRowWidth, ' '));
    QCOMPARE(rows[1].substr(0, 11), std::string("0008 0008  "));
}

void UiRulesTest::hexRowsOfAnEmptyValueAreOneBlankRow() {
    // A text record holding only its zero byte shows no byte at all.
    const std::vector<uint8_t> data{0};
    const auto rows = HexRows(data, 0, 100);
    QCOMPARE(rows.size(), size_t{1});
    QCOMPARE(rows[0], std::string(kHexRowWidth, ' '));
}

void UiRulesTest::hexRowsCutAWidePrefixAtColumnEleven() {
    const std::vector<uint8_t> data{0xAB};
    const auto rows = HexRows(data, 1, 0x12345);
    QCOMPARE(rows[0].substr(0, 13), std::string("12345 0000 AB"));
    QCOMPARE(rows[0].size(), size_t{kHexRowWidth});
}

void UiRulesTest::hexRowsNeverReadPastTheData() {
    const std::vector<uint8_t> data{1, 2, 3};
    const auto rows = HexRows(data, 40, 0);
    QCOMPARE(rows.size(), size_t{1});
    QCOMPARE(rows[0].substr(11, 9), std::string("01 02 03 "));
    QCOMPARE(rows[0].substr(20, 15), std::string(15, ' '));
}

void UiRulesTest::startFileArgument_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("expected");
    QTest::newRow("none") << QStringList{} << QString();
    QTest::newRow("air") << QStringList{QStringLiteral("/a/b.air")} << QStringLiteral("/a/b.air");
    QTest::newRow("upper case") << QStringList{QStringLiteral("/a/B.AIR")} << QStringLiteral("/a/B.AIR");
    QTest::newRow("backup name") << QStringList{QStringLiteral("/a/b.air.bak")} << QString();
    QTest::newRow("air inside a folder name") << QStringList{QStringLiteral("/x.air/b.txt")} << QString();
    QTest::newRow("bare suffix") << QStringList{QStringLiteral(".air")} << QString();
    QTest::newRow("only the first counts") << QStringList{QStringLiteral("-x"), QStringLiteral("b.air")} << QString();
}

void UiRulesTest::startFileArgument() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, expected);
    std::vector<std::string> raw;
    for (const QString& a : arguments) {
        raw.push_back(a.toStdString());
    }
    QCOMPARE(QString::fromStdString(StartFileFromArguments(raw)), expected);
}

void UiRulesTest::placement_data() {
    QTest::addColumn<QList<int>>("stored"); // left, top, width, height
    QTest::addColumn<QList<int>>("expected");
    QTest::addColumn<bool>("maximised");
    QTest::newRow("centred") << QList<int>{-1, -1, 500, 400} << QList<int>{(1920 - 1024) / 2, (1080 - 720) / 2, 1024, 720}
                             << false;
    QTest::newRow("stored") << QList<int>{10, 20, 500, 400} << QList<int>{10, 20, 500, 400} << false;
    QTest::newRow("maximised") << QList<int>{-2, -2, 500, 400} << QList<int>{448, 180, 1024, 720} << true;
    QTest::newRow("no stored size") << QList<int>{10, 20, 0, 0} << QList<int>{10, 20, 1024, 720} << false;
    QTest::newRow("odd screen rounds toward zero")
        << QList<int>{-1, 5, 0, 300} << QList<int>{448, 5, 1024, 300} << false;
}

void UiRulesTest::placement() {
    QFETCH(QList<int>, stored);
    QFETCH(QList<int>, expected);
    QFETCH(bool, maximised);
    const int screenWidth = QTest::currentDataTag() == QByteArray("odd screen rounds toward zero") ? 1921 : 1920;
    const WindowPlacement p = PlaceWindow(stored[0], stored[1], stored[2], stored[3], screenWidth, 1080, 1024, 720);
    QCOMPARE((QList<int>{p.left, p.top, p.width, p.height}), expected);
    QCOMPARE(p.maximised, maximised);
}

QTEST_APPLESS_MAIN(UiRulesTest)
#include "UiRulesTest.moc"
