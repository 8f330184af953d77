#include "SaveCurrentFile.h"

#include "ChangeTracker.h"
#include "LanguageTable.h"
#include "UserPrompts.h"

#include <algorithm>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvara {

std::string ReadOnlyPlace(const SaveNames& names, int result) {
    if (result == WriteResultCode::WriteProtected) {
        return names.target;
    }
    if (result != WriteResultCode::CannotWriteTemporary) {
        return {};
    }
    const size_t slash = names.temporary.rfind('/');
    const std::string folder =
        slash == std::string::npos ? "." : names.temporary.substr(0, std::max<size_t>(slash, 1));
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0) {
        return {}; // a missing folder is another story
    }
    // The mode bits count even for root, as they do for the file itself.
    const bool writable = (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0 &&
                          (::access(folder.c_str(), W_OK) == 0 || (errno != EACCES && errno != EROFS));
    return writable ? std::string() : folder;
}

namespace {

int Report(int result, const SaveNames& names, ChangeTracker& changes, UserPrompts& prompts,
           bool german, const std::function<void()>& saveAs) {
    const auto error = [&](TextId message) {
        prompts.Error(std::string(Text(TextId::CaptionError, german)),
                      std::string(Text(message, german)) + "\n" + names.target);
    };
    switch (result) {
    case WriteResultCode::Ok:
        changes.SetChanged(false);
        prompts.Inform(std::string(Text(TextId::CaptionInfo, german)),
                       std::string(Text(TextId::SaveComplete, german)));
        break;
    case WriteResultCode::CannotWriteTemporary:
        if (const std::string place = ReadOnlyPlace(names, result); !place.empty()) {
            break;
        }
        error(TextId::CouldNotOpenOutputFile);
        break;
    case WriteResultCode::BackupFailed:
        error(TextId::CouldNotWriteBackup);
        break;
    default:
        break;
    }
    if (const std::string place = ReadOnlyPlace(names, result); !place.empty()) {
        const std::string caption(Text(TextId::CaptionError, german));
        std::string text = german ? "Die Datei wurde nicht gespeichert: " : "The file was not saved: ";
        text += place == names.target
                    ? (german ? "sie ist schreibgeschützt.\n" : "it is read-only.\n")
                    : (german ? "ihr Ordner ist schreibgeschützt.\n" : "its folder is read-only.\n");
        text += place + "\n";
        if (!saveAs) {
            prompts.Error(caption, text + (german ? "Die Datei bleibt unverändert."
                                                  : "The file is unchanged."));
        } else if (prompts.AskYesNo(caption,
                                    text + (german ? "Unter einem anderen Namen speichern "
                                                     "(Speichern unter…)?"
                                                   : "Save it under another name (Save As…)?"),
                                    Answer::No)) {
            saveAs();
        }
    }
    return result;
}

} // namespace

int SaveCurrentFile(const RecordTree& tree, const SaveNames& names, ChangeTracker& changes,
                    UserPrompts& prompts, bool german, const std::function<void()>& saveAs) {
    if (!changes.IsChanged()) {
        return 0;
    }
    return Report(WriteAirFile(tree, names), names, changes, prompts, german, saveAs);
}

int SaveFileAs(const RecordTree& tree, const SaveNames& names, ChangeTracker& changes,
               UserPrompts& prompts, bool german) {
    return Report(WriteAirFile(tree, names), names, changes, prompts, german, {});
}

} // namespace kelvara
