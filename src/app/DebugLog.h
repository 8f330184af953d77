// The optional start-up trace "_debug.txt": one line per debug point, a new file per run.
#pragma once

#include <string>
#include <string_view>

namespace kelvara {

class Settings;

class DebugLog {
  public:
    DebugLog() = default;
    // folder: where "_debug.txt" lives, the settings folder.
    DebugLog(bool enabled, std::string folder);
    explicit DebugLog(const Settings& settings);

    static constexpr const char* kFileName = "_debug.txt";

    // Appends text and a line end when the log is on; the first point of a run deletes the
    // old file first. Failures are ignored.
    void WriteDebugPoint(std::string_view text);

    [[nodiscard]] bool Enabled() const { return mEnabled; }
    [[nodiscard]] std::string Path() const;

  private:
    bool mEnabled = false;
    bool mFirstWrite = true;
    std::string mFolder;
};

} // namespace kelvara
