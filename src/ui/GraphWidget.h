// The graph: draws the drawing list of the shown table with OpenGL 1.1 in immediate mode and
// hands mouse events to the table panel. It draws the list and nothing else.
#pragma once

#include "CurveEditor.h"
#include "GraphGeometry.h"

#include <QOpenGLFunctions_1_1>
#include <QOpenGLWidget>

#include <functional>

namespace kelvara {

class Settings;

class GraphWidget : public QOpenGLWidget, protected QOpenGLFunctions_1_1 {
    Q_OBJECT
  public:
    struct MouseHandlers {
        std::function<void(Qt::MouseButton, int x, int y)> press;
        std::function<void(const MouseState&, int x, int y)> move;
        std::function<void(Qt::MouseButton)> release;
    };

    GraphWidget(CurveView& view, const Settings& settings, QWidget* parent = nullptr);

    // Whether an OpenGL context can be created and made current on this platform.
    [[nodiscard]] static bool OpenGLAvailable();

    void SetMouseHandlers(MouseHandlers handlers) { mHandlers = std::move(handlers); }
    // Builds the list and draws it at once, waiting until the GL is done; for timing.
    void DrawNow();

  protected:
    void initializeGL() override;
    void resizeGL(int w, int h) override;
    void paintGL() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void DrawGraph();
    void SetColor(GraphColor color);

    CurveView& mView;
    const Settings& mSettings;
    MouseHandlers mHandlers;
    bool mFunctionsReady = false;
};

} // namespace kelvara
