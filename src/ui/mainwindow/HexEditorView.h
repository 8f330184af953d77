// The hex view widget: shows the text of the hex view's state machine with its one selected
// cell, and forwards clicks, arrows and typed characters to it.
#pragma once

#include "HexEditState.h"

#include <QPlainTextEdit>

#include <span>
#include <string>

namespace kelvara {

class HexEditorView : public QPlainTextEdit {
    Q_OBJECT
  public:
    explicit HexEditorView(QWidget* parent = nullptr);

    void ShowRecord(const std::string& lengthLine, std::span<const uint8_t> data,
                    size_t shownLength, uint32_t baseOffset, bool hasLines);
    void SetTableShown(bool shown) { mState.SetTableShown(shown); }
    [[nodiscard]] const HexEditState& State() const { return mState; }

  signals:
    // A typed character changed the text; the record takes the bytes from State().
    void BytesTyped();

  protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void HexEditorClick(const QPoint& at);
    void ShowSelection();
    void ShowLine(int line);

    HexEditState mState;
    bool mFontSet = false;
};

} // namespace kelvara
