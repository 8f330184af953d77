// The graph: draws the drawing list of the shown table with OpenGL 1.1 in immediate mode and
// hands mouse events to the table panel. It draws the list and nothing else.
#pragma once

#include "CurveEditor.h"
#include "GraphGeometry.h"

#include <QFrame>
#include <QImage>
#include <QPixmap>

#include <functional>

namespace kelvara {

class Settings;
class GraphSurface;

// The drawing happens in a native OpenGL child window made once the main window is up; this
// widget around it takes the mouse, and neither takes the keyboard. A GL widget would instead put the whole main
// window on OpenGL composition and load the GL driver before the first show, which under
// software GL made a desktop start-up three times as long.
class GraphWidget : public QFrame {
    Q_OBJECT
  public:
    struct MouseHandlers {
        std::function<void(Qt::MouseButton, int x, int y)> press;
        std::function<void(const MouseState&, int x, int y)> move;
        std::function<void(Qt::MouseButton)> release;
    };

    GraphWidget(CurveView& view, const Settings& settings, QWidget* parent = nullptr);
    ~GraphWidget() override;

    // Whether an OpenGL context can be created and made current on this platform.
    [[nodiscard]] static bool OpenGLAvailable();

    void SetMouseHandlers(MouseHandlers handlers) { mHandlers = std::move(handlers); }
    // Until this, the widget shows the graph's empty background.
    void CreateSurface();
    // Without a renderer the panel keeps its place as an empty frame.
    void ShowUnavailable();
    [[nodiscard]] bool HasSurface() const { return mSurface != nullptr; }
    // Asks for a new frame; several requests before it is drawn make one.
    void Redraw();
    // Whether the GL context exists, which happens when the surface is first shown.
    [[nodiscard]] bool isValid() const;
    // Builds the list and draws it at once, waiting until the GL is done; for timing.
    void DrawNow();
    // What a frame draws: the drawing list, brought up to date with the view.
    const GraphGeometry& PrepareDrawing() { return mDrawing.Update(mView); }
    // Draws the graph and returns the picture, as large as the widget; null before the surface
    // is shown.
    [[nodiscard]] QImage grabFramebuffer();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    CurveView& mView;
    const Settings& mSettings;
    GraphDrawing mDrawing;
    GraphSurface* mSurface = nullptr;
    QWidget* mContainer = nullptr;
    bool mUnavailable = false;
    MouseHandlers mHandlers;
};

// A widget grab leaves out the graphs' own OpenGL windows; this lays their pictures on top.
[[nodiscard]] QPixmap GrabWithGraphs(QWidget& window);

} // namespace kelvara
