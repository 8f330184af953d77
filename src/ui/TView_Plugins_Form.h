// The window that lists the installed plug-ins with their versions, vendors and comments.
#pragma once

#include <QDialog>

class QListWidget;

namespace kelvara {

class PluginList;

class TView_Plugins_Form : public QDialog {
    Q_OBJECT
  public:
    TView_Plugins_Form(const PluginList& plugins, bool german, QWidget* parent = nullptr);

    QListWidget* Plugin_List = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    const PluginList& mPlugins;
    bool mGerman;
};

} // namespace kelvara
