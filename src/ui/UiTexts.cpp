#include "UiTexts.h"

#include "Settings.h"

#include <QStringList>

namespace kelvara {

QString Pick(const UiText& text, bool german) {
    return QString::fromUtf8(german ? text.german : text.english);
}

std::string PickUtf8(const UiText& text, bool german) {
    return german ? text.german : text.english;
}

QString QText(TextId id, const Settings& settings) {
    const std::string_view text = Text(id, settings);
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string Utf8Text(TextId id, const Settings& settings) {
    return std::string(Text(id, settings));
}

QString DialogFilter(std::string_view pairs) {
    const QStringList parts = QString::fromUtf8(pairs.data(), static_cast<qsizetype>(pairs.size()))
                                  .split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        filters << parts[i];
    }
    return filters.join(QStringLiteral(";;"));
}

} // namespace kelvara
