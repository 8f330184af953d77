#include "PluginsDialog.h"

#include "PluginList.h"
#include "UiTexts.h"

#include <QListWidget>
#include <QVBoxLayout>

namespace kelvara {

PluginsDialog::PluginsDialog(const PluginList& plugins, bool german, QWidget* parent)
    : QDialog(parent), mPlugins(plugins), mGerman(german) {
    setObjectName(QStringLiteral("PluginsDialog"));
    setWindowTitle(Pick(Texts::InstalledPlugins, german));
    resize(720, 320); // wide enough for a disabled plug-in's marker path
    Plugin_List = new QListWidget(this);
    Plugin_List->setObjectName(QStringLiteral("Plugin_List"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Plugin_List);
}

void PluginsDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Plugin_List->clear();
    for (const std::string& line : mPlugins.ListPlugins(mGerman)) {
        // Plug-in texts are byte strings; UTF-8 where valid is what authors mean today.
        Plugin_List->addItem(QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size())));
    }
}

} // namespace kelvara
