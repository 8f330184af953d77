#include "FontStartup.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QStringList>

#include <fontconfig/fontconfig.h>
#include <pthread.h>
#include <sched.h>

#include <thread>

namespace kelvara {

namespace {

std::jthread gConfiguration;
std::jthread gFamilies;

// A new thread waits on its creator's processor while that one is busy, even with another one
// idle; moving it at once lets the two run side by side.
void RunOnAnotherCpu(std::jthread& thread) {
    cpu_set_t allowed;
    const int current = sched_getcpu();
    if (current < 0 || sched_getaffinity(0, sizeof allowed, &allowed) != 0 || CPU_COUNT(&allowed) < 2) {
        return;
    }
    CPU_CLR(current, &allowed);
    pthread_setaffinity_np(thread.native_handle(), sizeof allowed, &allowed);
}

} // namespace

void StartReadingFontConfiguration() {
    gConfiguration = std::jthread([] { FcInit(); });
    RunOnAnotherCpu(gConfiguration);
}

void WaitForFontConfiguration() {
    // Qt would read the configuration a second time if it asked fontconfig before it was done.
    if (!gConfiguration.joinable()) {
        return;
    }
    gConfiguration.join();
    gFamilies = std::jthread([] {
        QFontDatabase::families();
        // The fallback fonts Qt finds for the application font are kept for every thread.
        QFontMetrics(QGuiApplication::font()).height();
    });
    RunOnAnotherCpu(gFamilies);
}

void JoinFontThreads() {
    if (gConfiguration.joinable()) {
        gConfiguration.join();
    }
    if (gFamilies.joinable()) {
        gFamilies.join();
    }
}

} // namespace kelvara
