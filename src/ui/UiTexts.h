// Texts of the editor window that the language table does not hold, and the bridge from
// its UTF-8 texts to Qt. Every message picks its language when it is shown.
#pragma once

#include "LanguageTable.h"

#include <QString>

#include <optional>
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
// The user's decimal mark as one ASCII character; "." where the locale's is none.
[[nodiscard]] char LocaleDecimalMark();
// "Air files (*.air)|*.air|..." as a Qt file dialog filter.
[[nodiscard]] QString DialogFilter(std::string_view pairs);

// Record texts are Windows-1252 bytes; every byte becomes one character and back.
[[nodiscard]] QString FromRecordText(std::string_view bytes);
// Empty when a character has no Windows-1252 byte.
[[nodiscard]] std::optional<std::string> ToRecordText(const QString& text);
// The first character of text that ToRecordText cannot store; empty when there is none.
[[nodiscard]] QString FirstUnstorableCharacter(const QString& text);
// Dictionary and configuration texts: UTF-8 when they are, else Windows-1252.
[[nodiscard]] QString FromConfigText(std::string_view bytes);
// File names between Qt and the core, in the file system's own encoding.
[[nodiscard]] std::string LocalPath(const QString& path);
[[nodiscard]] QString DisplayPath(const std::string& path);

namespace Texts {
inline constexpr UiText TextTooLong{
    "texts of more than 32000 characters cannot be stored; the record is unchanged",
    "Texte mit mehr als 32000 Zeichen können nicht gespeichert werden; der Datensatz bleibt "
    "unverändert"};
inline constexpr UiText TextTooLongForField{
    "this text field has room for %1 characters only; the record is unchanged",
    "dieses Textfeld hat nur Platz für %1 Zeichen; der Datensatz bleibt unverändert"};
inline constexpr UiText CharacterNotStorable{
    "the character %1 cannot be stored in this file's code page (Windows-1252); the record is "
    "unchanged",
    "das Zeichen %1 kann in der Codepage der Datei (Windows-1252) nicht gespeichert werden; der "
    "Datensatz bleibt unverändert"};
inline constexpr UiText ShorterThanItsType{
    "Read only: this record holds %1 bytes, fewer than the %2 its type needs.",
    "Nur lesbar: dieser Datensatz hat %1 Bytes, weniger als die %2, die sein Typ braucht."};
inline constexpr UiText ThumbnailNotJpeg{"thumbnail %1 is not a JPEG picture",
                                         "Vorschaubild %1 ist kein JPEG-Bild"};
inline constexpr UiText ThumbnailTooLarge{"thumbnail %1 is too large (%2)",
                                          "Vorschaubild %1 ist zu groß (%2)"};
inline constexpr UiText ThumbnailDamaged{"thumbnail %1 is damaged",
                                         "Vorschaubild %1 ist beschädigt"};
inline constexpr UiText ThumbnailUnreadable{"thumbnail %1 cannot be read",
                                            "Vorschaubild %1 kann nicht gelesen werden"};
inline constexpr UiText UnreadableDuringScan{
    "%1 folders or files could not be read during the aircraft scan, for example %2",
    "%1 Ordner oder Dateien konnten beim Lesen der Flugzeuge nicht gelesen werden, z. B. %2"};
inline constexpr UiText NoAircraftFound{"No aircraft were found.", "Es wurden keine Flugzeuge gefunden."};
inline constexpr UiText NoSimulatorFolder{"No simulator folder is set.",
                                          "Es ist kein Simulator-Verzeichnis eingestellt."};
inline constexpr UiText SimulatorFolderMissing{"The simulator folder %1 does not exist.",
                                               "Das Simulator-Verzeichnis %1 gibt es nicht."};
inline constexpr UiText FoldersSearched{"Folders searched: %1", "Durchsuchte Verzeichnisse: %1"};
inline constexpr UiText ConfigFilesRead{
    "%1 configuration files read; %2 of them have no [fltsim.N] section with a sim= entry.",
    "%1 Konfigurationsdateien gelesen; %2 davon haben keinen [fltsim.N]-Abschnitt mit einem "
    "sim=-Eintrag."};
inline constexpr UiText InactiveSearchPaths{"%1 search paths are switched off.",
                                           "%1 Suchpfade sind ausgeschaltet."};
inline constexpr UiText ForExample{"(for example %1)", "(z. B. %1)"};
inline constexpr UiText AircraftFoldersExpected{
    "Aircraft folders are expected as <simulator folder>/SimObjects/<kind>/<aircraft>/aircraft.cfg, "
    "or as <search path>/<aircraft>/aircraft.cfg.",
    "Flugzeugordner werden als <Simulator-Verzeichnis>/SimObjects/<Art>/<Flugzeug>/aircraft.cfg "
    "erwartet, oder als <Suchpfad>/<Flugzeug>/aircraft.cfg."};
inline constexpr UiText MarkedForCompare{"Marked for Compare: %1", "Zum Vergleich markiert: %1"};
inline constexpr UiText CompareWithFile{"Compare with file…", "Mit Datei vergleichen…"};
inline constexpr UiText InstalledPlugins{"Installed plug-ins", "Installierte Plug-ins"};
inline constexpr UiText SaveAs{"Save As…", "Speichern unter…"};
inline constexpr UiText DictionaryMissing{
    "The record dictionary KVR.ini could not be read, so records are shown without names. "
    "Reinstall Kelvara, or put a copy here:",
    "Das Datensatzverzeichnis KVR.ini konnte nicht gelesen werden; die Datensätze erscheinen "
    "ohne Namen. Installieren Sie Kelvara neu oder legen Sie eine Kopie hierhin:"};
inline constexpr UiText DictionaryPlaces{"Places looked at:", "Gesucht in:"};
inline constexpr UiText ManualMissing{"The manual (manual.html) is not installed in",
                                      "Das Handbuch (manual.html) ist nicht installiert in"};
inline constexpr UiText SamplesNotCopied{
    "The sample aircraft could not be copied. Choose the simulator folder or open one .air file "
    "instead.",
    "Die Beispielflugzeuge konnten nicht kopiert werden. Wählen Sie stattdessen den "
    "Simulatorordner oder öffnen Sie eine .air-Datei."};
inline constexpr UiText QuitWithoutSimulator{
    "Kelvara quits now: it has no simulator folder to list. Start it again to choose a "
    "simulator folder, use the sample aircraft, or open one .air file.",
    "Kelvara wird jetzt beendet: es hat keinen Simulatorordner. Starten Sie es erneut, um einen "
    "Simulatorordner zu wählen, die Beispielflugzeuge zu verwenden oder eine .air-Datei zu öffnen."};
inline constexpr UiText PluginDisabled{
    "The plug-in %1 did not finish starting the last time Kelvara started, so it was skipped. It "
    "stays off until the file is replaced or %2 is deleted.",
    "Das Plug-in %1 ist beim letzten Start von Kelvara nicht fertig gestartet und wurde deshalb "
    "übersprungen. Es bleibt aus, bis die Datei ersetzt oder %2 gelöscht wird."};
inline constexpr UiText PluginsBeyondLimit{
    "Only the first %1 plug-ins are loaded. Left out:\n%2",
    "Nur die ersten %1 Plug-ins werden geladen. Ausgelassen:\n%2"};
} // namespace Texts

} // namespace kelvara
