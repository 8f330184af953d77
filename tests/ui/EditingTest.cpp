// The hex view, find, the record clipboard and the plug-ins window; undo, redo, "Revert record"
// and the checks before saving. All driven with real keys and clicks on the running editor
// window.
#include "CompareView.h"
#include "HistoryCommands.h"
#include "QtUserPrompts.h"
#include "RecordCommands.h"
#include "SaveChecksDialog.h"
#include "TFinddialog.h"
#include "TView_Plugins_Form.h"
#include "UiFixture.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFontInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTimer>
#include <QTreeView>

#include <optional>
#include <tuple>

using namespace kelvara;
using namespace kelvara::test;

namespace {

void ClickCell(HexEditorView* hex, int line, int column) {
    QTextCursor cursor(hex->document()->findBlockByNumber(line));
    cursor.setPosition(cursor.block().position() + column);
    const QRect cell = hex->cursorRect(cursor);
    QTest::mouseClick(hex->viewport(), Qt::LeftButton, {}, cell.center() + QPoint(2, 0));
}

void Key(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
    widget->setFocus();
    QTest::keyClick(widget, key, modifiers);
}

// Ctrl-F, answered by typing the text into the dialog and pressing Enter.
void FindFirst(UiFixture& f, const QString& text, bool caseSensitive = false) {
    TFinddialog& dialog = f.window->Commands().FindDialog();
    QTimer::singleShot(0, &dialog, [&dialog, text, caseSensitive] {
        dialog.cbCasesensitive->setChecked(caseSensitive);
        dialog.eText->clear();
        QTest::keyClicks(dialog.eText, text);
        QTest::keyClick(dialog.eText, Qt::Key_Return);
    });
    Key(f.Page().TV, Qt::Key_F);
}

std::vector<int32_t> Numbers(const UiFixture& f) {
    std::vector<int32_t> numbers;
    f.window->Tree().ForEach([&](RecordNode& n) { numbers.push_back(n.record.lookupNumber); });
    return numbers;
}

} // namespace

class EditingTest : public QObject {
    Q_OBJECT
  private slots:
    // The hex view writes the record and marks the file; find by caption and by text; the record
    // clipboard carries records between files.
    void hexViewFindAndClipboard() {
        UiFixture f;
        f.Start();
        f.Activate();
        f.Select(0x0100);
        HexEditorView* hex = f.Page().HexEditor;
        Key(f.Page().TV, Qt::Key_H);
        QVERIFY(hex->isVisible() && f.window->HexEditor1->isChecked());
        // Columns of bytes line up only in a fixed-width font, which the view takes when shown.
        QVERIFY(QFontInfo(hex->font()).fixedPitch());
        ClickCell(hex, 2, 13); // the blank after byte 0 selects its low digit
        QCOMPARE(hex->textCursor().selectedText(), QStringLiteral("5"));
        QTest::keyClick(hex, Qt::Key_Left);
        QTest::keyClicks(hex, QStringLiteral("1c"));
        QCOMPARE(f.Node(0x0100)->record.data, (Bytes{0x1C, 0x00}));
        QCOMPARE(f.Page().eNumber->text(), QStringLiteral("28"));
        QVERIFY(f.Page().CaptionOf(*f.Node(0x0100)).ends_with(", 28") && f.window->Changes().IsChanged());
        QCOMPARE(hex->toPlainText().section(u'\n', 2, 2).mid(11, 5), QStringLiteral("1C 00"));
        QCOMPARE(hex->textCursor().selectedText(), QStringLiteral("0")); // next byte's high digit

        // A field's edit reaches its parent.
        f.Select(0x0104, 2);
        ClickCell(hex, 2, 36);
        QTest::keyClicks(hex, QStringLiteral("Z"));
        QKeyEvent euro(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("€"));
        QApplication::sendEvent(hex, &euro); // byte 0x80 of the code page
        QCOMPARE(f.Node(0x0104)->record.data[4], uint8_t('Z'));
        QCOMPARE(f.Node(0x0104)->record.data[5], uint8_t(0x80));
        Key(f.Page().TV, Qt::Key_H);
        QVERIFY(!hex->isVisible() && !f.window->HexEditor1->isChecked());

        FindFirst(f, QStringLiteral("LINE TWO")); // only in the text of record 3
        QCOMPARE(f.Page().SelectedNode(), f.Node(0x0003));
        Key(f.Page().TV, Qt::Key_F3, Qt::NoModifier); // the one match again, after a round
        QCOMPARE(f.Page().SelectedNode(), f.Node(0x0003));
        QVERIFY(f.prompts.shown.empty());
        FindFirst(f, QStringLiteral("max rpm"));
        QCOMPARE(f.Page().SelectedNode(), f.Node(0x0104)->Child(0));
        FindFirst(f, QStringLiteral("max rpm"), true);
        QCOMPARE(f.prompts.shown.back(), (ShownMessage{"inform", "Information", "not found"}));
        QVERIFY(!f.window->MarkforCompare1->isVisible() && !f.window->Compare1->isVisible());

        TMainBrowser& w = *f.window;
        f.Activate(); // taken by the find dialog
        f.Select(0x0104, 1);
        QVERIFY(!w.Copy1->isEnabled() && !w.Cut1->isEnabled() && !w.Paste1->isEnabled());
        Key(f.Page().TV, Qt::Key_C); // a field alone is not copied
        QVERIFY(!w.Paste1->isEnabled());
        f.Select(0x0104);
        Key(f.Page().TV, Qt::Key_C);
        QVERIFY(w.Paste1->isEnabled());
        f.Select(0x0104, 2); // pasted over its own selected field, from the hex view
        Key(f.Page().TV, Qt::Key_H);
        Key(f.Page().HexEditor, Qt::Key_V);
        QCOMPARE(f.Page().SelectedNode(), f.Node(0x0104));

        f.OpenFile(QStringLiteral("other.air"), AirBytes({{0x0200, Le16(1)}, {0x0100, Le16(2)}}));
        Key(f.Page().eNumber, Qt::Key_V); // the number field keeps its own paste
        QCOMPARE(Numbers(f), (std::vector<int32_t>{0x0100, 0x0200}));
        Key(f.Page().TV, Qt::Key_V);
        QCOMPARE(Numbers(f), (std::vector<int32_t>{0x0100, 0x0104, -1, -1, -1, 0x0200}));
        QCOMPARE(f.Page().SelectedNode(), f.Node(0x0104));
        QCOMPARE(f.Page().TitlePanel->text(), QStringLiteral("Engine data"));
        QVERIFY(w.Changes().IsChanged());

        // Cutting every record leaves an empty view, not an editor on a record that is gone.
        f.Select(0x0100);
        for (int i = 0; i < 3; ++i) {
            Key(f.Page().TV, Qt::Key_X);
        }
        QVERIFY(w.Tree().Empty());
        QVERIFY(f.Page().TitlePanel->text().isEmpty() && !f.Page().NumberPanel->isVisible());
        Key(f.Page().TV, Qt::Key_V); // the last cut record comes back
        QCOMPARE(Numbers(f), (std::vector<int32_t>{0x0200}));

        // Ctrl+Z takes back the paste, then the cut before it: the record returns, shown.
        Key(f.Page().TV, Qt::Key_Z);
        QVERIFY(w.Tree().Empty());
        Key(f.Page().TV, Qt::Key_Z);
        QCOMPARE(f.Node(0x0200)->record.data, Le16(1));
        QCOMPARE(f.Page().SelectedNode(), f.Node(0x0200));
    }

    void pluginsWindowListsThePlugins() {
        UiFixture f;
        QVERIFY(QFile::copy(QStringLiteral(FULL_PLUGIN), f.Path(QStringLiteral("full.kvr"))));
        f.Start();
        TMainBrowser& w = *f.window;
        QCOMPARE(w.InstalledPlugins1->text().remove(u'&'), QStringLiteral("Installed plug-ins"));
        w.InstalledPlugins1->trigger();
        QVERIFY(QTest::qWaitForWindowExposed(w.PluginsForm()));
        QCOMPARE(ListTexts(w.PluginsForm()->Plugin_List),
                 (QStringList{QStringLiteral("Full plug-in"), QStringLiteral("    Version = 1.0"),
                              QStringLiteral("    Vendor  = Kelvara tests"),
                              QStringLiteral("    Comment = test module")}));
    }

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

QTEST_MAIN(EditingTest)
#include "EditingTest.moc"
