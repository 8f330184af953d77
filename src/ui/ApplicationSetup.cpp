#include "ApplicationSetup.h"

#include "Settings.h"

#include <QGuiApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace kelvara {

bool SetUpApplication(QCoreApplication& app, const Settings& settings) {
    // Captions without one (the unsaved-changes question) fall back to this name.
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Kelvara"));
    if (!settings.German()) {
        return true;
    }
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_de"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

} // namespace kelvara
