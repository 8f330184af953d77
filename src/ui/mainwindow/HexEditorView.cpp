#include "HexEditorView.h"

#include "UiTexts.h"

#include <QFontDatabase>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTextBlock>

namespace kelvara {

namespace {

// Windows-1252 gives one character per byte, so that text columns are byte columns.
QString LineText(const std::string& bytes) {
    return FromRecordText(bytes);
}

// A character that no record byte stands for is not typed.
std::optional<uint8_t> TypedByte(QChar typed) {
    const std::optional<std::string> byte = ToRecordText(QString(typed));
    if (!byte || byte->size() != 1) {
        return std::nullopt;
    }
    return static_cast<uint8_t>((*byte)[0]);
}

bool IsClipboardKey(const QKeyEvent* key) {
    return key->matches(QKeySequence::Copy) || key->matches(QKeySequence::Cut) ||
           key->matches(QKeySequence::Paste);
}

} // namespace

HexEditorView::HexEditorView(QWidget* parent) : QPlainTextEdit(parent) {
    setObjectName(QStringLiteral("HexEditor"));
    setReadOnly(true);
    setUndoRedoEnabled(false);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setTabChangesFocus(true);
    setContextMenuPolicy(Qt::NoContextMenu);
    // Read-only text hides the caret and takes no keys; this view needs both.
    setTextInteractionFlags(Qt::TextSelectableByKeyboard);
    setStyleSheet(QStringLiteral("QPlainTextEdit { background: #c0c0c0; }"));
}

void HexEditorView::ShowRecord(const std::string& lengthLine, std::span<const uint8_t> data,
                               size_t shownLength, uint32_t baseOffset, bool hasLines) {
    // The same record after an edit: only its changed rows are written into the document.
    if (const auto changed = mState.Reload(lengthLine, data, shownLength, baseOffset, hasLines)) {
        for (int line = changed->first; line < changed->second; ++line) {
            ShowLine(line);
        }
        ShowSelection();
        verticalScrollBar()->setValue(0);
        horizontalScrollBar()->setValue(0);
        return;
    }
    QStringList lines;
    for (const std::string& line : mState.Lines()) {
        lines << LineText(line);
    }
    setPlainText(lines.join(QLatin1Char('\n')));
    ShowSelection();
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
}

void HexEditorView::ShowSelection() {
    if (mState.Lines().empty()) {
        return;
    }
    const HexCell cell = mState.Selection();
    const QTextBlock block = document()->findBlockByNumber(cell.line);
    if (!block.isValid()) {
        return;
    }
    QTextCursor cursor(block);
    cursor.setPosition(block.position() + cell.column);
    cursor.setPosition(block.position() + cell.column + 1, QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

void HexEditorView::ShowLine(int line) {
    const QTextBlock block = document()->findBlockByNumber(line);
    if (!block.isValid()) {
        return;
    }
    QTextCursor cursor(block);
    // Within an edit block the cursor does not lay its line out at once; a plain text view
    // whose widest laid-out line narrows measures every line, which in a large record is most
    // of an edit's cost.
    cursor.beginEditBlock();
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    cursor.insertText(LineText(mState.Lines()[static_cast<size_t>(line)]));
    cursor.endEditBlock();
}

bool HexEditorView::event(QEvent* event) {
    // The view starts hidden; its font is a second font file to load, so it waits until shown.
    if (event->type() == QEvent::Show && !mFontSet) {
        mFontSet = true;
        setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    }
    // The record clipboard keys belong to the window, not to this view's one-character copy.
    if (event->type() == QEvent::ShortcutOverride && IsClipboardKey(static_cast<QKeyEvent*>(event))) {
        event->ignore();
        return false;
    }
    return QPlainTextEdit::event(event);
}

void HexEditorView::keyPressEvent(QKeyEvent* event) {
    event->accept();
    const int key = event->key();
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
        focusNextPrevChild(key == Qt::Key_Tab && !(event->modifiers() & Qt::ShiftModifier));
        return;
    }
    const Qt::KeyboardModifiers commands = Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    if (event->modifiers() & commands) {
        event->ignore(); // shortcuts of the window
        return;
    }
    switch (key) {
    case Qt::Key_Left:
        mState.Key(HexKey::Left);
        break;
    case Qt::Key_Up:
        mState.Key(HexKey::Up);
        break;
    case Qt::Key_Right:
        mState.Key(HexKey::Right);
        break;
    case Qt::Key_Down:
        mState.Key(HexKey::Down);
        break;
    default:
        for (const QChar typed : event->text()) {
            const std::optional<uint8_t> byte = TypedByte(typed);
            if (!byte) {
                continue;
            }
            if (const std::optional<int> line = mState.Type(*byte)) {
                ShowLine(*line);
                emit BytesTyped();
            }
        }
        break;
    }
    ShowSelection();
    ensureCursorVisible();
}

void HexEditorView::HexEditorClick(const QPoint& at) {
    const QTextCursor caret = cursorForPosition(at);
    mState.Click(caret.blockNumber(), caret.positionInBlock());
    ShowSelection();
}

void HexEditorView::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    mState.SetMouseHeld(true);
    HexEditorClick(event->position().toPoint());
    event->accept();
}

void HexEditorView::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event);
}

void HexEditorView::mouseMoveEvent(QMouseEvent* event) {
    event->accept(); // no drag selection: one cell stays selected
}

void HexEditorView::mouseReleaseEvent(QMouseEvent* event) {
    mState.SetMouseHeld(false);
    event->accept();
}

} // namespace kelvara
