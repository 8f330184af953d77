// Texts of the editor window that the language table does not hold, and the bridge from
// its UTF-8 texts to Qt. Every message picks its language when it is shown.
#pragma once

#include "LanguageTable.h"

#include <QString>

#include <string>
#include <string_view>

namespace kelvara {

class Settings;

struct UiText {
    const char* english; // UTF-8
    const char* german;  // UTF-8
};

[[nodiscard]] QString Pick(const UiText& text, bool german);
[[nodiscard]] std::string PickUtf8(const UiText& text, bool german);
[[nodiscard]] QString QText(TextId id, const Settings& settings);
[[nodiscard]] std::string Utf8Text(TextId id, const Settings& settings);
// "Air files (*.air)|*.air|..." as a Qt file dialog filter.
[[nodiscard]] QString DialogFilter(std::string_view pairs);

namespace Texts {
inline constexpr UiText TextTooLong{
    "texts of more than 32000 characters cannot be stored; the record is unchanged",
    "Texte mit mehr als 32000 Zeichen können nicht gespeichert werden; der Datensatz bleibt "
    "unverändert"};
inline constexpr UiText TextTooLongForField{
    "this text field has room for %1 characters only; the record is unchanged",
    "dieses Textfeld hat nur Platz für %1 Zeichen; der Datensatz bleibt unverändert"};
inline constexpr UiText ThumbnailNotJpeg{"thumbnail %1 is not a JPEG picture: %2",
                                         "Vorschaubild %1 ist kein JPEG-Bild: %2"};
inline constexpr UiText UnreadableDuringScan{
    "%1 folders or files could not be read during the aircraft scan, for example %2",
    "%1 Ordner oder Dateien konnten beim Lesen der Flugzeuge nicht gelesen werden, z. B. %2"};
} // namespace Texts

} // namespace kelvara
