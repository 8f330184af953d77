// The hex view, find, the record clipboard and the plug-ins window, driven with real keys
// and clicks on the running editor window.
#include "RecordCommands.h"
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
#include <QTextBlock>
#include <QTimer>
#include <QTreeView>

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
};

QTEST_MAIN(EditingTest)
#include "EditingTest.moc"
