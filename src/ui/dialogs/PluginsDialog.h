// The window that lists the installed plug-ins with their versions, vendors and comments.
#pragma once

#include <QDialog>

class QListWidget;

namespace kelvara {

class PluginList;

class PluginsDialog : public QDialog {
    Q_OBJECT
  public:
    PluginsDialog(const PluginList& plugins, bool german, QWidget* parent = nullptr);

    QListWidget* Plugin_List = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    const PluginList& mPlugins;
    bool mGerman;
};

} // namespace kelvara
