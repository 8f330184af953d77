// The editor program. Besides an optional ".air" file it takes a few options for scripts:
//   --screenshot PATH   save the main window as a picture once shown, then quit
//   --quit-after-show   quit once the window shows the start file (start-up timing)
//   --minimal-window    show an empty window instead (the baseline for start-up timing)
//   --time-tvchange     print the time of one record view build for the largest record
//   --settings-folder DIR  keep kvr.cfg and the debug log there instead of the program's folder
//   --select NUMBER     select the first record with this hexadecimal number once shown
//   --overlay           check "Overlay", so that 0x1503 and 0x1504 are drawn over each other
//   --no-plugins        list the plug-ins without loading any
#include "ApplicationSetup.h"
#include "DeferredStyleIcons.h"
#include "DictionaryLocation.h"
#include "FontStartup.h"
#include "GraphWidget.h"
#include "MainWindow.h"
#include "QtUserPrompts.h"
#include "RecordPage.h"
#include "RecordTree.h"
#include "Settings.h"
#include "StartupDecisions.h"
#include "TablePanel.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QMessageBox>
#include <QPixmap>
#include <QStyleFactory>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

namespace {

static_assert(std::string_view(kelvara::Settings::kVersion).substr(4) == "V" KELVARA_VERSION,
              "the version text and the project version differ");

const char* kHelp =
    "usage: kelvara [OPTION]... [FILE.air]\n"
    "Opens FILE.air in file mode for this run; without it, lists the simulator's aircraft\n"
    "(library mode, unless the configuration turned the aircraft list off).\n"
    "options:\n"
    "  --screenshot PICTURE  save a picture of the main window once shown, then quit\n"
    "  --settings-folder DIR keep kvr.cfg and the debug log in DIR\n"
    "  --select NUMBER       select the first record with this hexadecimal number\n"
    "  --overlay             draw tables 0x1503 and 0x1504 over each other\n"
    "  --no-plugins          start without loading the plug-ins (*.kvr)\n"
    "  -h, --help            print this text and exit\n"
    "  --version             print the version and exit\n"
    "For timing start-up: --quit-after-show, --minimal-window, --time-tvchange.\n"
    "Qt's own options, such as -platform offscreen, are accepted too.\n";

// The editor's own options; Qt's take a single dash and are checked once Qt has taken them.
const std::vector<std::string> kFlags{"-h", "--help", "--version", "--quit-after-show",
                                      "--minimal-window", "--time-tvchange", "--overlay",
                                      "--no-plugins"};
const std::vector<std::string> kWithValue{"--screenshot", "--settings-folder", "--select"};

int RefusedOption(const std::string& option) {
    std::fprintf(stderr, "kelvara: unknown option %s\n%s", option.c_str(), kHelp);
    return 1;
}

// Answered before the toolkit starts, so that they work without a display. Returns the exit
// code, or -1 to go on.
int AnsweredWithoutWindow(int argc, char* argv[]) {
    const auto listed = [](const std::vector<std::string>& names, std::string_view name) {
        return std::find(names.begin(), names.end(), name) != names.end();
    };
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--") {
            break;
        }
        if (argument == "-h" || argument == "--help") {
            std::fputs(kHelp, stdout);
            return std::fflush(stdout) == 0 ? 0 : 1;
        }
        if (argument == "--version") {
            std::puts("kelvara " KELVARA_VERSION);
            return std::fflush(stdout) == 0 ? 0 : 1;
        }
        if (argument.substr(0, 2) != "--") {
            continue;
        }
        if (listed(kWithValue, argument)) {
            ++i;
        } else if (!listed(kFlags, argument)) {
            return RefusedOption(std::string(argument));
        }
    }
    return -1;
}

// An exception escaping a handler is shown and the event loop goes on, instead of ending
// the program with the user's unsaved edits.
class KelvaraApplication : public QApplication {
  public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& error) {
            QMessageBox::critical(activeWindow(), QStringLiteral("Error"),
                                  QString::fromUtf8(error.what()));
        } catch (...) {
            QMessageBox::critical(activeWindow(), QStringLiteral("Error"),
                                  QStringLiteral("unexpected error"));
        }
        return false;
    }
};

struct Options {
    QString screenshot;
    QString settingsFolder;
    bool quitAfterShow = false;
    bool minimalWindow = false;
    bool timeTvChange = false;
    QString select;
    bool overlay = false;
    bool noPlugins = false;
    QStringList rest;
};

Options ParseOptions(const QStringList& arguments) {
    Options options;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QStringLiteral("--screenshot") && i + 1 < arguments.size()) {
            options.screenshot = arguments[++i];
        } else if (argument == QStringLiteral("--settings-folder") && i + 1 < arguments.size()) {
            options.settingsFolder = arguments[++i];
        } else if (argument == QStringLiteral("--quit-after-show")) {
            options.quitAfterShow = true;
        } else if (argument == QStringLiteral("--minimal-window")) {
            options.minimalWindow = true;
        } else if (argument == QStringLiteral("--time-tvchange")) {
            options.timeTvChange = true;
        } else if (argument == QStringLiteral("--select") && i + 1 < arguments.size()) {
            options.select = arguments[++i];
        } else if (argument == QStringLiteral("--overlay")) {
            options.overlay = true;
        } else if (argument == QStringLiteral("--no-plugins")) {
            options.noPlugins = true;
        } else {
            options.rest << argument;
        }
    }
    return options;
}

bool HasArgument(int argc, char* argv[], std::string_view wanted) {
    for (int i = 1; i < argc; ++i) {
        if (wanted == argv[i]) {
            return true;
        }
    }
    return false;
}

void WaitForStartFile(const kelvara::MainWindow& window) {
    QElapsedTimer waited;
    waited.start();
    QApplication::processEvents();
    while (!window.StartFile().isEmpty() && !window.StartFileHandled() && waited.elapsed() < 10000) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
}

void TimeTvChange(kelvara::MainWindow& window) {
    const kelvara::RecordNode* largest = nullptr;
    window.Tree().ForEach([&](kelvara::RecordNode& node) {
        if (!largest || node.record.data.size() > largest->record.data.size()) {
            largest = &node;
        }
    });
    if (!largest) {
        std::fprintf(stderr, "time-tvchange: no record loaded\n");
        return;
    }
    kelvara::RecordPage* page = window.Page();
    page->SelectNode(largest);
    constexpr int kRounds = 200;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < kRounds; ++i) {
        page->TVChange();
    }
    std::printf("TVChange: record 0x%04X, %zu bytes, %.3f ms per call (%d calls)\n",
                static_cast<unsigned>(largest->record.lookupNumber), largest->record.data.size(),
                static_cast<double>(timer.nsecsElapsed()) / 1e6 / kRounds, kRounds);
}

} // namespace

int main(int argc, char* argv[]) {
    if (const int exitCode = AnsweredWithoutWindow(argc, argv); exitCode >= 0) {
        return exitCode;
    }
    QElapsedTimer sinceStart;
    sinceStart.start();
    if (!HasArgument(argc, argv, "--minimal-window")) {
        kelvara::StartReadingFontConfiguration();
    }
    KelvaraApplication app(argc, argv);
    // No font thread outlives the application object.
    struct FontThreadsJoined {
        ~FontThreadsJoined() { kelvara::JoinFontThreads(); }
    } fontThreadsJoined;
    // Lets the desktop match the window with its desktop entry and icon: the Wayland app id,
    // and X11's window class, which Qt takes from the application name.
    QGuiApplication::setDesktopFileName(QStringLiteral(KELVARA_APP_ID));
    QCoreApplication::setApplicationName(QStringLiteral(KELVARA_APP_ID));
    const Options options = ParseOptions(QApplication::arguments());
    std::vector<std::string> rest;
    for (const QString& argument : options.rest) {
        rest.push_back(argument.toStdString());
    }
    if (const std::string unknown = kelvara::FirstUnknownOption(rest, {}, {}); !unknown.empty()) {
        return RefusedOption(unknown);
    }

    if (options.minimalWindow) {
        QWidget window;
        window.resize(kelvara::MainWindow::kDesignWidth, kelvara::MainWindow::kDesignHeight);
        window.show();
        QApplication::processEvents();
        std::printf("first show: %.1f ms\n", static_cast<double>(sinceStart.nsecsElapsed()) / 1e6);
        return 0;
    }

    kelvara::Settings settings;
    const std::string programFolder =
        QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();
    if (options.settingsFolder.isEmpty()) {
        settings.Load(programFolder, kelvara::IsInstalledProgram(programFolder));
    } else {
        settings.LoadWithSettingsFolder(programFolder,
                                        QFile::encodeName(options.settingsFolder).toStdString());
    }
    kelvara::SetUpApplication(app, settings);
    // The chosen style (-style or the platform's) stays; only some icon files are read later.
    QApplication::setStyle(
        new kelvara::DeferredStyleIcons(QStyleFactory::create(QApplication::style()->name())));
    kelvara::QtUserPrompts prompts;
    kelvara::MainWindow window(settings, prompts, options.rest);
    window.SetPluginsOff(options.noPlugins);
    prompts.SetParent(&window);
    window.show();

    if (options.quitAfterShow || options.timeTvChange) {
        // Timed up to the window showing the start file: read, its tree filled and painted.
        WaitForStartFile(window);
        window.repaint();
        std::printf("first show: %.1f ms\n", static_cast<double>(sinceStart.nsecsElapsed()) / 1e6);
        if (options.timeTvChange) {
            TimeTvChange(window);
        }
        return 0;
    }
    if (!options.select.isEmpty() || options.overlay) {
        WaitForStartFile(window);
        window.Page()->Tables()->cbOverlay1503->setChecked(options.overlay);
        bool ok = false;
        const uint number = options.select.toUInt(&ok, 16);
        if (const kelvara::RecordNode* node = ok ? window.Tree().FindRecord(number) : nullptr) {
            window.Page()->SelectNode(node);
        }
    }
    if (!options.screenshot.isEmpty()) {
        QTimer::singleShot(1500, &window, [&window, path = options.screenshot] {
            if (!kelvara::GrabWithGraphs(window).save(path)) {
                std::fprintf(stderr, "could not write %s\n", QFile::encodeName(path).constData());
            }
            QApplication::quit();
        });
    }
    return QApplication::exec();
}
