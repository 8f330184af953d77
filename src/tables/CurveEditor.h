// The mouse arithmetic of the curve editor: picking the point under the pointer, dragging it
// (locks, fine steps, clamps), panning and zooming. The widget forwards its events here and
// redraws; nothing in here knows a toolkit.
#pragma once

#include "CurveView.h"

namespace kelvara {

struct MouseState {
    bool left = false;
    bool middle = false;
    bool right = false;
    bool shift = false;
    bool alt = false;
    bool ctrl = false;
};

enum class DragOutcome {
    Nothing,    // no table, or no button that does anything
    Navigated,  // zoom or pan changed: redraw
    PointMoved, // the marked point's bytes changed: refresh the fields and redraw
};

class CurveEditor {
  public:
    // "tbl16_2" moves by at least this much, so every drag step changes the stored value.
    static constexpr double kMinFixedStep = 0.0005;
    static constexpr double kFixedMax = 15.999;

    bool lockX = true;
    bool lockY = false;
    int lastX = 0;
    int lastY = 0;
    // The point that the value fields show and that typed values go to.
    int textPoint = 0;

    // The lowest point of the current curve within the pick tolerance of (x, y); it becomes
    // the marked point and the text point. -1 when none is near (the mark stays).
    int PickPoint(CurveView& view, int x, int y);
    // Mouse movement with buttons held.
    DragOutcome DragOrNavigate(CurveView& view, const MouseState& mouse, int x, int y);
    void RememberMouse(int x, int y) {
        lastX = x;
        lastY = y;
    }
};

} // namespace kelvara
