// The application's style, with the menu bar's overflow icon read from its file only when the
// icon is first drawn. Qt asks for it when a menu bar is made, and reading that file probes
// every installed image plug-in, which costs start-up time for an icon that is rarely shown.
#pragma once

#include <QProxyStyle>

namespace kelvara {

class DeferredStyleIcons : public QProxyStyle {
  public:
    // Without a base, the platform's default style.
    explicit DeferredStyleIcons(QStyle* base = nullptr);

    [[nodiscard]] QIcon standardIcon(StandardPixmap which, const QStyleOption* option = nullptr,
                                     const QWidget* widget = nullptr) const override;
};

} // namespace kelvara
