// Undo, redo, "Revert record" and the checks before saving on the running editor window,
// with real keys and clicks.
#include "CompareView.h"
#include "HistoryCommands.h"
#include "QtUserPrompts.h"
#include "SaveChecksDialog.h"
#include "UiFixture.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeView>

#include <optional>
#include <tuple>

using namespace kelvara;
using namespace kelvara::test;

class EditSafetyTest : public QObject {
    Q_OBJECT
  private slots:
    // A typed number undoes and redoes as one step; "Revert record" brings back the bytes as last
    // saved, as one step of its own; so is a record copied from a compared file.
    void typedNumberRevertRecordAndCopyFromComparedAreUndoSteps() {
        UiFixture f;
        f.Start();
        f.Activate();
        f.TypeNumber(0x0100, QStringLiteral("250"));
        QLineEdit* field = f.Page().eNumber;
        QCOMPARE(f.Node(0x0100)->record.data, Le16(250));
        QVERIFY(f.window->Changes().IsChanged());

        // Ctrl+Z in the field is the window's undo, not the field's own.
        QTest::keySequence(field, QKeySequence::Undo);
        QCOMPARE(f.Node(0x0100)->record.data, Le16(5));
        QCOMPARE(field->text(), QStringLiteral("5"));
        QVERIFY(f.Page().CaptionOf(*f.Node(0x0100)).ends_with(", 5"));
        QVERIFY(!f.window->Changes().IsChanged());
        QVERIFY(!f.window->History().Undo1->isEnabled());

        QTest::keySequence(field, QKeySequence::Redo);
        QCOMPARE(f.Node(0x0100)->record.data, Le16(250));
        QCOMPARE(field->text(), QStringLiteral("250"));
        QVERIFY(f.window->Changes().IsChanged());

        f.window->SaveAircraft1Click();
        QVERIFY(!f.window->Changes().IsChanged());
        f.TypeNumber(0x0100, QStringLiteral("9"));
        f.window->History().RevertRecord1->trigger();
        QCOMPARE(f.Node(0x0100)->record.data, Le16(250)); // as saved, not as first loaded
        QCOMPARE(field->text(), QStringLiteral("250"));
        QVERIFY(!f.window->Changes().IsChanged());
        QTest::keySequence(field, QKeySequence::Undo);
        QCOMPARE(f.Node(0x0100)->record.data, Le16(9));

        // A new file starts a new history.
        f.window->OpenAirFile(f.Path(QStringLiteral("plane.air")));
        QVERIFY(!f.window->History().Undo1->isEnabled());

        // "Compare with file" copies a record across, and a record only the other file has.
        QVERIFY(f.window->CompareWithFile1->isVisible() && !f.window->Compare1->isVisible());
        std::vector<TestRecord> other = StandardRecords();
        other[2].data = Le16(9);                   // 0x0100
        other.push_back({0x0200, Le16(1)});        // only in B
        f.WriteFile(QStringLiteral("other.air"), AirBytes(other));
        f.window->CompareWithFile(f.Path(QStringLiteral("other.air")));
        QPlainTextEdit* memo = f.Page().CompareMemo;
        QVERIFY(memo->isVisible());
        QVERIFY(memo->toPlainText().contains(QStringLiteral("0100 Int value: 250 -> 9")));
        QVERIFY(memo->toPlainText().contains(QStringLiteral(": only in B")));

        f.Select(0x0100); // the memo stays and points at the record's difference
        QVERIFY(memo->isVisible() && f.window->Compare1->isChecked());
        QVERIFY(memo->textCursor().block().text().startsWith(QStringLiteral("0100")));
        QAction* copy = f.window->Compare().CopyFromCompared1;
        QVERIFY(copy->isEnabled());
        copy->trigger();
        QCOMPARE(f.Node(0x0100)->record.data, Le16(9));
        QVERIFY(!memo->toPlainText().contains(QStringLiteral("0100")));
        QVERIFY(f.window->Changes().IsChanged());

        // Clicking the line of a record only B has makes it the one to copy.
        const QTextBlock only = memo->document()->findBlockByNumber(1);
        QVERIFY(only.text().contains(QStringLiteral("only in B")));
        QTest::mouseClick(memo->viewport(), Qt::LeftButton, {},
                          memo->cursorRect(QTextCursor(only)).center());
        copy->trigger();
        QVERIFY(f.Node(0x0200));
        QVERIFY(memo->toPlainText().contains(QStringLiteral("the same records")));

        QTest::keySequence(f.Page().TV, QKeySequence::Undo);
        QVERIFY(!f.Node(0x0200));
        QTest::keySequence(f.Page().TV, QKeySequence::Undo);
        QCOMPARE(f.Node(0x0100)->record.data, Le16(250));
        QVERIFY(!f.window->Changes().IsChanged());
    }

    void revertRecordReadsTheFileAgainAndRefusesWhenItIsNotAsSaved() {
        const char* unreadable = "the file on disk cannot be read; this record stays as it is";
        const char* changed =
            "this record has changed in the file on disk since it was loaded or saved; it stays as it is";
        const auto standardWith = [](size_t index, Bytes data) {
            std::vector<TestRecord> records = StandardRecords();
            records[index].data = std::move(data);
            return AirBytes(records);
        };
        // what happened to the file, its bytes now (none: deleted), the message (none: reverted)
        const std::tuple<const char*, std::optional<QByteArray>, const char*> rows[] = {
            // 0x0101, now longer: later records move in the file
            {"another record changed on disk", standardWith(3, Le32(182)), nullptr},
            {"this record changed on disk", standardWith(6, {0x61, 0x09, 0, 0, 'a', 'b', 0, 0, 0, 0}), changed},
            {"file deleted", std::nullopt, unreadable},
            {"file damaged", QByteArray("not a flight model"), unreadable},
        };
        const Bytes onDisk{0x60, 0x09, 0, 0, 'a', 'b', 0, 0, 0, 0};
        for (const auto& [what, fileNow, message] : rows) {
            qInfo() << what;
            UiFixture f;
            f.Start();
            f.Activate();
            f.TypeNumber(0x0104, QStringLiteral("2500"), 0); // a field: record and field come back
            const Bytes edited = f.Node(0x0104)->record.data.ToVector();
            if (fileNow) {
                f.WriteFile(QStringLiteral("plane.air"), *fileNow);
            } else {
                QVERIFY(QFile::remove(f.Path(QStringLiteral("plane.air"))));
            }
            f.window->History().RevertRecord1->trigger();
            if (!message) {
                QVERIFY(f.prompts.shown.empty());
                QCOMPARE(f.Node(0x0104)->record.data, onDisk);
                QCOMPARE(f.Node(0x0104)->Child(0)->record.data, Le16(2400));
                QVERIFY(!f.window->Changes().IsChanged());
                continue;
            }
            QCOMPARE(f.prompts.shown, (std::vector<ShownMessage>{{"inform", "Information", message}}));
            QCOMPARE(f.Node(0x0104)->record.data, edited);
            QCOMPARE(f.Node(0x0104)->Child(0)->record.data, Le16(2500));
            QVERIFY(f.window->Changes().IsChanged());
            // Nothing was recorded: one undo takes back the edit itself.
            QTest::keySequence(f.Page().TV, QKeySequence::Undo);
            QCOMPARE(f.Node(0x0104)->record.data, onDisk);
            QVERIFY(!f.window->History().Undo1->isEnabled());
        }
    }

    void backwardTableIsFoundBeforeSavingAndGoBackIsTheDefault() {
        UiFixture f;
        QtUserPrompts boxes;
        f.usePrompts = &boxes;
        f.Start();
        f.Activate();
        const Bytes backwards = Concat({Le32(2), LeDouble(5), LeDouble(1), LeDouble(2), LeDouble(1)});
        const QByteArray file = AirBytes({{0x0100, Le16(5)}, {0x0106, backwards}});
        f.OpenFile(QStringLiteral("back.air"), file);
        f.TypeNumber(0x0100, QStringLiteral("6"));
        QLineEdit* field = f.Page().eNumber;

        for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return}) {
            QStringList findings;
            ModalAnswerer answer(key, [&](QWidget* modal) {
                auto* dialog = qobject_cast<SaveChecksDialog*>(modal);
                QVERIFY(dialog);
                QListWidget* list = dialog->Findings;
                findings = ListTexts(list);
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                                  list->visualItemRect(list->item(0)).center());
            });
            f.Activate();
            QTest::keySequence(field, QKeySequence::Save);
            QCOMPARE(findings, QStringList{QStringLiteral(
                                   "0106 Valid table: X values do not ascend at point 2 (2 after 5)")});
            QCOMPARE(f.Page().SelectedNode(), f.Node(0x0106)); // the click showed the table
            QCOMPARE(f.ReadFile(QStringLiteral("back.air")), file);
            QVERIFY(f.window->Changes().IsChanged());
        }

        // Space on "Save anyway", reached by the keyboard.
        ModalAnswerer saveAnyway(Qt::Key_Space, [](QWidget* modal) {
            if (auto* dialog = qobject_cast<SaveChecksDialog*>(modal)) { // then "Save complete"
                QTest::keyClick(modal->focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
                QCOMPARE(modal->focusWidget(), dialog->SaveAnyway);
            }
        });
        f.window->SaveAircraft1Click();
        QVERIFY(f.ReadFile(QStringLiteral("back.air")) != file);
        QVERIFY(!f.window->Changes().IsChanged());
    }
};

QTEST_MAIN(EditSafetyTest)
#include "EditSafetyTest.moc"
