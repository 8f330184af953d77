// English and German texts of the editor window and its messages. Every message picks its
// language when it is shown, so a language change applies to later messages at once.
#pragma once

#include <QString>

#include <string>

namespace kelvara {

struct UiText {
    const char* english; // UTF-8
    const char* german;  // UTF-8
};

[[nodiscard]] QString Pick(const UiText& text, bool german);
[[nodiscard]] std::string PickUtf8(const UiText& text, bool german);

namespace Texts {
// Captions of the language table.
inline constexpr UiText File{"File", "Datei"};
inline constexpr UiText LoadAircraft{"Load Aircraft", "Flugzeug laden"};
inline constexpr UiText Edit{"Edit", "Bearbeiten"};
inline constexpr UiText Cut{"Cut (Ctrl-X)", "Ausschneiden (Strg-X)"};
inline constexpr UiText Copy{"Copy (Ctrl-C)", "Kopieren (Strg-C)"};
inline constexpr UiText Paste{"Paste (Ctrl-V)", "Einfügen (Strg-V)"};
inline constexpr UiText Find{"Search", "Suchen"};
inline constexpr UiText SearchFirst{"Search First (Ctrl-F)", "Erstes (Strg-F)"};
inline constexpr UiText SearchNext{"Search Next (F3)", "Weitere (F3)"};
inline constexpr UiText Options{"Options", "Optionen"};
inline constexpr UiText Help{"Help", "Hilfe"};
inline constexpr UiText SaveAircraft{"Save aircraft", "Flugzeug speichern"};
inline constexpr UiText Exit{"Exit", "Beenden"};
inline constexpr UiText Config{"Config", "Konfiguration"};
inline constexpr UiText About{"About", "Über KVR..."};
inline constexpr UiText GetManual{"Get Manual", "Wo gibt es das Handbuch?"};
inline constexpr UiText LockX{"lock X", "X sperren"};
inline constexpr UiText LockY{"lock Y", "Y sperren"};
inline constexpr UiText Overlay{"overlay", "Überlagern"};
inline constexpr UiText ChangeGraph{"change graph", "Graf Ansicht"};
inline constexpr UiText TabSelection{"Selection", "Auswahl"};
inline constexpr UiText TabAirFile{".air file", ".air Datei"};

// Messages and their captions.
inline constexpr UiText Information{"Information", "Information"};
inline constexpr UiText Warning{"Warning", "Warnung"};
inline constexpr UiText Error{"Error", "Fehler"};
inline constexpr UiText ChangesGoBack{"Changes made: Do you want to go back for saving?",
                                      "Änderungen vorhanden: Wollen Sie zurück gehen, um zu speicher?"};
inline constexpr UiText CannotOpenAir{"could not open .air file", ".air Datei konnte nicht geöffnet werden"};
inline constexpr UiText ManualAt{"You can get an english manual at: ",
                                 "Sie können ein englisches Handbuch herunterladen bei: "};
inline constexpr UiText LengthLine{"Length = %1", "Länge = %1"};
inline constexpr UiText TextTooLong{"texts of more than 32000 characters cannot be stored; the record is unchanged",
                                    "Texte mit mehr als 32000 Zeichen können nicht gespeichert werden; der Datensatz bleibt unverändert"};
inline constexpr UiText TextTooLongForField{
    "this text field has room for %1 characters only; the record is unchanged",
    "dieses Textfeld hat nur Platz für %1 Zeichen; der Datensatz bleibt unverändert"};
inline constexpr UiText InvalidTblDb{"this is not a valid TBLDB ", "Das ist kein gültiger TBLDB Datensatz "};
inline constexpr UiText ExportCannotOpen{"output file could not be opened", "Ausgabedatei konnte nicht geschrieben werden"};
inline constexpr UiText LibraryModePending{
    "The aircraft library is not available in this version: open an .air file with File / Load Aircraft",
    "Die Flugzeugbibliothek ist in dieser Version nicht verfügbar: .air Datei mit Datei / Flugzeug laden öffnen"};
inline constexpr UiText AirFilter{"Air files (*.air);;Text files (*.txt)", "Air Dateien (*.air);;Textdateien (*.txt)"};
inline constexpr UiText TextFilter{"Text files (*.txt)", "Textdateien (*.txt)"};
} // namespace Texts

// The maker's addresses shown in the about box and the manual message.
inline constexpr const char* kWebAddress = "https://kelvara.example.org";
inline constexpr const char* kManualAddress = "https://kelvara.example.org/manual";
inline constexpr const char* kSupportMail = "support@kelvara.example.org";

} // namespace kelvara
