// The record view and its editors: what selecting a record shows, and what typing into the
// editors does to the record's bytes, its caption and the changed flag. The hex view, find, the
// record clipboard and the plug-ins window; undo, redo, "Revert record" and the checks before
// saving. All driven with real keys and clicks on the running editor window.
#include "CaptionWidthDelegate.h"
#include "ChangeTracker.h"
#include "CompareView.h"
#include "FindDialog.h"
#include "HexViewText.h"
#include "HistoryCommands.h"
#include "PluginsDialog.h"
#include "QtUserPrompts.h"
#include "RecordCommands.h"
#include "RecordTreeModel.h"
#include "SaveChecksDialog.h"
#include "TablePanel.h"
#include "TypedNumberField.h"
#include "UiFixture.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QStandardItemModel>
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
    FindDialog& dialog = f.window->Commands().SearchDialog();
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

// The panel is 'n'umber, 't'ext, 'b'ool or none, showing the value ("1" is TRUE); the hex view
// shows "Length = n", a blank row, then the first data row; %1 in the warning is the folder.
struct SelectCase {
    uint32_t number;
    int field;
    const char *title, *help;
    char panel;
    const char* value;
    int length;
    const char *row, *warning = "";
};

QString HexRow(const QPlainTextEdit* memo) {
    return memo->toPlainText().section(QLatin1Char('\n'), 2, 2);
}

// As the tree shows it.
QString Caption(const RecordPage& page, const RecordNode* node) {
    return page.Model()->data(page.Model()->IndexOf(node)).toString();
}

} // namespace

Q_DECLARE_METATYPE(SelectCase)

class EditingTest : public QObject {
    Q_OBJECT
  private slots:
    void init() { QLocale::setDefault(QLocale::c()); }

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
        // Measured, since some monospace fonts do not declare their spacing.
        const QFontMetrics metrics(hex->font());
        QCOMPARE(metrics.horizontalAdvance(QLatin1Char('i')), metrics.horizontalAdvance(QLatin1Char('W')));
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
        QCOMPARE(Bytes(f.Node(0x0104)->record.data.begin() + 4, f.Node(0x0104)->record.data.begin() + 6), (Bytes{'Z', 0x80}));
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

        MainWindow& w = *f.window;
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

    // A plug-in whose start crashed the last run (its marker is still there) is skipped, named
    // in one message, and listed as disabled; a file that is no plug-in is listed with why.
    void pluginsWindowListsThePlugins() {
        UiFixture f;
        QVERIFY(QFile::copy(QStringLiteral(FULL_PLUGIN), f.Path(QStringLiteral("full.kvr"))));
        QVERIFY(QFile::copy(QStringLiteral(FULL_PLUGIN), f.Path(QStringLiteral("crashed.kvr"))));
        f.WriteFile(QStringLiteral("kvr-plugin-start-crashed.kvr.txt"), f.Path(QStringLiteral("crashed.kvr")).toUtf8() + "\n");
        f.WriteFile(QStringLiteral("x.kvr"), "a text file");
        f.Start();
        MainWindow& w = *f.window;
        const QString marker = f.Path(QStringLiteral("kvr-plugin-start-crashed.kvr.txt"));
        QCOMPARE(f.prompts.shown.size(), size_t{1});
        QCOMPARE(QString::fromStdString(f.prompts.shown[0].text),
                 QStringLiteral("The plug-in %1 did not finish starting the last time Kelvara started, so it was "
                                "skipped. It stays off until the file is replaced or %2 is deleted.")
                     .arg(f.Path(QStringLiteral("crashed.kvr")), marker));
        QCOMPARE(w.InstalledPlugins1->text().remove(u'&'), QStringLiteral("Installed plug-ins"));
        w.InstalledPlugins1->trigger();
        QVERIFY(QTest::qWaitForWindowExposed(w.PluginsForm()));
        QStringList lines = ListTexts(w.PluginsForm()->Plugin_List);
        QVERIFY2(lines.size() == 8, qPrintable(lines.join(u'|')));
        QVERIFY2(lines.takeLast().startsWith(QStringLiteral("    not a plug-in: ")), qPrintable(lines.join(u'|')));
        QCOMPARE(lines, (QStringList{QStringLiteral("crashed.kvr"),
                                     QStringLiteral("    disabled: did not finish starting at an earlier start; "
                                                    "delete %1 to try it again").arg(marker),
                                     QStringLiteral("Full plug-in"), QStringLiteral("    Version = 1.0"),
                                     QStringLiteral("    Vendor  = Kelvara tests"),
                                     QStringLiteral("    Comment = test module"), QStringLiteral("x.kvr")}));
    }

    // The number field reads through the strict reader, at every key: "-", "1e" and "" on
    // their way to a number and "1 000" store nothing (an emptied field stored 0) and say so
    // on the field and in the status bar, without a message box per key; a value out of range
    // is still told in one. Leaving the field puts back the stored value's text.
    void numberFieldStoresWhatIsTypedOrNothing() {
        UiFixture f;
        f.Start();
        f.Activate();
        QLineEdit* field = f.Page().eNumber;
        struct Case {
            uint32_t record;
            QString typed; // empty: the text deleted
            std::vector<uint8_t> after;
            QString reason;
            size_t boxes;
            QString left; // the text after leaving the field
        } cases[] = {
            {0x0100, QString(), Le16(5), QStringLiteral("no number given"), 0, QStringLiteral("5")},
            {0x0100, QStringLiteral("-"), Le16(5), QStringLiteral("'-' is not a complete number"), 0, QStringLiteral("5")},
            {0x0100, QStringLiteral("1 000"), Le16(1), QStringLiteral("'1 000' is not a number"), 0, QStringLiteral("1")},
            {0x0100, QStringLiteral("2.5"), Le16(2), QStringLiteral("'2.5' is not a whole number"), 0, QStringLiteral("2")},
            {0x0101, QStringLiteral("9e"), Le16(1638), QStringLiteral("'9e' is not a complete number"), 0, QStringLiteral("8.99999")},
            {0x0100, QStringLiteral("40000"), Le16(4000), QStringLiteral("values between -32768 and 32767 only"), 1, QStringLiteral("4000")},
        };
        for (const Case& c : cases) {
            const size_t boxes = f.prompts.shown.size();
            if (c.typed.isEmpty()) {
                f.Select(c.record);
                field->setFocus();
                field->selectAll();
                QTest::keyClick(field, Qt::Key_Delete);
            } else {
                f.TypeNumber(c.record, c.typed);
            }
            QCOMPARE(f.Node(c.record)->record.data, c.after);
            QCOMPARE(f.prompts.shown.size() - boxes, c.boxes);
            QVERIFY(ShowsRefusedText(field));
            QCOMPARE(f.window->statusBar()->currentMessage(), c.reason);
            f.Page().TV->setFocus();
            QCOMPARE(field->text(), c.left);
            QVERIFY(!ShowsRefusedText(field));
        }
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
        QVERIFY(memo->isVisible() && !f.window->Compare1->isCheckable());
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
        // The list is found again after every change: after undo, after a cut (the record then
        // only in B, copied back to its place in the tree).
        QTRY_VERIFY(memo->toPlainText().contains(QStringLiteral("0100 Int value: 250 -> 9")));
        QVERIFY(memo->toPlainText().contains(QStringLiteral("0200 (no name): only in B")));
        f.Select(0x0100);
        f.window->Cut1->trigger();
        QVERIFY(!f.Node(0x0100));
        QTRY_VERIFY(memo->toPlainText().contains(QStringLiteral("0100 Int value: only in B")));
        const QTextBlock cut = memo->document()->findBlockByNumber(1);
        QVERIFY(cut.text().startsWith(QStringLiteral("0100")));
        QTest::mouseClick(memo->viewport(), Qt::LeftButton, {}, memo->cursorRect(QTextCursor(cut)).center());
        copy->trigger();
        QCOMPARE(f.window->Tree().Root(2)->record.lookupNumber, 0x0100);
        QCOMPARE(f.Node(0x0100)->record.data, Le16(9));

        // Copying a record the other file lacks removes it: asked first, and No keeps it.
        std::vector<TestRecord> lacking = StandardRecords();
        lacking.erase(lacking.begin() + 5); // 0x0103
        f.WriteFile(QStringLiteral("lacking.air"), AirBytes(lacking));
        f.window->CompareWithFile(f.Path(QStringLiteral("lacking.air")));
        f.Select(0x0103);
        QVERIFY(copy->isEnabled());
        const size_t asked = f.prompts.shown.size();
        copy->trigger();
        QCOMPARE(f.prompts.shown.size(), asked + 1);
        QCOMPARE(f.prompts.shown.back().text,
                 std::string("The compared file has no record 0103 (Flag). Copying from it removes the "
                             "record from this file. Remove it?"));
        QVERIFY(f.Node(0x0103));
        f.prompts.answers.push_back(true);
        copy->trigger();
        QVERIFY(!f.Node(0x0103));
        QTRY_VERIFY(memo->toPlainText().contains(QStringLiteral("0100 Int value: 9 -> 5")));
        QVERIFY(!memo->toPlainText().contains(QStringLiteral("0103")));
        QTest::keySequence(f.Page().TV, QKeySequence::Undo);
        QVERIFY(f.Node(0x0103));
        QTRY_VERIFY(memo->toPlainText().contains(QStringLiteral("0103 Flag: only in A")));
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
            const bool reverted = message == nullptr;
            QCOMPARE(f.prompts.shown, (reverted ? std::vector<ShownMessage>{}
                                                : std::vector<ShownMessage>{{"inform", "Information", message}}));
            QCOMPARE(f.Node(0x0104)->record.data, reverted ? onDisk : edited);
            QCOMPARE(f.Node(0x0104)->Child(0)->record.data, Le16(reverted ? 2400 : 2500));
            QCOMPARE(f.window->Changes().IsChanged(), !reverted);
            if (reverted) {
                continue;
            }
            // Nothing was recorded: one undo takes back the edit itself.
            QTest::keySequence(f.Page().TV, QKeySequence::Undo);
            QCOMPARE(f.Node(0x0104)->record.data, onDisk);
            QVERIFY(!f.window->History().Undo1->isEnabled());
        }
    }

    // The checks before saving look at the records changed since the file was read or saved:
    // a doubtful table the user never touched does not stop the save of another record. Once
    // the table is changed its finding comes up; Escape goes back, Enter saves anyway.
    void backwardTableIsFoundBeforeSavingOnceChanged() {
        UiFixture f;
        QtUserPrompts boxes;
        f.usePrompts = &boxes;
        f.Start();
        f.Activate();
        const Bytes backwards = Concat({Le32(2), LeDouble(5), LeDouble(1), LeDouble(2), LeDouble(1)});
        f.OpenFile(QStringLiteral("back.air"), AirBytes({{0x0100, Le16(5)}, {0x0106, backwards}}));
        f.TypeNumber(0x0100, QStringLiteral("6"));
        QLineEdit* field = f.Page().eNumber;
        {
            ModalAnswerer enter(Qt::Key_Return);
            f.Activate();
            QTest::keySequence(field, QKeySequence::Save);
            QCOMPARE(enter.seen, QStringList{QStringLiteral("Save complete")});
        }
        const QByteArray saved = f.ReadFile(QStringLiteral("back.air"));
        QCOMPARE(f.Node(0x0100)->record.data, Le16(6));
        QVERIFY(saved.contains(QByteArray("\x06\x00", 2)));

        f.Select(0x0106);
        QLineEdit* x = f.Page().Tables()->eXvalue;
        x->selectAll();
        QTest::keyClicks(x, QStringLiteral("6"));
        QVERIFY(f.window->Changes().IsChanged());
        f.Select(0x0100);
        for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return}) {
            QStringList findings;
            bool saveIsDefault = false;
            ModalAnswerer answer(key, [&](QWidget* modal) {
                auto* dialog = qobject_cast<SaveChecksDialog*>(modal);
                if (!dialog) {
                    return; // "Save complete"
                }
                QListWidget* list = dialog->Findings;
                findings = ListTexts(list);
                saveIsDefault = dialog->SaveAnyway->isDefault();
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                                  list->visualItemRect(list->item(0)).center());
            });
            f.Activate();
            QTest::keySequence(field, QKeySequence::Save);
            QCOMPARE(findings, QStringList{QStringLiteral(
                                   "0106 Valid table: X values go backwards at point 2 (2 after 6)")});
            QVERIFY(saveIsDefault);
            QCOMPARE(f.Page().SelectedNode(), f.Node(0x0106)); // the click showed the table
            QCOMPARE(f.ReadFile(QStringLiteral("back.air")) == saved, key == Qt::Key_Escape);
            QCOMPARE(f.window->Changes().IsChanged(), key == Qt::Key_Escape);
        }
    }

    void selectingShowsTheRecordAndIsNoEdit_data() {
        QTest::addColumn<SelectCase>("c");
        // Data of 0x0100 starts after 0x0001 (8 + 10 bytes), 0x0003 (8 + 19) and its own header.
        QTest::newRow("int16") << SelectCase{0x0100, -1, "Int value", "A plain number", 'n', "5", 2,
                                             "0035 0000  05 00                    ..      "};
        QTest::newRow("ang16 cut") << SelectCase{0x0101, -1, "Angle", "", 'n', "0.99999", 2, "003F 0000  B6 00"};
        QTest::newRow("text") << SelectCase{0x0001, -1, "Title text",
                                            "The title of the aircraft\nshown in the menu", 't',
                                            "Trainer", 9, "0008 0000  54 72 61 69 6E 65 72 00"};
        QTest::newRow("text lines") << SelectCase{0x0003, -1, "Description", "", 't',
                                                  "line one\nline two", 18, "001A 0000  6C 69"};
        QTest::newRow("bool") << SelectCase{0x0103, -1, "Flag", "", 'b', "1", 4, "0053 0000  01 00"};
        QTest::newRow("record") << SelectCase{0x0104, -1, "Engine data", "", 0, "", 10,
                                              "005F 0000  60 09 00 00 61 62"};
        QTest::newRow("field") << SelectCase{0x0104, 0, "Max RPM", "Highest engine speed", 'n',
                                             "2400", 2, "0000 0000  60 09"};
        QTest::newRow("valid tbldb") << SelectCase{0x0106, -1, "Valid table", "", 0, "", 20, "0084 0000  01 00"};
        QTest::newRow("invalid tbldb") << SelectCase{0x0105, -1, "Lift table", "", 0, "", 11, "0071 0000  00 00",
                                                     "this is not a valid TBLDB %1/plane"};
    }

    void selectingShowsTheRecordAndIsNoEdit() {
        UiFixture f;
        f.Start();
        QFETCH(SelectCase, c);
        RecordPage& page = f.Page();
        const std::vector<uint8_t> before = f.Node(c.number)->record.data.ToVector();
        f.Select(c.number, c.field);

        QCOMPARE(page.TitlePanel->text(), QString::fromLatin1(c.title));
        QCOMPARE(page.HelpMemo->toPlainText(), QString::fromLatin1(c.help));
        QCOMPARE(page.HexEditor->toPlainText().section(QLatin1Char('\n'), 0, 1),
                 QStringLiteral("Length = %1\n").arg(c.length) + QString(kHexRowWidth, u' '));
        QVERIFY2(HexRow(page.HexEditor).startsWith(QLatin1String(c.row)),
                 qPrintable(HexRow(page.HexEditor)));
        QCOMPARE(page.NumberPanel->isVisible(), c.panel == 'n');
        QCOMPARE(page.TextPanel->isVisible(), c.panel == 't');
        QCOMPARE(page.BoolPanel->isVisible(), c.panel == 'b');
        QVERIFY(!page.Tables()->sbTbl3d->isVisible() && page.CompareMemo->isHidden());
        const QString value = QString::fromLatin1(c.value);
        if (c.panel == 'n') {
            QCOMPARE(page.eNumber->text(), value);
        } else if (c.panel == 't') {
            QCOMPARE(page.TextMemo->toPlainText(), value);
        } else if (c.panel == 'b') {
            QVERIFY(page.rbTrue->isChecked() && !page.rbFalse->isChecked());
        }
        // Filling the editors is no edit.
        QVERIFY(!f.window->Changes().IsChanged());
        QCOMPARE(f.Node(c.number)->record.data, before);
        const std::string warning = QString::fromLatin1(c.warning).arg(QString::fromStdString(f.Folder())).toStdString();
        QCOMPARE(f.prompts.shown, (*c.warning ? std::vector<ShownMessage>{{"inform", "Warning", warning}}
                                              : std::vector<ShownMessage>{}));
    }

    // The tree's captions look exactly as the style draws them: text, selection, focus frame,
    // and a caption wider than the column cut off at its edge. Their summed advances are never
    // narrower than the laid-out text, or a caption would be cut off, and a typical one comes
    // out a pixel or two wider; characters past Latin-1 are laid out as usual.
    void captionsAreMeasuredAndDrawnAsTheStyleDoes() {
        QStandardItemModel model;
        for (const char* caption : {"316 (INT32) System value 0316, 20480", "AVAWAY To Ty office",
                                    "1 (TEXT) Aircraft name, Äöü ß", "x"}) {
            model.appendRow(new QStandardItem(QString::fromUtf8(caption)));
        }
        QTreeView summed;
        summed.setItemDelegate(new CaptionWidthDelegate(&summed));
        QTreeView laidOut;
        for (QTreeView* view : {&summed, &laidOut}) {
            view->setModel(&model);
            view->setHeaderHidden(true);
            view->setTextElideMode(Qt::ElideNone);
            view->setColumnWidth(0, 150);
            view->resize(220, 120);
            view->show();
            QVERIFY(QTest::qWaitForWindowExposed(view));
            view->setCurrentIndex(model.index(1, 0));
        }
        // One window is active at a time: each is drawn while it is.
        const auto look = [](QTreeView& view, bool focused) {
            view.activateWindow();
            if (!QTest::qWaitForWindowActive(&view)) {
                return QImage();
            }
            if (focused) {
                view.setFocus();
            } else {
                view.clearFocus();
            }
            return view.grab().toImage();
        };
        for (const bool focused : {true, false}) {
            const QImage image = look(summed, focused);
            QVERIFY(!image.isNull());
            QCOMPARE(image, look(laidOut, focused));
        }

        for (const QString& caption :
             {QStringLiteral("316 (INT32) System value 0316, 20480"),
              QStringLiteral("AVAWAY To Ty We Yo LT Pa P. F, office flight"),
              QStringLiteral("1 (TEXT) Aircraft name, Äöü ß éèê ñ ©°±"), QStringLiteral("x"),
              QStringLiteral("100 (TEXT) Price, 250 \u20AC \u201Equoted\u201C")}) {
            for (const bool bold : {false, true}) {
                QFont font = summed.font();
                font.setBold(bold);
                summed.setFont(font);
                laidOut.setFont(font);
                model.clear();
                model.appendRow(new QStandardItem(caption));
                // Public only on the base class.
                const int exact = static_cast<QAbstractItemView&>(laidOut).sizeHintForColumn(0);
                const int measured = static_cast<QAbstractItemView&>(summed).sizeHintForColumn(0);
                // Kerned pairs ("AV", "To") are what makes the sum wider.
                QVERIFY2(measured >= exact && measured <= exact + 2 + exact / 16,
                         qPrintable(QStringLiteral("%1: %2 vs %3").arg(caption).arg(measured).arg(exact)));
            }
        }
    }

    // The editor's load stores no captions; the tree builds them from the bytes as it shows them,
    // also after an edit. Number, field, bool and text edits write the record; a record too short
    // for its type is read-only; captions fit the tree or can be scrolled to.
    void valueEdits() {
        UiFixture f;
        f.Start();
        RecordPage& page = f.Page();
        QVERIFY(f.Node(0x0100)->Caption().empty());
        QVERIFY(Caption(page, f.Node(0x0100)).endsWith(QStringLiteral("Int value, 5")));
        QVERIFY(Caption(page, f.Node(0x0104)->Child(0)).endsWith(QStringLiteral("Max RPM, 2400")));
        f.TypeNumber(0x0104, QStringLiteral("1000"), 0);
        QCOMPARE(f.Node(0x0104)->record.data, (std::vector<uint8_t>{0xE8, 0x03, 0, 0, 'a', 'b', 0, 0, 0, 0}));
        QVERIFY(f.window->Changes().IsChanged());
        // The hex views of the field and of its parent show the new bytes.
        QVERIFY(HexRow(page.HexEditor).startsWith(QStringLiteral("0000 0000  E8 03")));
        f.Select(0x0104);
        QVERIFY(HexRow(page.HexEditor).mid(11).startsWith(QStringLiteral("E8 03 00 00 61 62")));

        // The bool editor forwards the click (the bytes written are checked with the edits).
        f.window->Changes().SetChanged(false);
        f.Node(0x0103)->record.data = {1, 0, 0, 1};
        f.Select(0x0103);
        QTest::mouseClick(page.rbFalse, Qt::LeftButton);
        QCOMPARE(f.Node(0x0103)->record.data, (std::vector<uint8_t>{0, 0, 0, 0}));
        QVERIFY(Caption(page, f.Node(0x0103)).endsWith(QStringLiteral("FALSE")));
        QVERIFY(f.window->Changes().IsChanged());

        // Every keystroke is an edit: bytes, caption, hex view and flag follow; a refused value
        // keeps the record and the next keystroke is checked again.
        f.window->Changes().SetChanged(false);
        f.TypeNumber(0x0100, QStringLiteral("1234"));
        QLineEdit* edit = page.eNumber;
        RecordNode* node = f.Node(0x0100);
        QCOMPARE(node->record.data, (std::vector<uint8_t>{0xD2, 0x04}));
        QVERIFY(f.window->Changes().IsChanged());
        QVERIFY(Caption(page, node).endsWith(QStringLiteral(", 1234")));
        QVERIFY(HexRow(page.HexEditor).startsWith(QStringLiteral("0035 0000  D2 04")));
        edit->setText(QStringLiteral("32768"));
        QCOMPARE(node->record.data, (std::vector<uint8_t>{0xD2, 0x04}));
        edit->setFocus();
        edit->end(false);
        QTest::keyClick(edit, Qt::Key_Backspace);
        QCOMPARE(node->record.data, (std::vector<uint8_t>{0xCC, 0x0C}));
        QCOMPARE(f.prompts.shown.size(), size_t{1});
        f.Select(0x0101);
        edit->setText(QStringLiteral("1.5.3"));
        QCOMPARE(f.Node(0x0101)->record.data, Le16(182));
        QCOMPARE(f.prompts.shown.size(), size_t{1}); // told on the field, not in a box
        edit->setText(QStringLiteral("1,5")); // either decimal mark
        QCOMPARE(f.Node(0x0101)->record.data, Le16(273));

        // A record shorter than its type is shown read-only, and says why.
        f.prompts.shown.clear();
        f.OpenFile(QStringLiteral("short.air"), AirBytes({{0x0100, {5}}, {0x0103, {1, 0}}}));
        for (const auto& [number, needed] : {std::pair{0x0100u, 2}, {0x0103u, 4}}) {
            f.Select(number);
            QCOMPARE(page.HelpMemo->toPlainText().section(u'\n', 0, 0),
                     QStringLiteral("Read only: this record holds %1 bytes, fewer than the %2 its "
                                    "type needs.").arg(number == 0x0100u ? 1 : 2).arg(needed));
        }
        QVERIFY(!page.rbTrue->isEnabled());
        f.Select(0x0100);
        QVERIFY(page.eNumber->isReadOnly());
        page.eNumber->setFocus();
        QTest::keyClicks(page.eNumber, QStringLiteral("7"));
        QCOMPARE(f.Node(0x0100)->record.data, std::vector<uint8_t>{5});
        QVERIFY(f.prompts.shown.empty() && !f.window->Changes().IsChanged());
        f.window->OpenAirFile(f.Path(QStringLiteral("plane.air")));
        f.Select(0x0100);
        QVERIFY(!page.eNumber->isReadOnly() && !page.HelpMemo->toPlainText().contains(u'%'));

        // Captions end in their values: a typical one fits at the default width, and a longer one
        // can be scrolled to rather than being cut off.
        QTreeView* tree = page.TV;
        const int typical =
            tree->fontMetrics().horizontalAdvance(QStringLiteral("316 (INT32) System value 0316, 20480"));
        QVERIFY2(tree->viewport()->width() >= typical + tree->indentation() + 8,
                 qPrintable(QString::number(tree->viewport()->width())));
        QCOMPARE(tree->horizontalScrollBar()->maximum(), 0);
        page.ApplyPanelSizes(60, 370, 238);
        QTRY_VERIFY(tree->horizontalScrollBar()->maximum() > 0);

        // Texts, on the file as loaded again.
        RecordNode* title = f.Node(0x0001);
        // Enter makes a line break only in record 0x0003.
        for (uint32_t number : {0x0001u, 0x0003u}) {
            f.Select(number);
            page.TextMemo->moveCursor(QTextCursor::End);
            QTest::keyClick(page.TextMemo, Qt::Key_Return);
            QCOMPARE(f.window->Changes().IsChanged(), number == 0x0003u);
        }
        QTest::keyClicks(page.TextMemo, QStringLiteral("x"));
        QCOMPARE(f.Node(0x0003)->record.Text(), std::string("line one\r\nline two\r\nx"));
        f.window->Changes().SetChanged(false);

        // More than 32,000 characters are refused.
        f.Select(0x0001);
        page.TextMemo->setPlainText(QString(32001, u'x'));
        QCOMPARE(f.prompts.shown.size(), size_t{1});
        QCOMPARE(f.prompts.shown[0].caption, std::string("Information"));
        QCOMPARE(title->record.data, kTrainer);
        QVERIFY(!f.window->Changes().IsChanged());

        // A typed text sets the text's length, and the padding after its zero stays; texts are
        // Windows-1252, one byte a character.
        page.TextMemo->selectAll();
        QTest::keyClicks(page.TextMemo, QStringLiteral("ab"));
        QCOMPARE(title->record.data, (std::vector<uint8_t>{'a', 'b', 0, 0, 0}));
        QCOMPARE(page.HexEditor->toPlainText().section(u'\n', 0, 0), QStringLiteral("Length = 4"));
        page.TextMemo->textCursor().insertText(QStringLiteral("é€"));
        QCOMPARE(title->record.data, (std::vector<uint8_t>{'a', 'b', 0xE9, 0x80, 0, 0, 0}));
        QVERIFY(f.window->Changes().IsChanged());
        QVERIFY(HexRow(page.HexEditor).contains(QStringLiteral("abé€")));
        // A character without a byte is refused, and the memo shows what is stored.
        page.TextMemo->textCursor().insertText(QStringLiteral("Ω"));
        QCOMPARE(title->record.data, (std::vector<uint8_t>{'a', 'b', 0xE9, 0x80, 0, 0, 0}));
        QCOMPARE(page.TextMemo->toPlainText(), QStringLiteral("abé€"));
        QVERIFY(f.prompts.shown.back().text.starts_with("the character Ω cannot be stored"));
        f.prompts.shown.clear();

        // Bytes 0x80-0x9F show as their characters; the undefined 0x81 survives an edit.
        f.OpenFile(QStringLiteral("cp.air"), AirBytes({{0x0001, {0x80, 0x84, 0x81, 0x96, 0}}}));
        QCOMPARE(page.TextMemo->toPlainText(), QStringLiteral("€„\u0081–"));
        page.TextMemo->moveCursor(QTextCursor::End);
        QTest::keyClicks(page.TextMemo, QStringLiteral("x"));
        QCOMPARE(f.Node(0x0001)->record.data, (std::vector<uint8_t>{0x80, 0x84, 0x81, 0x96, 'x', 0}));
        // A text typed back to what it was changes no byte: x and Backspace in four zero bytes.
        f.OpenFile(QStringLiteral("pad.air"), AirBytes({{0x0001, {0, 0, 0, 0}}}));
        QTest::keyClicks(page.TextMemo, QStringLiteral("x"));
        QTest::keyClick(page.TextMemo, Qt::Key_Backspace);
        QCOMPARE(f.Node(0x0001)->record.data, (std::vector<uint8_t>{0, 0, 0, 0}));
        QVERIFY(f.window->isWindowModified());
        f.prompts.shown.clear();
        f.window->SaveAircraft1Click();
        QCOMPARE(f.ReadFile(QStringLiteral("pad.air")), AirBytes({{0x0001, {0, 0, 0, 0}}}));
        // Nothing to write: no backup pushed along, no "saved" message, no changed mark.
        QVERIFY(!QFile::exists(f.Path(QStringLiteral("pad.kvr1.air"))));
        QVERIFY(f.prompts.shown.empty());
        QVERIFY(!f.window->isWindowModified());
        f.prompts.shown.clear();
        f.window->OpenAirFile(f.Path(QStringLiteral("plane.air")));

        // A field's room is checked with the edits; the page reports it and keeps the bytes.
        f.Select(0x0104, 2);
        page.TextMemo->setPlainText(QStringLiteral("abc"));
        QCOMPARE(f.prompts.shown, (std::vector<ShownMessage>{
                                      {"inform", "Information", "this text field has room for 2 characters only; "
                                                                "the record is unchanged"}}));
        QCOMPARE(f.Node(0x0104)->record.data[4], uint8_t{'a'});
    }
};

QTEST_MAIN(EditingTest)
#include "EditingTest.moc"
