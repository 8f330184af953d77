#include "StartupRules.h"

#include "TextUtil.h"

namespace kelvara {

std::string StartFileFromArguments(const std::vector<std::string>& arguments) {
    if (arguments.empty()) {
        return {};
    }
    const std::string& first = arguments.front();
    const std::string lower = ToLower(first);
    constexpr std::string_view kSuffix = ".air";
    if (lower.size() <= kSuffix.size() || !lower.ends_with(kSuffix)) {
        return {};
    }
    return first;
}

WindowPlacement PlaceWindow(int windowLeft, int windowTop, int windowWidth, int windowHeight, int screenWidth,
                            int screenHeight, int designWidth, int designHeight) {
    WindowPlacement placement;
    placement.width = designWidth;
    placement.height = designHeight;
    if (windowLeft < 0) {
        placement.left = (screenWidth - placement.width) / 2;
    } else {
        placement.left = windowLeft;
        if (windowWidth > 0) {
            placement.width = windowWidth;
        }
    }
    if (windowTop < 0) {
        placement.top = (screenHeight - placement.height) / 2;
    } else {
        placement.top = windowTop;
        if (windowHeight > 0) {
            placement.height = windowHeight;
        }
    }
    placement.maximised = windowLeft == -2;
    return placement;
}

} // namespace kelvara
