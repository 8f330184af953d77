// kvr.cfg: defaults, the line-by-line reader, the writer, and where the file lives on Linux.
#include "Settings.h"

#include "SaveSystem.h"
#include "TextUtil.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvara {

namespace {

// fgets with a 1000-byte buffer: a longer line arrives as several pieces.
constexpr size_t kLinePiece = 999;

constexpr const char* kColorKeys[8] = {"color1", "color2",  "color3", "color4",
                                       "color5", "bgcolor", "color6", "color7"};

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.empty() || folder.back() == '/') {
        return folder + name;
    }
    return folder + "/" + name;
}

bool IsWritableFolder(const std::string& folder) {
    struct stat info {};
    return ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
           ::access(folder.c_str(), W_OK | X_OK) == 0;
}

bool FileExists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string XdgSettingsFolder() {
    // Relative values are invalid by the XDG rules and are ignored.
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && config[0] == '/') {
        return JoinPath(config, "kelvara");
    }
    std::string home;
    if (const char* env = std::getenv("HOME"); env != nullptr && env[0] == '/') {
        home = env;
    } else if (const passwd* entry = ::getpwuid(::getuid());
               entry != nullptr && entry->pw_dir != nullptr && entry->pw_dir[0] == '/') {
        home = entry->pw_dir;
    } else {
        return {};
    }
    return JoinPath(JoinPath(home, ".config"), "kelvara");
}

// mkdir -p; the outcome shows later, when the file is written.
void MakeFolders(const std::string& folder) {
    for (size_t pos = 1; pos <= folder.size(); ++pos) {
        if (pos == folder.size() || folder[pos] == '/') {
            ::mkdir(folder.substr(0, pos).c_str(), 0700);
        }
    }
}

// A value holding a line break would be read back as two lines, the second one possibly a key;
// blanks at either end would be trimmed away by the reader. What is written is what reads back.
std::string_view OneLine(std::string_view value) {
    return Trim(value.substr(0, value.find_first_of(std::string_view("\r\n\0", 3))));
}

void AppendLine(std::string& out, std::string_view key, std::string_view value) {
    out.append(key).append(" = ").append(OneLine(value)).append("\n");
}

void AppendLine(std::string& out, std::string_view key, long long value) {
    AppendLine(out, key, std::to_string(value));
}

bool FileHolds(const std::string& path, const std::string& text) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    std::string content(text.size() + 1, '\0'); // one more, to see a file that grew meanwhile
    size_t filled = 0;
    ssize_t got = 0;
    while (filled < content.size() &&
           (got = ::read(fd, content.data() + filled, content.size() - filled)) != 0) {
        if (got < 0 && errno != EINTR) {
            break;
        }
        filled += got > 0 ? static_cast<size_t>(got) : 0;
    }
    ::close(fd);
    return got >= 0 && filled == text.size() && content.compare(0, filled, text) == 0;
}

} // namespace

Settings::Settings() {
    RefreshColorComponents();
}

void Settings::Load(const std::string& programFolder, bool installed) {
    mProgramFolder = programFolder.empty() ? std::string(".") : programFolder;
    const std::string programFile = JoinPath(mProgramFolder, kFileName);
    std::string readFrom = programFile;
    mConfigFolder = mProgramFolder;

    if (installed || !IsWritableFolder(mProgramFolder)) {
        const std::string xdg = XdgSettingsFolder();
        if (!xdg.empty()) {
            MakeFolders(xdg);
            mConfigFolder = xdg;
            // Once saved here, this copy is newer than any left in the program's folder.
            if (FileExists(JoinPath(xdg, kFileName)) || !FileExists(programFile)) {
                readFrom = JoinPath(xdg, kFileName);
            }
        }
    }
    mConfigPath = JoinPath(mConfigFolder, kFileName);
    ReadFile(readFrom);
    RefreshColorComponents();
}

void Settings::LoadWithSettingsFolder(const std::string& programFolder,
                                      const std::string& settingsFolder) {
    if (settingsFolder.empty()) {
        Load(programFolder);
        return;
    }
    mProgramFolder = programFolder.empty() ? std::string(".") : programFolder;
    MakeFolders(settingsFolder);
    mConfigFolder = settingsFolder;
    mConfigPath = JoinPath(mConfigFolder, kFileName);
    ReadFile(mConfigPath);
    RefreshColorComponents();
}

int32_t LanguageOfLocale(std::string_view lcAll, std::string_view lcMessages,
                         std::string_view lang) {
    // The first one set decides, as for the C library's messages.
    for (const std::string_view value : {lcAll, lcMessages, lang}) {
        if (!value.empty()) {
            return value.substr(0, 2) == "de" ? 'D' : 'E';
        }
    }
    return 'E';
}

void Settings::ReadFile(const std::string& path) {
    ReadFileText(path);
    if (!languageFromLocale) {
        return;
    }
    const auto variable = [](const char* name) {
        const char* value = std::getenv(name);
        return std::string_view(value ? value : "");
    };
    language = LanguageOfLocale(variable("LC_ALL"), variable("LC_MESSAGES"), variable("LANG"));
}

void Settings::ReadFileText(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return;
    }
    std::string text;
    char buffer[8192];
    while (text.size() < kMaxFileBytes) {
        const size_t want = std::min(sizeof buffer, kMaxFileBytes - text.size());
        const size_t got = std::fread(buffer, 1, want, file);
        text.append(buffer, got);
        if (got < want) {
            break;
        }
    }
    std::fclose(file);
    ReadText(text);
}

void Settings::ReadText(std::string_view text) {
    std::string rememberedPath;
    while (!text.empty()) {
        size_t length = std::min(text.size(), kLinePiece);
        if (const size_t end = text.substr(0, length).find('\n'); end != text.npos) {
            length = end + 1;
        }
        std::string_view piece = text.substr(0, length);
        text.remove_prefix(length);
        // The line was a C string: a NUL byte ends it.
        piece = piece.substr(0, piece.find('\0'));
        ApplyLine(piece, rememberedPath);
    }
}

void Settings::ApplyLine(std::string_view line, std::string& rememberedPath) {
    const size_t equals = line.find('=');
    if (equals == line.npos || equals + 1 == line.size()) {
        return;
    }
    const std::string_view key = Trim(line.substr(0, equals));
    const std::string_view value = Trim(line.substr(equals + 1));
    const auto number = [&] { return ParseLeadingInteger(value).value; };

    if (key == "fspath") {
        fspath = value;
    } else if (key == "asciidir") {
        asciidir = value;
    } else if (key == "opendir") {
        opendir = value;
    } else if (key == "searchpath") {
        rememberedPath = value;
    } else if (key == "searchpathactive") {
        if (searchPaths.size() < kMaxSearchPaths) {
            searchPaths.push_back({rememberedPath, value == "0" ? 0 : 1});
        }
    } else if (key == "aalines") {
        aalines = value == "1";
    } else if (key == "newsearch") {
        newsearch = value == "1";
    } else if (key == "debug") {
        debug = value == "1";
    } else if (key == "datatypes") {
        datatypes = value != "0";
    } else if (key == "showaircraft") {
        showaircraft = value != "0";
    } else if (key == "language") {
        language = value == "E" ? 'E' : 'D';
        languageFromLocale = false;
    } else if (key == "delimiter") {
        delimiter = number();
    } else if (key == "decimal") {
        decimal = number();
    } else if (key == "windowleft") {
        windowleft = number();
    } else if (key == "windowtop") {
        windowtop = number();
    } else if (key == "windowwidth") {
        windowwidth = number();
    } else if (key == "windowheight") {
        windowheight = number();
    } else if (key == "moptions") {
        moptions = number();
    } else if (key.size() == 9 && key.starts_with("splitter") && key[8] >= '1' && key[8] <= '6') {
        splitter[static_cast<size_t>(key[8] - '1')] = number();
    } else {
        for (size_t i = 0; i < colors.size(); ++i) {
            if (key == kColorKeys[i]) {
                colors[i] = static_cast<uint32_t>(number());
            }
        }
    }
}

std::string Settings::SaveText() const {
    std::string out;
    AppendLine(out, "fspath", fspath);
    AppendLine(out, "asciidir", asciidir);
    AppendLine(out, "opendir", opendir);
    for (const SearchPath& path : searchPaths) {
        AppendLine(out, "searchpath", path.folder);
        AppendLine(out, "searchpathactive", path.active);
    }
    AppendLine(out, "aalines", aalines == 1 ? 1 : 0);
    AppendLine(out, "newsearch", newsearch == 1 ? 1 : 0);
    AppendLine(out, "datatypes", datatypes == 1 ? 1 : 0);
    AppendLine(out, "showaircraft", showaircraft == 1 ? 1 : 0);
    if (!languageFromLocale) {
        AppendLine(out, "language", language == 'E' ? "E" : "D");
    }
    AppendLine(out, "delimiter", delimiter);
    AppendLine(out, "decimal", decimal);
    AppendLine(out, "windowleft", windowleft);
    AppendLine(out, "windowtop", windowtop);
    AppendLine(out, "windowwidth", windowwidth);
    AppendLine(out, "windowheight", windowheight);
    for (size_t i = 0; i < splitter.size(); ++i) {
        AppendLine(out, "splitter" + std::to_string(i + 1), splitter[i]);
    }
    AppendLine(out, "moptions", moptions);
    for (size_t i = 0; i < colors.size(); ++i) {
        AppendLine(out, kColorKeys[i], static_cast<int32_t>(colors[i]));
    }
    return out;
}

bool Settings::Save() {
    RefreshColorComponents();
    if (mConfigPath.empty()) {
        return false;
    }
    // Write through a link to the file it names, rather than replacing the link.
    std::string target = mConfigPath;
    if (char resolved[PATH_MAX]; ::realpath(mConfigPath.c_str(), resolved) != nullptr) {
        target = resolved;
    }
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    // A write-protected kvr.cfg stays as it is, as when it cannot be opened for writing.
    if (exists && ::access(target.c_str(), W_OK) != 0) {
        return false;
    }
    const std::string text = SaveText();
    // Opening a file saves the settings; rewriting and syncing an unchanged file each time
    // would cost two fsyncs for nothing.
    if (exists && static_cast<size_t>(old.st_size) == text.size() && FileHolds(target, text)) {
        return true;
    }

    // A full disk or a crash mid-write must not leave a truncated kvr.cfg behind.
    const std::string temporary = target + ".new";
    SaveSystem& system = CurrentSaveSystem();
    (void)system.Unlink(temporary);
    const int fd = system.Open(temporary, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        return false;
    }
    bool ok = !exists || ::fchmod(fd, old.st_mode & 07777) == 0;
    ok = ok && WriteFully(system, fd, text.data(), text.size()) && system.Fsync(fd) == 0;
    ok = (system.Close(fd) == 0) && ok;
    ok = ok && system.RenameReplace(temporary, target) == 0;
    if (!ok) {
        (void)system.Unlink(temporary);
        return false;
    }
    // The rename is only as durable as the folder entry that records it.
    (void)system.SyncFolderOf(target);
    return true;
}

void Settings::RefreshColorComponents() {
    constexpr double kInverse255 = 0.00392156862745098;
    for (size_t i = 0; i < colors.size(); ++i) {
        const uint32_t c = colors[i];
        colorComponents[i].red = static_cast<float>((c & 0xFFu) * kInverse255);
        colorComponents[i].green = static_cast<float>(((c & 0xFF00u) >> 8) * kInverse255);
        colorComponents[i].blue = static_cast<float>(((c & 0xFF0000u) >> 16) * kInverse255);
    }
}

} // namespace kelvara
