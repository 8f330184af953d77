#include "DeferredStyleIcons.h"

#include <QIconEngine>
#include <QPainter>
#include <QPointer>

namespace kelvara {

namespace {

class DeferredIconEngine : public QIconEngine {
  public:
    DeferredIconEngine(const QStyle* style, QStyle::StandardPixmap which)
        : mStyle(style), mWhich(which) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        Real().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return Real().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override {
        return Real().pixmap(size, scale, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return Real().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return Real().availableSizes(mode, state);
    }
    QIconEngine* clone() const override { return new DeferredIconEngine(mStyle, mWhich); }

  private:
    const QIcon& Real() {
        if (!mLoaded && mStyle) {
            mIcon = mStyle->standardIcon(mWhich);
            mLoaded = true;
        }
        return mIcon;
    }

    QPointer<const QStyle> mStyle;
    QStyle::StandardPixmap mWhich;
    QIcon mIcon;
    bool mLoaded = false;
};

} // namespace

DeferredStyleIcons::DeferredStyleIcons(QStyle* base) : QProxyStyle(base) {}

QIcon DeferredStyleIcons::standardIcon(StandardPixmap which, const QStyleOption* option,
                                       const QWidget* widget) const {
    if (which != SP_ToolBarHorizontalExtensionButton && which != SP_ToolBarVerticalExtensionButton) {
        return QProxyStyle::standardIcon(which, option, widget);
    }
    return QIcon(new DeferredIconEngine(baseStyle(), which));
}

} // namespace kelvara
