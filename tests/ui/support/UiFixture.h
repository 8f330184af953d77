// A program folder in a temporary directory with KVR.ini, kvr.cfg and ".air" files built
// from records, and a main window started on it in file mode.
#pragma once

#include "RecordPage.h"
#include "RecordTree.h"
#include "ScriptedPrompts.h"
#include "Settings.h"
#include "TMainBrowser.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kelvara::test {

struct TestRecord {
    uint32_t number;
    std::vector<uint8_t> data;
};

inline std::vector<uint8_t> AirBytes(const std::vector<TestRecord>& records) {
    std::vector<uint8_t> out;
    auto put32 = [&out](uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            out.push_back(static_cast<uint8_t>(v >> (8 * i)));
        }
    };
    for (const TestRecord& record : records) {
        put32(record.number);
        put32(static_cast<uint32_t>(record.data.size()));
        out.insert(out.end(), record.data.begin(), record.data.end());
    }
    return out;
}

inline std::vector<uint8_t> Le16(int v) {
    return {static_cast<uint8_t>(v & 0xFF), static_cast<uint8_t>((v >> 8) & 0xFF)};
}

inline std::vector<uint8_t> TextBytes(const std::string& text, size_t size = 0) {
    std::vector<uint8_t> bytes(text.begin(), text.end());
    bytes.push_back(0);
    if (bytes.size() < size) {
        bytes.resize(size, 0);
    }
    return bytes;
}

inline const char* kTestDictionary = "[records]\n"
                                     "0001=Title text,text\n"
                                     "0001h=The title of the aircraft|shown in the menu\n"
                                     "0003=Description,text\n"
                                     "0100=Int value,int16\n"
                                     "0100h=A plain number\n"
                                     "0101=Angle,ang16\n"
                                     "0102=Mass ratio,m256\n"
                                     "0103=Flag,bool\n"
                                     "0104=Engine data,record\n"
                                     "0105=Lift table,tbldb\n"
                                     "0106=Valid table,tbldb\n"
                                     "[0104]\n"
                                     "1=0,int16,Max RPM\n"
                                     "1h=Highest engine speed\n"
                                     "2=2,ang16,Tilt\n"
                                     "3=4,text,Label\n";

// The standard test file: records in file order, each with a known value.
inline std::vector<TestRecord> StandardRecords() {
    std::vector<uint8_t> engine = Le16(2400);
    for (uint8_t b : Le16(0)) {
        engine.push_back(b);
    }
    for (uint8_t b : TextBytes("ab", 6)) {
        engine.push_back(b);
    }
    std::vector<uint8_t> validTable(4 + 16, 0);
    validTable[0] = 1;
    return {
        {0x0001, TextBytes("Trainer", 10)},
        {0x0003, TextBytes("line one\r\nline two")},
        {0x0100, Le16(5)},
        {0x0101, Le16(182)},
        {0x0102, Le16(100)},
        {0x0103, {1, 0, 0, 0}},
        {0x0104, engine},
        {0x0105, std::vector<uint8_t>(11, 0)},
        {0x0106, validTable},
    };
}

class UiFixture {
  public:
    UiFixture() { QVERIFY(dir.isValid()); }

    QString Path(const QString& name) const { return dir.filePath(name); }
    std::string Folder() const { return QFile::encodeName(dir.path()).toStdString(); }

    void WriteFile(const QString& name, const QByteArray& bytes) const {
        QFile file(Path(name));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(file.write(bytes), bytes.size());
    }
    void WriteAir(const QString& name, const std::vector<TestRecord>& records) const {
        const std::vector<uint8_t> bytes = AirBytes(records);
        WriteFile(name, QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                   static_cast<qsizetype>(bytes.size())));
    }
    QByteArray ReadFile(const QString& name) const {
        QFile file(Path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // KVR.ini, kvr.cfg (extra lines appended) and plane.air; then the window, by default
    // started on plane.air.
    void Start(const QByteArray& cfgLines = {}, QStringList arguments = {}, bool openPlane = true) {
        WriteFile(QStringLiteral("KVR.ini"), QByteArray(kTestDictionary));
        WriteFile(QStringLiteral("kvr.cfg"), QByteArray("showaircraft = 0\r\n") + cfgLines);
        if (!QFile::exists(Path(QStringLiteral("plane.air")))) {
            WriteAir(QStringLiteral("plane.air"), StandardRecords());
        }
        if (arguments.isEmpty() && openPlane) {
            arguments << Path(QStringLiteral("plane.air"));
        }
        settings = std::make_unique<Settings>();
        settings->Load(Folder());
        window = std::make_unique<TMainBrowser>(*settings, prompts, arguments);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    RecordPage& Page() const { return *window->Page(); }

    void Select(uint32_t number, int field = -1) const {
        RecordNode* node = window->Tree().FindRecord(number);
        QVERIFY(node);
        if (field >= 0) {
            node = node->Child(static_cast<size_t>(field));
        }
        Page().SelectNode(node);
    }
    RecordNode* Node(uint32_t number) const { return window->Tree().FindRecord(number); }

    QTemporaryDir dir;
    ScriptedPrompts prompts;
    std::unique_ptr<Settings> settings;
    std::unique_ptr<TMainBrowser> window;
};

} // namespace kelvara::test
