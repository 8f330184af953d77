// The record view and its editors on a real window: what selecting a record shows, and what
// typing into the editors does to the record's bytes, its caption and the changed flag.
#include "ChangeTracker.h"
#include "RecordTreeModel.h"
#include "UiFixture.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTreeView>

using namespace kelvara;
using namespace kelvara::test;

namespace {

QStringList Lines(const QPlainTextEdit* memo) {
    return memo->toPlainText().split(QLatin1Char('\n'));
}

std::vector<uint8_t> Bytes(const RecordNode* node) {
    return node->record.data;
}

QString Caption(const RecordNode* node) {
    return QString::fromLatin1(node->caption);
}

QString Blanks(int n) {
    return QString(n, QLatin1Char(' '));
}

} // namespace

class RecordPageTest : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();

    void numberRecordShowsTitleHelpHexAndNumberPanel();
    void scaledNumbersAreCutToFiveDecimals();
    void textRecordShowsItsTextWithoutTheZeroByte();
    void boolRecordChecksItsRadioButton();
    void recordWithoutEditorShowsNoPanel();
    void selectingNodesIsNoEdit();
    void selectorRowsExistHiddenFromTheStart();

    void typedNumberGoesIntoBytesCaptionAndFlag();
    void valueOutsideTheRangeIsRefusedAndNothingChanges();
    void minusAloneStoresZeroWithoutMessage();
    void notANumberIsReportedAndNothingChanges();
    void fieldEditChangesTheParentsBytes();
    void boolClickWritesAllFourBytes();

    void textEditSetsTheNewLength();
    void textOfMoreThan32000CharactersIsRefused();
    void enterMakesALineBreakOnlyInRecordThree();
    void textFieldLongerThanItsRoomIsRefused();

    void invalidTblDbIsReported();

  private:
    std::unique_ptr<UiFixture> f;
};

void RecordPageTest::init() {
    QLocale::setDefault(QLocale::c());
    f = std::make_unique<UiFixture>();
    f->Start();
}

void RecordPageTest::cleanup() {
    f->window->Changes().SetChanged(false);
    f.reset();
}

void RecordPageTest::numberRecordShowsTitleHelpHexAndNumberPanel() {
    f->Select(0x0100);
    RecordPage& page = f->Page();
    QCOMPARE(page.TitlePanel->text(), QStringLiteral("Int value"));
    QCOMPARE(page.HelpMemo->toPlainText(), QStringLiteral("A plain number"));
    QVERIFY(page.NumberPanel->isVisible());
    QVERIFY(!page.TextPanel->isVisible());
    QVERIFY(!page.BoolPanel->isVisible());
    QVERIFY(!page.sbTbl3d->isVisible());
    QCOMPARE(page.eNumber->text(), QStringLiteral("5"));
    // Data of 0x0100 starts after 0x0001 (8 + 10 bytes), 0x0003 (8 + 19) and its own header.
    const QStringList hex = Lines(page.HexEditor);
    QCOMPARE(hex.size(), 3);
    QCOMPARE(hex[0], QStringLiteral("Length = 2"));
    QCOMPARE(hex[1], Blanks(44));
    QCOMPARE(hex[2],
             QStringLiteral("0035 0000  05 00") + Blanks(20) + QStringLiteral("..") + Blanks(6));

    f->Select(0x0001);
    QCOMPARE(Lines(page.HelpMemo), (QStringList{QStringLiteral("The title of the aircraft"),
                                                QStringLiteral("shown in the menu")}));
}

void RecordPageTest::scaledNumbersAreCutToFiveDecimals() {
    f->Select(0x0101);
    QCOMPARE(f->Page().eNumber->text(), QStringLiteral("0.99999"));
    QVERIFY2(Caption(f->Node(0x0101)).endsWith(QStringLiteral("0.999989986419678")),
             qPrintable(Caption(f->Node(0x0101))));
    f->Select(0x0102);
    QCOMPARE(f->Page().eNumber->text(), QStringLiteral("15.3787"));
}

void RecordPageTest::textRecordShowsItsTextWithoutTheZeroByte() {
    RecordPage& page = f->Page();
    f->Select(0x0001);
    QVERIFY(page.TextPanel->isVisible());
    QCOMPARE(page.TextMemo->toPlainText(), QStringLiteral("Trainer"));
    QCOMPARE(Lines(page.HexEditor)[0], QStringLiteral("Length = 9"));
    f->Select(0x0003);
    QCOMPARE(Lines(page.TextMemo),
             (QStringList{QStringLiteral("line one"), QStringLiteral("line two")}));
}

void RecordPageTest::boolRecordChecksItsRadioButton() {
    f->Select(0x0103);
    QVERIFY(f->Page().BoolPanel->isVisible());
    QVERIFY(f->Page().rbTrue->isChecked());
    QVERIFY(!f->Page().rbFalse->isChecked());
}

void RecordPageTest::recordWithoutEditorShowsNoPanel() {
    f->Select(0x0104);
    RecordPage& page = f->Page();
    QCOMPARE(page.TitlePanel->text(), QStringLiteral("Engine data"));
    for (QWidget* panel : {page.TextPanel, page.NumberPanel, static_cast<QWidget*>(page.BoolPanel),
                           static_cast<QWidget*>(page.sbTbl3d)}) {
        QVERIFY(!panel->isVisible());
    }
    QCOMPARE(Lines(page.HexEditor)[0], QStringLiteral("Length = 10"));
}

void RecordPageTest::selectingNodesIsNoEdit() {
    // Every selection writes into the editors; none of those writes may count as an edit.
    const auto before = f->Node(0x0001)->record.data;
    for (uint32_t number : {0x0001u, 0x0003u, 0x0100u, 0x0101u, 0x0102u, 0x0103u, 0x0106u}) {
        f->Select(number);
    }
    f->Select(0x0104, 0);
    f->Select(0x0104, 2);
    QVERIFY(!f->window->Changes().IsChanged());
    QVERIFY(f->prompts.shown.empty());
    QCOMPARE(f->Node(0x0001)->record.data, before);
}

void RecordPageTest::selectorRowsExistHiddenFromTheStart() {
    RecordPage& page = f->Page();
    QCOMPARE(page.selectorButtons.size(), size_t{RecordPage::kSelectorRows});
    QCOMPARE(page.selectorEdits.size(), size_t{RecordPage::kSelectorRows});
    QCOMPARE(page.selectorButtons[499]->geometry(), QRect(16, 25 + 20 * 499, 17, 17));
    QCOMPARE(page.selectorEdits[499]->geometry(), QRect(37, 23 + 20 * 499, 120, 21));
    for (size_t i = 0; i < page.selectorButtons.size(); ++i) {
        QVERIFY(page.selectorButtons[i]->isHidden());
        QVERIFY(page.selectorEdits[i]->isHidden());
    }
    QVERIFY(page.CompareMemo->isHidden());
    QVERIFY(page.bExporttable->isHidden());
    QVERIFY(page.bImporttable->isHidden());
}

void RecordPageTest::typedNumberGoesIntoBytesCaptionAndFlag() {
    f->Select(0x0100);
    RecordPage& page = f->Page();
    page.eNumber->selectAll();
    QTest::keyClicks(page.eNumber, QStringLiteral("12"));
    QCOMPARE(Bytes(f->Node(0x0100)), (std::vector<uint8_t>{12, 0}));
    QTest::keyClicks(page.eNumber, QStringLiteral("34"));
    QCOMPARE(Bytes(f->Node(0x0100)), (std::vector<uint8_t>{0xD2, 0x04}));
    QCOMPARE(page.eNumber->text(), QStringLiteral("1234"));
    QVERIFY(f->window->Changes().IsChanged());
    QVERIFY2(Caption(f->Node(0x0100)).endsWith(QStringLiteral(", 1234")),
             qPrintable(Caption(f->Node(0x0100))));
    const QModelIndex index = page.Model()->IndexOf(f->Node(0x0100));
    QCOMPARE(page.Model()->data(index).toString(), Caption(f->Node(0x0100)));
    QVERIFY(Lines(page.HexEditor)[2].startsWith(QStringLiteral("0035 0000  D2 04")));
    QVERIFY(f->prompts.shown.empty());
}

void RecordPageTest::valueOutsideTheRangeIsRefusedAndNothingChanges() {
    f->Select(0x0100);
    RecordPage& page = f->Page();
    const QString caption = Caption(f->Node(0x0100));
    page.eNumber->setText(QStringLiteral("32768"));
    QCOMPARE(f->prompts.shown.size(), size_t{1});
    QCOMPARE(f->prompts.shown[0].caption, std::string("Information"));
    QCOMPARE(f->prompts.shown[0].text, std::string("values between -32768 and 32767 only"));
    QCOMPARE(Bytes(f->Node(0x0100)), (std::vector<uint8_t>{5, 0}));
    QCOMPARE(Caption(f->Node(0x0100)), caption);
    QVERIFY(!f->window->Changes().IsChanged());
    QCOMPARE(page.eNumber->text(), QStringLiteral("32768"));

    // The next keystroke is checked again: deleting the 8 gives an accepted value.
    page.eNumber->setFocus();
    page.eNumber->end(false);
    QTest::keyClick(page.eNumber, Qt::Key_Backspace);
    QCOMPARE(Bytes(f->Node(0x0100)), (std::vector<uint8_t>{0xCC, 0x0C}));
    QCOMPARE(f->prompts.shown.size(), size_t{1});
}

void RecordPageTest::minusAloneStoresZeroWithoutMessage() {
    f->Select(0x0100);
    f->Page().eNumber->selectAll();
    QTest::keyClicks(f->Page().eNumber, QStringLiteral("-"));
    QCOMPARE(Bytes(f->Node(0x0100)), (std::vector<uint8_t>{0, 0}));
    QVERIFY(f->prompts.shown.empty());
    QVERIFY(f->window->Changes().IsChanged());
}

void RecordPageTest::notANumberIsReportedAndNothingChanges() {
    f->Select(0x0101);
    f->Page().eNumber->setText(QStringLiteral("1,5"));
    QCOMPARE(f->prompts.shown.size(), size_t{1});
    QCOMPARE(f->prompts.shown[0].kind, std::string("error"));
    QCOMPARE(Bytes(f->Node(0x0101)), Le16(182));
    QVERIFY(!f->window->Changes().IsChanged());
}

void RecordPageTest::fieldEditChangesTheParentsBytes() {
    f->Select(0x0104, 0);
    RecordPage& page = f->Page();
    QCOMPARE(page.TitlePanel->text(), QStringLiteral("Max RPM"));
    QCOMPARE(page.HelpMemo->toPlainText(), QStringLiteral("Highest engine speed"));
    QCOMPARE(page.eNumber->text(), QStringLiteral("2400"));
    page.eNumber->selectAll();
    QTest::keyClicks(page.eNumber, QStringLiteral("1000"));
    const std::vector<uint8_t> parent = Bytes(f->Node(0x0104));
    QCOMPARE(parent[0], uint8_t{0xE8});
    QCOMPARE(parent[1], uint8_t{0x03});
    QCOMPARE(parent[4], uint8_t{'a'});

    // The parent's hex view shows the new bytes; the field's hex view counts from the parent.
    QVERIFY(Lines(page.HexEditor)[2].startsWith(QStringLiteral("0000 0000  E8 03")));
    f->Select(0x0104);
    QVERIFY(Lines(page.HexEditor)[2].mid(11).startsWith(QStringLiteral("E8 03 00 00 61 62")));
    QVERIFY(f->window->Changes().IsChanged());
}

void RecordPageTest::boolClickWritesAllFourBytes() {
    f->Node(0x0103)->record.data = {1, 0, 0, 1}; // a stray high byte must not keep it true
    f->Select(0x0103);
    QTest::mouseClick(f->Page().rbFalse, Qt::LeftButton);
    QCOMPARE(Bytes(f->Node(0x0103)), (std::vector<uint8_t>{0, 0, 0, 0}));
    QVERIFY(Caption(f->Node(0x0103)).endsWith(QStringLiteral("FALSE")));
    QVERIFY(f->window->Changes().IsChanged());
    QTest::mouseClick(f->Page().rbTrue, Qt::LeftButton);
    QCOMPARE(Bytes(f->Node(0x0103)), (std::vector<uint8_t>{1, 0, 0, 0}));
}

void RecordPageTest::textEditSetsTheNewLength() {
    f->Select(0x0001);
    RecordPage& page = f->Page();
    page.TextMemo->selectAll();
    QTest::keyClicks(page.TextMemo, QStringLiteral("ab"));
    QCOMPARE(Bytes(f->Node(0x0001)), (std::vector<uint8_t>{'a', 'b', 0}));
    QCOMPARE(f->Node(0x0001)->record.length, 3u);
    QCOMPARE(Lines(page.HexEditor)[0], QStringLiteral("Length = 2"));
    QCOMPARE(page.TextMemo->toPlainText(), QStringLiteral("ab"));
    QVERIFY(f->window->Changes().IsChanged());

    // Latin-1 letters are stored as single bytes.
    page.TextMemo->textCursor().insertText(QString(QChar(0xE9)));
    QCOMPARE(Bytes(f->Node(0x0001)), (std::vector<uint8_t>{'a', 'b', 0xE9, 0}));
}

void RecordPageTest::textOfMoreThan32000CharactersIsRefused() {
    f->Select(0x0001);
    RecordPage& page = f->Page();
    page.TextMemo->setPlainText(QString(32001, QLatin1Char('x')));
    QCOMPARE(f->prompts.shown.size(), size_t{1});
    QCOMPARE(f->prompts.shown[0].caption, std::string("Information"));
    QCOMPARE(f->Node(0x0001)->record.data, TextBytes("Trainer", 10));
    QVERIFY(!f->window->Changes().IsChanged());

    page.TextMemo->setPlainText(QString(32000, QLatin1Char('x')));
    QCOMPARE(f->Node(0x0001)->record.length, 32001u);
    QCOMPARE(f->prompts.shown.size(), size_t{1});
}

void RecordPageTest::enterMakesALineBreakOnlyInRecordThree() {
    RecordPage& page = f->Page();
    f->Select(0x0001);
    page.TextMemo->moveCursor(QTextCursor::End);
    QTest::keyClick(page.TextMemo, Qt::Key_Return);
    QCOMPARE(page.TextMemo->toPlainText(), QStringLiteral("Trainer"));
    QVERIFY(!f->window->Changes().IsChanged());

    f->Select(0x0003);
    page.TextMemo->moveCursor(QTextCursor::End);
    QTest::keyClick(page.TextMemo, Qt::Key_Return);
    QTest::keyClicks(page.TextMemo, QStringLiteral("x"));
    QCOMPARE(f->Node(0x0003)->record.Text(), std::string("line one\r\nline two\r\nx"));
}

void RecordPageTest::textFieldLongerThanItsRoomIsRefused() {
    f->Select(0x0104, 2);
    RecordPage& page = f->Page();
    QVERIFY(page.TextPanel->isVisible());
    QCOMPARE(page.TextMemo->toPlainText(), QStringLiteral("ab"));
    // The field runs to its zero byte: room for two characters.
    page.TextMemo->setPlainText(QStringLiteral("abc"));
    QCOMPARE(f->prompts.shown.size(), size_t{1});
    QCOMPARE(
        f->prompts.shown[0].text,
        std::string("this text field has room for 2 characters only; the record is unchanged"));
    QCOMPARE(Bytes(f->Node(0x0104))[4], uint8_t{'a'});
    QVERIFY(!f->window->Changes().IsChanged());

    // A shorter text fits; the field keeps its room and the parent takes the bytes.
    page.TextMemo->setPlainText(QStringLiteral("x"));
    const std::vector<uint8_t> parent = Bytes(f->Node(0x0104));
    QCOMPARE(std::vector<uint8_t>(parent.begin() + 4, parent.end()),
             (std::vector<uint8_t>{'x', 0, 0, 0, 0, 0}));
    QCOMPARE(parent.size(), size_t{10});
    QVERIFY(f->window->Changes().IsChanged());
}

void RecordPageTest::invalidTblDbIsReported() {
    f->Select(0x0106);
    QVERIFY(f->prompts.shown.empty());
    f->Select(0x0105);
    QCOMPARE(f->prompts.shown.size(), size_t{1});
    QCOMPARE(f->prompts.shown[0].caption, std::string("Warning"));
    const std::string expected = "this is not a valid TBLDB " + f->Folder() + "/plane";
    QCOMPARE(f->prompts.shown[0].text, expected);
    QCOMPARE(f->Page().TitlePanel->text(), QStringLiteral("Lift table"));
}

QTEST_MAIN(RecordPageTest)
#include "RecordPageTest.moc"
