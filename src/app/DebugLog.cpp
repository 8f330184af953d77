// Each point opens and closes the file, so every line is on disk even if the program dies.
#include "DebugLog.h"

#include "Settings.h"

#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace kelvara {

DebugLog::DebugLog(bool enabled, std::string folder)
    : mEnabled(enabled), mFolder(std::move(folder)) {}

DebugLog::DebugLog(const Settings& settings)
    : DebugLog(settings.debug != 0, settings.ConfigFolder()) {}

std::string DebugLog::Path() const {
    if (mFolder.empty() || mFolder.back() == '/') {
        return mFolder + kFileName;
    }
    return mFolder + "/" + kFileName;
}

void DebugLog::WriteDebugPoint(std::string_view text) {
    if (!mEnabled) {
        return;
    }
    const std::string path = Path();
    if (mFirstWrite) {
        mFirstWrite = false;
        // A write-protected trace is the user's way of keeping it: no lines are added.
        struct stat st;
        if (::stat(path.c_str(), &st) == 0 && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
            mEnabled = false;
            return;
        }
        ::unlink(path.c_str());
    }
    std::FILE* file = std::fopen(path.c_str(), "a");
    if (file == nullptr) {
        return;
    }
    std::fwrite(text.data(), 1, text.size(), file);
    std::fputc('\n', file);
    std::fclose(file);
}

} // namespace kelvara
