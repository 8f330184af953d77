#include "SimPath.h"

#include "TextUtil.h"

#include <vector>

namespace kelvara::testdata {

namespace fs = std::filesystem;

std::string SimPath(const std::string& folder, const std::string& value) {
    if (value.empty()) {
        return {};
    }
    std::string result = folder + "\\" + value;
    if (value.size() <= 3) {
        return result;
    }
    std::string up = folder;
    std::string rest = value;
    while (rest.size() >= 4 && rest.compare(0, 3, "..\\") == 0) {
        const size_t cut = up.rfind('\\');
        if (cut != std::string::npos) {
            up.erase(cut);
        }
        rest = rest.substr(3);
        result = up + "\\" + rest;
    }
    return result;
}

std::string Backslashed(const std::string& path) {
    std::string out = path;
    for (char& c : out) {
        if (c == '/') {
            c = '\\';
        }
    }
    return out;
}

std::optional<fs::path> FindNoCase(const std::string& path) {
    std::vector<std::string> parts;
    std::string piece;
    for (char c : path) {
        if (c == '\\' || c == '/') {
            parts.push_back(piece);
            piece.clear();
        } else {
            piece += c;
        }
    }
    parts.push_back(piece);

    fs::path at = parts.front().empty() ? fs::path("/") : fs::path(".");
    for (size_t i = 0; i < parts.size(); ++i) {
        const std::string& want = parts[i];
        if (want.empty() || want == ".") {
            continue;
        }
        if (want == "..") {
            at = at.parent_path();
            continue;
        }
        std::error_code ec;
        std::optional<fs::path> match;
        for (auto it = fs::directory_iterator(at, ec); !ec && it != fs::directory_iterator(); it.increment(ec)) {
            if (ToLower(it->path().filename().string()) == ToLower(want)) {
                match = it->path();
                break;
            }
        }
        if (!match) {
            return std::nullopt;
        }
        at = *match;
    }
    return at;
}

} // namespace kelvara::testdata
