#pragma once

#include <QFont>
#include <QStyledItemDelegate>

#include <array>

namespace kelvara {

// The record tree's captions, measured and drawn with one text layout at most. The tree sizes
// its column to the widest caption, measuring up to a thousand rows on every file load and
// selection, and the style lays a caption out again for each part of a row it places; together
// that cost more than drawing the rest of the window. Captions of Latin-1 characters are
// measured by summing per-character advances, with a pixel to spare for rounding and kerning;
// anything else is laid out as usual.
class CaptionWidthDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    [[nodiscard]] QSize sizeHint(const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

  private:
    mutable QFont mFont;
    mutable int mRowHeight = -1;
    mutable std::array<qreal, 256> mAdvances{};  // below zero: not measured yet
};

} // namespace kelvara
