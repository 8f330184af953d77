#include "SaveCurrentFile.h"

#include "ChangeTracker.h"
#include "UserPrompts.h"

namespace kelvara {

int SaveCurrentFile(const RecordTree& tree, const SaveNames& names, ChangeTracker& changes,
                    UserPrompts& prompts, bool german) {
    if (!changes.IsChanged()) {
        return 0;
    }
    const int result = WriteAirFile(tree, names);
    const std::string error = german ? "Fehler" : "Error";
    switch (result) {
    case WriteResultCode::Ok:
        changes.SetChanged(false);
        prompts.Inform("Info", german ? "Speichern beendet" : "Save complete");
        break;
    case WriteResultCode::CannotWriteTemporary:
        prompts.Error(error, german ? "Ausgabedatei konnte nicht geöffnet werden, .air bleibt unverändert"
                                    : "Could not open outputfile, .air is unchanged");
        break;
    case WriteResultCode::BackupFailed:
        prompts.Error(error, german ? "Sicherungsdatei konnte nicht geschrieben werden, .air bleibt unverändert"
                                    : "Could not write backup file, .air is unchanged");
        break;
    case WriteResultCode::WriteProtected:
        prompts.Error(error, german ? ".air ist schreibgeschützt, .air bleibt unverändert"
                                    : ".air is write protected, .air is unchanged");
        break;
    default:
        break;
    }
    return result;
}

} // namespace kelvara
