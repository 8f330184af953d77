#include "CurveEditor.h"

#include <algorithm>
#include <cmath>

namespace kelvara {

namespace {

bool IndexedX(CurveMode mode) {
    return mode == CurveMode::Word16Table || mode == CurveMode::Fixed16Table;
}

double ZoomStep(double zoom, int dx) {
    return std::max(1.0, zoom + dx * 0.01);
}

} // namespace

int CurveEditor::PickPoint(CurveView& view, int x, int y) {
    if (view.PointCount() == 0) {
        return -1;
    }
    RememberMouse(x, y);
    const auto [px, py] = view.PixelToValue(x, y);
    const VisibleRange& range = view.LastRange();
    // Spans are taken as sizes, so keys stored in falling order can still be picked.
    const double tx = IndexedX(view.Mode()) ? 0.1 : 0.007 * std::fabs(range.XSpan());
    const double ty = 0.012 * std::fabs(range.YSpan());
    for (int i = 0; i < view.PointCount(); ++i) {
        const double xi = view.DrawnX(i);
        const double yi = view.DrawnY(i);
        if (std::fabs(px - xi) < tx && std::fabs(py - yi) < ty) {
            view.SetMarkedPoint(i);
            textPoint = i;
            return i;
        }
    }
    return -1;
}

DragOutcome CurveEditor::DragOrNavigate(CurveView& view, const MouseState& mouse, int x, int y) {
    if (view.PointCount() == 0) {
        return DragOutcome::Nothing;
    }
    auto [dX, dY] = view.PixelDeltaToValue(x - lastX, y - lastY);
    const int dx = x - lastX;
    DragOutcome outcome = DragOutcome::Nothing;
    if (mouse.middle) {
        view.zoom = ZoomStep(view.zoom, dx);
        outcome = DragOutcome::Navigated;
    } else if (mouse.left) {
        if (mouse.shift) {
            view.zoom = ZoomStep(view.zoom, dx);
        } else {
            view.horizontalOffset -= dX; // the graph follows the pointer sideways
        }
        outcome = DragOutcome::Navigated;
    } else if (mouse.right) {
        if (mouse.alt) {
            const double fine = mouse.shift ? 0.001 : 0.1;
            dX *= fine;
            dY *= fine;
        }
        const int point = view.MarkedPoint();
        const CurveMode mode = view.Mode();
        if (!lockX && !IndexedX(mode)) {
            view.SetPointValue(CurveView::kAxisX, point, view.DrawnX(point) + dX);
        }
        if (!lockY) {
            if (mode == CurveMode::Fixed16Table && dY != 0 && std::fabs(dY) < kMinFixedStep) {
                dY = dY > 0 ? kMinFixedStep : -kMinFixedStep;
            }
            // A drag moves the point from where it is drawn.
            long double newY = view.DrawnY(point) - dY;
            if (mode == CurveMode::Word16Table) {
                newY = std::clamp<long double>(std::trunc(newY), 0, 65535);
            } else if (mode == CurveMode::Fixed16Table) {
                newY = std::clamp<long double>(newY, -16.0L, kFixedMax);
            }
            view.SetPointValue(CurveView::kAxisY, point, newY);
        }
        textPoint = point;
        // Only Ctrl refits the scale to the dragged point; otherwise it stays put while dragging.
        if (mouse.ctrl) {
            view.ComputeExtents();
        }
        outcome = DragOutcome::PointMoved;
    }
    RememberMouse(x, y);
    return outcome;
}

} // namespace kelvara
