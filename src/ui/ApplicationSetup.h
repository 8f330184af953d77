// What the application object needs before any window: the name shown in window captions and
// Qt's own texts (standard buttons, file dialogs) in the user's language.
#pragma once

class QCoreApplication;

namespace kelvara {

class Settings;

// Returns false when German was chosen but Qt's German translations are not installed.
bool SetUpApplication(QCoreApplication& app, const Settings& settings);

} // namespace kelvara
