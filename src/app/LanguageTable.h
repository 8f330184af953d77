// Every user-interface text in English and German: the main window's caption table, and the
// messages with the rule that picks their language from the setting at the moment they show.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace kelvara {

class Settings;

enum class TextId {
    // Message-box captions.
    CaptionWarning,
    CaptionError,
    CaptionInformation,
    CaptionInfo,
    // The question before unsaved changes are left: the file's name follows on its own line.
    ChangesSaveAirfile,
    // Start-up, configuration, help.
    RestartNotice,
    GetManualPrefix,
    // Opening and saving.
    CouldNotOpenAirFile,
    SaveComplete,
    CouldNotOpenOutputFile,
    CouldNotWriteBackup,
    AirWriteProtected,
    ExportFileNotOpened,
    // Record view.
    LengthLine,
    InvalidTbldbPrefix,
    // Texts that stay English in both languages.
    MenuAsciiExport,
    MenuMarkForCompare,
    MenuCompare,
    MenuHexEditor,
    ButtonExportTable,
    ButtonImportTable,
    RadioTrue,
    RadioFalse,
    LabelX,
    LabelY,
    AirFileDialogFilter,
    TextFileDialogFilter,
};
inline constexpr int kTextIdCount = static_cast<int>(TextId::TextFileDialogFilter) + 1;

// 69 ('E') is English, every other value German. The restart notice alone tests the other
// way round: 68 ('D') is German, every other value English.
[[nodiscard]] bool UsesGerman(TextId id, int32_t language);

[[nodiscard]] std::string_view Text(TextId id, bool german);
[[nodiscard]] std::string_view Text(TextId id, int32_t language);
[[nodiscard]] std::string_view Text(TextId id, const Settings& settings);

// "Length = %d" of the hex view with the number filled in.
[[nodiscard]] std::string LengthLineText(int length, bool german);

enum class CaptionProperty { Hint, MenuCaption, Caption, TabText };

struct CaptionRow {
    const char* control;
    CaptionProperty property;
    const char* english;
    const char* german;
};

// The main window's table in the order in which the texts are applied; the last two rows are
// the tabs, which exist in library mode only.
[[nodiscard]] std::span<const CaptionRow> MainWindowCaptions();
// What ApplyLanguage sets: without library mode the tab rows are left out.
[[nodiscard]] std::span<const CaptionRow> CaptionsToApply(bool libraryMode);
[[nodiscard]] std::optional<std::string_view> CaptionFor(std::string_view control, bool german);
[[nodiscard]] std::string_view Pick(const CaptionRow& row, bool german);

} // namespace kelvara
