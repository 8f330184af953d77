#include "SaveCurrentFile.h"

#include "ChangeTracker.h"
#include "LanguageTable.h"
#include "UserPrompts.h"

namespace kelvara {

int SaveCurrentFile(const RecordTree& tree, const SaveNames& names, ChangeTracker& changes,
                    UserPrompts& prompts, bool german) {
    if (!changes.IsChanged()) {
        return 0;
    }
    const int result = WriteAirFile(tree, names);
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
        error(TextId::CouldNotOpenOutputFile);
        break;
    case WriteResultCode::BackupFailed:
        error(TextId::CouldNotWriteBackup);
        break;
    case WriteResultCode::WriteProtected:
        error(TextId::AirWriteProtected);
        break;
    default:
        break;
    }
    return result;
}

} // namespace kelvara
