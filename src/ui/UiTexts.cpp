#include "UiTexts.h"

#include "Settings.h"
#include "Windows1252.h"

#include <QFile>
#include <QLocale>
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

QString FromRecordText(std::string_view bytes) {
    return QString::fromStdString(Windows1252ToUtf8(bytes));
}

std::optional<std::string> ToRecordText(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return Utf8ToWindows1252(std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())));
}

QString FirstUnstorableCharacter(const QString& text) {
    for (const char32_t code : text.toUcs4()) {
        const QString character = QString::fromUcs4(&code, 1);
        if (!ToRecordText(character)) {
            return character;
        }
    }
    return {};
}

QString FromConfigText(std::string_view bytes) {
    return QString::fromStdString(DecodeConfigText(bytes));
}

std::string LocalPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString DisplayPath(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

char LocaleDecimalMark() {
    const QString point = QLocale().decimalPoint();
    return point.size() == 1 && point.at(0).unicode() < 128 ? static_cast<char>(point.at(0).unicode())
                                                            : '.';
}

} // namespace kelvara
