// The record view and its editors on a real window: what selecting a record shows, and what
// typing into the editors does to the record's bytes, its caption and the changed flag.
#include "CaptionWidthDelegate.h"
#include "ChangeTracker.h"
#include "HexViewText.h"
#include "RecordTreeModel.h"
#include "TablePanel.h"
#include "UiFixture.h"

#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTreeView>

using namespace kelvara;
using namespace kelvara::test;

namespace {

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

class RecordPageTest : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        QLocale::setDefault(QLocale::c());
        f = std::make_unique<UiFixture>();
        f->Start();
    }
    void cleanup() { f.reset(); }

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
        QFETCH(SelectCase, c);
        RecordPage& page = f->Page();
        const std::vector<uint8_t> before = f->Node(c.number)->record.data.ToVector();
        f->Select(c.number, c.field);

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
        QVERIFY(!f->window->Changes().IsChanged());
        QCOMPARE(f->Node(c.number)->record.data, before);
        QCOMPARE(f->prompts.shown.size(), size_t(*c.warning ? 1 : 0));
        if (*c.warning) {
            QCOMPARE(f->prompts.shown[0].caption, std::string("Warning"));
            QCOMPARE(QString::fromStdString(f->prompts.shown[0].text),
                     QString::fromLatin1(c.warning).arg(QString::fromStdString(f->Folder())));
        }
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
    // also after an edit.
    void numberFieldAndBoolEditsWriteTheRecord() {
        RecordPage& page = f->Page();
        QVERIFY(f->Node(0x0100)->Caption().empty());
        QVERIFY(Caption(page, f->Node(0x0100)).endsWith(QStringLiteral("Int value, 5")));
        QVERIFY(Caption(page, f->Node(0x0104)->Child(0)).endsWith(QStringLiteral("Max RPM, 2400")));
        f->TypeNumber(0x0104, QStringLiteral("1000"), 0);
        QCOMPARE(f->Node(0x0104)->record.data, (std::vector<uint8_t>{0xE8, 0x03, 0, 0, 'a', 'b', 0, 0, 0, 0}));
        QVERIFY(f->window->Changes().IsChanged());
        // The hex views of the field and of its parent show the new bytes.
        QVERIFY(HexRow(page.HexEditor).startsWith(QStringLiteral("0000 0000  E8 03")));
        f->Select(0x0104);
        QVERIFY(HexRow(page.HexEditor).mid(11).startsWith(QStringLiteral("E8 03 00 00 61 62")));

        // The bool editor forwards the click (the bytes written are checked with the edits).
        f->window->Changes().SetChanged(false);
        f->Node(0x0103)->record.data = {1, 0, 0, 1};
        f->Select(0x0103);
        QTest::mouseClick(page.rbFalse, Qt::LeftButton);
        QCOMPARE(f->Node(0x0103)->record.data, (std::vector<uint8_t>{0, 0, 0, 0}));
        QVERIFY(Caption(page, f->Node(0x0103)).endsWith(QStringLiteral("FALSE")));
        QVERIFY(f->window->Changes().IsChanged());

        // Every keystroke is an edit: bytes, caption, hex view and flag follow; a refused value
        // keeps the record and the next keystroke is checked again.
        f->window->Changes().SetChanged(false);
        f->TypeNumber(0x0100, QStringLiteral("1234"));
        QLineEdit* edit = page.eNumber;
        RecordNode* node = f->Node(0x0100);
        QCOMPARE(node->record.data, (std::vector<uint8_t>{0xD2, 0x04}));
        QVERIFY(f->window->Changes().IsChanged());
        QVERIFY(Caption(page, node).endsWith(QStringLiteral(", 1234")));
        QVERIFY(HexRow(page.HexEditor).startsWith(QStringLiteral("0035 0000  D2 04")));
        edit->setText(QStringLiteral("32768"));
        QCOMPARE(node->record.data, (std::vector<uint8_t>{0xD2, 0x04}));
        edit->setFocus();
        edit->end(false);
        QTest::keyClick(edit, Qt::Key_Backspace);
        QCOMPARE(node->record.data, (std::vector<uint8_t>{0xCC, 0x0C}));
        QCOMPARE(f->prompts.shown.size(), size_t{1});
        f->Select(0x0101);
        edit->setText(QStringLiteral("1,5"));
        QCOMPARE(f->Node(0x0101)->record.data, Le16(182));
        QCOMPARE(f->prompts.shown.back().kind, std::string("error"));

        // A record shorter than its type is shown read-only, and says why.
        f->prompts.shown.clear();
        f->OpenFile(QStringLiteral("short.air"), AirBytes({{0x0100, {5}}, {0x0103, {1, 0}}}));
        for (const auto& [number, needed] : {std::pair{0x0100u, 2}, {0x0103u, 4}}) {
            f->Select(number);
            QCOMPARE(page.HelpMemo->toPlainText().section(u'\n', 0, 0),
                     QStringLiteral("Read only: this record holds %1 bytes, fewer than the %2 its "
                                    "type needs.").arg(number == 0x0100u ? 1 : 2).arg(needed));
        }
        QVERIFY(!page.rbTrue->isEnabled());
        f->Select(0x0100);
        QVERIFY(page.eNumber->isReadOnly());
        page.eNumber->setFocus();
        QTest::keyClicks(page.eNumber, QStringLiteral("7"));
        QCOMPARE(f->Node(0x0100)->record.data, std::vector<uint8_t>{5});
        QVERIFY(f->prompts.shown.empty() && !f->window->Changes().IsChanged());
        f->window->OpenAirFile(f->Path(QStringLiteral("plane.air")));
        f->Select(0x0100);
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
    }

    void textEdits() {
        RecordPage& page = f->Page();
        RecordNode* title = f->Node(0x0001);
        // Enter makes a line break only in record 0x0003.
        for (uint32_t number : {0x0001u, 0x0003u}) {
            f->Select(number);
            page.TextMemo->moveCursor(QTextCursor::End);
            QTest::keyClick(page.TextMemo, Qt::Key_Return);
            QCOMPARE(f->window->Changes().IsChanged(), number == 0x0003u);
        }
        QTest::keyClicks(page.TextMemo, QStringLiteral("x"));
        QCOMPARE(f->Node(0x0003)->record.Text(), std::string("line one\r\nline two\r\nx"));
        f->window->Changes().SetChanged(false);

        // More than 32,000 characters are refused.
        f->Select(0x0001);
        page.TextMemo->setPlainText(QString(32001, u'x'));
        QCOMPARE(f->prompts.shown.size(), size_t{1});
        QCOMPARE(f->prompts.shown[0].caption, std::string("Information"));
        QCOMPARE(title->record.data, kTrainer);
        QVERIFY(!f->window->Changes().IsChanged());

        // A typed text sets the new length; texts are Windows-1252, one byte a character.
        page.TextMemo->selectAll();
        QTest::keyClicks(page.TextMemo, QStringLiteral("ab"));
        QCOMPARE(title->record.data, (std::vector<uint8_t>{'a', 'b', 0}));
        QCOMPARE(page.HexEditor->toPlainText().section(u'\n', 0, 0), QStringLiteral("Length = 2"));
        page.TextMemo->textCursor().insertText(QStringLiteral("é€"));
        QCOMPARE(title->record.data, (std::vector<uint8_t>{'a', 'b', 0xE9, 0x80, 0}));
        QVERIFY(f->window->Changes().IsChanged());
        QVERIFY(HexRow(page.HexEditor).contains(QStringLiteral("abé€")));
        // A character without a byte is refused, and the memo shows what is stored.
        page.TextMemo->textCursor().insertText(QStringLiteral("Ω"));
        QCOMPARE(title->record.data, (std::vector<uint8_t>{'a', 'b', 0xE9, 0x80, 0}));
        QCOMPARE(page.TextMemo->toPlainText(), QStringLiteral("abé€"));
        QVERIFY(f->prompts.shown.back().text.starts_with("the character Ω cannot be stored"));
        f->prompts.shown.clear();

        // Bytes 0x80-0x9F show as their characters; the undefined 0x81 survives an edit.
        f->OpenFile(QStringLiteral("cp.air"), AirBytes({{0x0001, {0x80, 0x84, 0x81, 0x96, 0}}}));
        QCOMPARE(page.TextMemo->toPlainText(), QStringLiteral("€„\u0081–"));
        page.TextMemo->moveCursor(QTextCursor::End);
        QTest::keyClicks(page.TextMemo, QStringLiteral("x"));
        QCOMPARE(f->Node(0x0001)->record.data, (std::vector<uint8_t>{0x80, 0x84, 0x81, 0x96, 'x', 0}));
        f->window->OpenAirFile(f->Path(QStringLiteral("plane.air")));

        // A field's room is checked with the edits; the page reports it and keeps the bytes.
        f->Select(0x0104, 2);
        page.TextMemo->setPlainText(QStringLiteral("abc"));
        QCOMPARE(f->prompts.shown.size(), size_t{1});
        QCOMPARE(f->prompts.shown[0].text, std::string("this text field has room for 2 characters "
                                                       "only; the record is unchanged"));
        QCOMPARE(f->Node(0x0104)->record.data[4], uint8_t{'a'});
    }

  private:
    std::unique_ptr<UiFixture> f;
};

QTEST_MAIN(RecordPageTest)
#include "RecordPageTest.moc"
