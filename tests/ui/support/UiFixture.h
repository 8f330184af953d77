// A program folder in a temporary directory with KVR.ini, kvr.cfg and ".air" files built
// from records, and a main window started on it in file mode.
#pragma once

#include "AirFileBuilder.h"
#include "MainWindow.h"
#include "RecordPage.h"
#include "RecordTree.h"
#include "ScriptedPrompts.h"
#include "Settings.h"
#include "TableBytes.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kelvara::test {

struct TestRecord {
    uint32_t number;
    Bytes data;
};

inline QByteArray AirBytes(const std::vector<TestRecord>& records) {
    AirFileBuilder file;
    for (const TestRecord& record : records) {
        file.Record(record.number, record.data);
    }
    return QByteArray(reinterpret_cast<const char*>(file.Bytes().data()), qsizetype(file.Bytes().size()));
}

inline QStringList ListTexts(const QListWidget* list) {
    QStringList texts;
    for (int row = 0; row < list->count(); ++row) {
        texts << list->item(row)->text();
    }
    return texts;
}

inline const char* kTestDictionary =
    "[records]\n0001=Title text,text\n0001h=The title of the aircraft|shown in the menu\n"
    "0003=Description,text\n0100=Int value,int16\n0100h=A plain number\n0101=Angle,ang16\n"
    "0102=Mass ratio,m256\n0103=Flag,bool\n0104=Engine data,record\n0105=Lift table,tbldb\n"
    "0106=Valid table,tbldb\n"
    "[0104]\n1=0,int16,Max RPM\n1h=Highest engine speed\n2=2,ang16,Tilt\n3=4,text,Label\n";

// The standard test file: records in file order, each with a known value.
inline const Bytes kTrainer{'T', 'r', 'a', 'i', 'n', 'e', 'r', 0, 0, 0};
inline std::vector<TestRecord> StandardRecords() {
    return {
        {0x0001, kTrainer},
        {0x0003, TextBytes("line one\r\nline two")},
        {0x0100, Le16(5)},
        {0x0101, Le16(182)},
        {0x0102, Le16(100)},
        {0x0103, {1, 0, 0, 0}},
        {0x0104, {0x60, 0x09, 0, 0, 'a', 'b', 0, 0, 0, 0}}, // 2400, 0, "ab" in six bytes
        {0x0105, Bytes(11, 0)},
        {0x0106, PairTable({{0, 0}})},
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
    // Writes the file and opens it in the window.
    void OpenFile(const QString& name, const QByteArray& bytes) const {
        WriteFile(name, bytes);
        window->OpenAirFile(Path(name));
    }
    QByteArray ReadFile(const QString& name) const {
        QFile file(Path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // The values of a key in the saved kvr.cfg, joined by "|".
    QString CfgValue(const char* key) const {
        QStringList values;
        for (const QByteArray& line : ReadFile(QStringLiteral("kvr.cfg")).split('\n')) {
            if (line.startsWith(QByteArray(key) + " =")) {
                values << QString::fromUtf8(line.mid(int(qstrlen(key)) + 2).trimmed());
            }
        }
        return values.join(u'|');
    }

    // KVR.ini, kvr.cfg (extra lines appended) and plane.air of the records; then the window,
    // by default started on plane.air.
    void Start(const QByteArray& cfgLines = {}, QStringList arguments = {}, bool openPlane = true) {
        WriteFile(QStringLiteral("KVR.ini"), dictionary);
        WriteFile(QStringLiteral("kvr.cfg"), QByteArray("showaircraft = 0\r\n") + cfgLines);
        WriteFile(QStringLiteral("plane.air"), AirBytes(records));
        if (arguments.isEmpty() && openPlane) {
            arguments << Path(QStringLiteral("plane.air"));
        }
        settings = std::make_unique<Settings>();
        settings->Load(Folder());
        window = std::make_unique<MainWindow>(*settings, *usePrompts, arguments);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        if (!window->StartFile().isEmpty()) {
            QTRY_VERIFY(window->StartFileHandled());
        }
    }

    // Window shortcuts act only in the active window; no window manager hands it back after a
    // dialog.
    void Activate() const {
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }

    RecordPage& Page() const { return *window->Page(); }
    RecordNode* Node(uint32_t number) const { return window->Tree().FindRecord(number); }
    void Select(uint32_t number, int field = -1) const {
        RecordNode* node = Node(number);
        QVERIFY(node);
        Page().SelectNode(field >= 0 ? node->Child(static_cast<size_t>(field)) : node);
    }
    // Selects the record (or its field) and types text over its number, key by key.
    void TypeNumber(uint32_t number, const QString& text, int field = -1) const {
        Select(number, field);
        Page().eNumber->setFocus();
        Page().eNumber->selectAll();
        QTest::keyClicks(Page().eNumber, text);
    }

    QTemporaryDir dir;
    QByteArray dictionary = kTestDictionary; // what Start writes
    std::vector<TestRecord> records = StandardRecords();
    ScriptedPrompts prompts;
    UserPrompts* usePrompts = &prompts; // real message boxes where keys must be pressed
    std::unique_ptr<Settings> settings;
    std::unique_ptr<MainWindow> window;
};

// While it lives, answers every modal window as a user would: a key press on the widget that
// has the focus (a file dialog, which no test expects, is closed). Records what was shown.
class ModalAnswerer {
  public:
    explicit ModalAnswerer(Qt::Key key, std::function<void(QWidget*)> inspect = {})
        : mKey(key), mInspect(std::move(inspect)) {
        QObject::connect(&mTimer, &QTimer::timeout, [this] { Poll(); });
        mTimer.start(10);
    }
    QStringList seen; // a message box's text, or the class of another window

  private:
    void Poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == mLast || !modal->isVisible()) {
            mLast = modal;
            return;
        }
        mLast = modal;
        auto* box = qobject_cast<QMessageBox*>(modal);
        seen << (box ? box->text() : QString::fromLatin1(modal->metaObject()->className()));
        if (mInspect) {
            mInspect(modal);
            if (!modal->isVisible()) {
                return; // answered by the inspection
            }
        }
        if (auto* files = qobject_cast<QFileDialog*>(modal)) {
            files->reject();
        } else {
            QTest::keyClick(modal->focusWidget() ? modal->focusWidget() : modal, mKey);
        }
    }
    Qt::Key mKey;
    std::function<void(QWidget*)> mInspect;
    QTimer mTimer;
    QPointer<QWidget> mLast;
};

} // namespace kelvara::test
