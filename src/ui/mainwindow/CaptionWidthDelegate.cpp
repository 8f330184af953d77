#include "CaptionWidthDelegate.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QPainter>
#include <QStyle>
#include <QtMath>

namespace kelvara {

namespace {

// The space the style leaves on each side of an item's text.
int TextMargin(const QStyleOptionViewItem& option) {
    const QStyle* style = option.widget ? option.widget->style() : QApplication::style();
    return style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, option.widget) + 1;
}

} // namespace

QSize CaptionWidthDelegate::sizeHint(const QStyleOptionViewItem& option,
                                     const QModelIndex& index) const {
    const QString text = index.data(Qt::DisplayRole).toString();
    if (mRowHeight < 0 || option.font != mFont) {
        mFont = option.font;
        mAdvances.fill(-1);
        mRowHeight = QStyledItemDelegate::sizeHint(option, index).height();
    }
    const QFontMetricsF metrics(mFont);
    qreal width = 0;
    for (const QChar ch : text) {
        if (ch.unicode() >= mAdvances.size() || ch.category() == QChar::Mark_NonSpacing) {
            return QStyledItemDelegate::sizeHint(option, index);
        }
        qreal& advance = mAdvances[ch.unicode()];
        if (advance < 0) {
            advance = metrics.horizontalAdvance(ch);
        }
        width += advance;
    }
    return {qCeil(width) + 1 + 2 * TextMargin(option), mRowHeight};
}

void CaptionWidthDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
    if (option.state & QStyle::State_HasFocus) {
        // The focus frame goes over the text, where the style places it.
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QString text = item.text;
    // The style draws the background and selection of a row without text.
    item.text.clear();
    const QWidget* widget = item.widget;
    const QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);

    QPalette::ColorGroup group =
        item.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
    if (group == QPalette::Normal && !(item.state & QStyle::State_Active)) {
        group = QPalette::Inactive;
    }
    const int textMargin = TextMargin(item);
    painter->save();
    painter->setClipRect(item.rect);
    painter->setFont(item.font);
    painter->setPen(item.palette.color(
        group, item.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
    painter->drawText(item.rect.adjusted(textMargin, 0, -textMargin, 0),
                      int(QStyle::visualAlignment(item.direction, item.displayAlignment)) |
                          Qt::TextSingleLine | Qt::TextDontClip,
                      text);
    painter->restore();
}

} // namespace kelvara
