// Start-up decisions of the editor window that need no toolkit: which command-line argument
// names a file to open, and where the window goes.
#pragma once

#include <string>
#include <vector>

namespace kelvara {

// The first argument when it names an ".air" file (any letter case); empty otherwise, so that
// "b.air.bak" or a stray option never switches to file mode.
[[nodiscard]] std::string StartFileFromArguments(const std::vector<std::string>& arguments);

struct WindowPlacement {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool maximised = false;
};

// windowleft/windowtop below 0 centre the window with its design size on that axis;
// windowleft -2 maximises it afterwards. Sizes of 0 or less fall back to the design size.
[[nodiscard]] WindowPlacement PlaceWindow(int windowLeft, int windowTop, int windowWidth, int windowHeight,
                                          int screenWidth, int screenHeight, int designWidth, int designHeight);

} // namespace kelvara
