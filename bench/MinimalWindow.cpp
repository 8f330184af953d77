// The start-up baseline: the smallest Qt Widgets program that shows a window of the editor's
// size and quits once it is shown.
#include <QApplication>
#include <QElapsedTimer>
#include <QWidget>

#include <cstdio>

int main(int argc, char* argv[]) {
    QElapsedTimer sinceStart;
    sinceStart.start();
    QApplication app(argc, argv);
    QWidget window;
    window.resize(1024, 720);
    window.show();
    QApplication::processEvents();
    std::printf("first show: %.1f ms\n", static_cast<double>(sinceStart.nsecsElapsed()) / 1e6);
    return 0;
}
