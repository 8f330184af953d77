// The texts are UTF-8; German ones keep their umlauts.
#include "LanguageTable.h"

#include "Settings.h"

#include <array>

namespace kelvara {

namespace {

struct TextPair {
    TextId id;
    const char* english;
    const char* german;
};

constexpr std::array<TextPair, kTextIdCount> kTexts{{
    {TextId::CaptionWarning, "Warning", "Warnung"},
    {TextId::CaptionError, "Error", "Fehler"},
    {TextId::CaptionInformation, "Information", "Information"},
    {TextId::CaptionInfo, "Info", "Info"},
    {TextId::ChangesSaveAirfile, "Changes made: Save airfile?",
     "Änderungen vorhanden: Wollen Sie speichern?"},
    {TextId::RestartNotice, "This change takes effect when Kelvara is started again.",
     "Diese Änderung wirkt, wenn Kelvara neu gestartet wird."},
    {TextId::GetManualPrefix, "You can get an english manual at: ",
     "Sie können ein englisches Handbuch herunterladen bei: "},
    {TextId::CouldNotOpenAirFile, "could not open .air file",
     ".air Datei konnte nicht geöffnet werden"},
    {TextId::SaveComplete, "Save complete", "Speichern beendet"},
    {TextId::CouldNotOpenOutputFile, "Could not open outputfile, .air is unchanged",
     "Ausgabedatei konnte nicht geöffnet werden, .air bleibt unverändert"},
    {TextId::CouldNotWriteBackup, "Could not write backup file, .air is unchanged",
     "Sicherungsdatei konnte nicht geschrieben werden, .air bleibt unverändert"},
    {TextId::AirWriteProtected, ".air is write protected, .air is unchanged",
     ".air ist schreibgeschützt, .air bleibt unverändert"},
    {TextId::ExportFileNotOpened, "output file could not be opened",
     "Ausgabedatei konnte nicht geschrieben werden"},
    {TextId::LengthLine, "Length = %d", "Länge = %d"},
    {TextId::InvalidTbldbPrefix, "this is not a valid TBLDB ",
     "Das ist kein gültiger TBLDB Datensatz "},
    {TextId::MenuAsciiExport, "ASCII Export", "ASCII Export"},
    {TextId::MenuMarkForCompare, "Mark for Compare", "Mark for Compare"},
    {TextId::MenuCompare, "Compare", "Compare"},
    {TextId::MenuHexEditor, "Hex Editor", "Hex Editor"},
    {TextId::ButtonExportTable, "Export Table", "Export Table"},
    {TextId::ButtonImportTable, "Import Table", "Import Table"},
    {TextId::RadioTrue, "True", "True"},
    {TextId::RadioFalse, "False", "False"},
    {TextId::LabelX, "X", "X"},
    {TextId::LabelY, "Y", "Y"},
    {TextId::AirFileDialogFilter, "Air files (*.air)|*.air|Text files (*.txt)|*.txt",
     "Air files (*.air)|*.air|Text files (*.txt)|*.txt"},
    {TextId::TextFileDialogFilter, "Text files (*.txt)|*.txt", "Text files (*.txt)|*.txt"},
}};

constexpr bool TextsInEnumOrder() {
    for (size_t i = 0; i < kTexts.size(); ++i) {
        if (static_cast<size_t>(kTexts[i].id) != i) {
            return false;
        }
    }
    return true;
}
static_assert(TextsInEnumOrder(), "one text pair per TextId, in enum order");

using P = CaptionProperty;
constexpr CaptionRow kCaptions[] = {
    {"Alist", P::Hint, "Click = select / Doubleclick goes to Aircraft Tab",
     "Klick = Auswahl / Doppelklick geht zur Flugzeug-Registrierkarte"},
    {"lbManufacturer", P::Hint, "Click = select / Doubleclick for manufacturer rename",
     "Klick = Auswahl / Doppelklick = Hersteller umbenennen"},
    {"lbMaircraft", P::Hint,
     "Doubleclick goes to Aircraft Tab / drag to another manufacturer with left mouse",
     "Doppelklick geht zur Flugzeug-Registrierkarte / mit linker Maustaste auf einen Hersteller "
     "ziehen"},
    {"File1", P::MenuCaption, "File", "Datei"},
    {"LoadAircraft1", P::MenuCaption, "Load Aircraft", "Flugzeug laden"},
    {"Edit1", P::MenuCaption, "Edit", "Bearbeiten"},
    {"Cut1", P::MenuCaption, "Cut (Ctrl-X)", "Ausschneiden (Strg-X)"},
    {"Copy1", P::MenuCaption, "Copy (Ctrl-C)", "Kopieren (Strg-C)"},
    {"Paste1", P::MenuCaption, "Paste (Ctrl-V)", "Einfügen (Strg-V)"},
    {"Find1", P::MenuCaption, "Search", "Suchen"},
    {"Text1", P::MenuCaption, "Search First (Ctrl-F)", "Erstes (Strg-F)"},
    {"Next1", P::MenuCaption, "Search Next (F3)", "Weitere (F3)"},
    {"Options1", P::MenuCaption, "Options", "Optionen"},
    {"Help1", P::MenuCaption, "Help", "Hilfe"},
    {"SaveAircraft1", P::MenuCaption, "Save aircraft", "Flugzeug speichern"},
    {"Exit1", P::MenuCaption, "Exit", "Beenden"},
    {"Config1", P::MenuCaption, "Config", "Konfiguration"},
    {"About1", P::MenuCaption, "About", "Über Kelvara..."},
    {"Getmanual1", P::MenuCaption, "Get Manual", "Wo gibt es das Handbuch?"},
    {"Label14", P::Caption, "all aircraft", "Alle Flugzeuge"},
    {"Label23", P::Caption, "all manufacturer", "Alle Hersteller"},
    {"Label18", P::Caption, "aircraft per manufacturer", "Flugzeuge pro Hersteller"},
    {"cbXlock", P::Caption, "lock X", "X sperren"},
    {"cbYlock", P::Caption, "lock Y", "Y sperren"},
    {"cbOverlay1503", P::Caption, "overlay", "Überlagern"},
    {"eChangegraph", P::Caption, "change graph", "Graf Ansicht"},
    {"la1", P::Caption, "Airplane Path:", "Flugzeug Pfad:"},
    {"la2", P::Caption, "Title:", "Bezeichnung:"},
    {"la3", P::Caption, "Manufacturer:", "Hersteller:"},
    {"la4", P::Caption, "Variation:", "Variation:"},
    {"la5", P::Caption, "Creator:", "Entwickler:"},
    {"la6", P::Caption, ".air Path:", ".air Pfad:"},
    {"TabControl", P::TabText, "Selection", "Auswahl"},
    {"TabControl", P::TabText, ".air file", ".air Datei"},
};
constexpr size_t kTabRows = 2;

} // namespace

bool UsesGerman(TextId id, int32_t language) {
    if (id == TextId::RestartNotice) {
        return language == 'D';
    }
    return language != 'E';
}

std::string_view Text(TextId id, bool german) {
    const auto index = static_cast<size_t>(id);
    if (index >= kTexts.size()) {
        return {};
    }
    return german ? kTexts[index].german : kTexts[index].english;
}

std::string_view Text(TextId id, int32_t language) {
    return Text(id, UsesGerman(id, language));
}

std::string_view Text(TextId id, const Settings& settings) {
    return Text(id, settings.language);
}

std::string LengthLineText(int length, bool german) {
    std::string line(Text(TextId::LengthLine, german));
    const size_t slot = line.find("%d");
    return line.replace(slot, 2, std::to_string(length));
}

std::span<const CaptionRow> MainWindowCaptions() {
    return kCaptions;
}

std::span<const CaptionRow> CaptionsToApply(bool libraryMode) {
    const std::span<const CaptionRow> all = kCaptions;
    return libraryMode ? all : all.first(all.size() - kTabRows);
}

std::optional<std::string_view> CaptionFor(std::string_view control, bool german) {
    for (const CaptionRow& row : kCaptions) {
        if (control == row.control) {
            return Pick(row, german);
        }
    }
    return std::nullopt;
}

std::string_view Pick(const CaptionRow& row, bool german) {
    return german ? row.german : row.english;
}

} // namespace kelvara
