#include "GraphWidget.h"

#include "Settings.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions_1_1>
#include <QOpenGLWindow>
#include <QPainter>

namespace kelvara {

class GraphSurface : public QOpenGLWindow, protected QOpenGLFunctions_1_1 {
  public:
    GraphSurface(GraphWidget& widget, CurveView& view, const Settings& settings)
        : mWidget(widget), mView(view), mSettings(settings) {
        // Mouse and keys go to the widget around it: a native window that took the focus would
        // keep every key from the main window's shortcuts.
        setFlags(flags() | Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus);
        // Desktop tools and the tests driving them find the window by this name.
        setTitle(QStringLiteral("Kelvara graph"));
    }

    void DrawNow() {
        if (!isValid()) {
            return;
        }
        makeCurrent();
        DrawGraph();
        if (mFunctionsReady) {
            glFinish();
        }
        doneCurrent();
    }

    QImage Grab() {
        if (!isValid()) {
            return {};
        }
        // The back buffer holds nothing defined after a swap, so the picture is drawn afresh.
        makeCurrent();
        DrawGraph();
        return grabFramebuffer();
    }

  protected:
    void initializeGL() override { mFunctionsReady = initializeOpenGLFunctions(); }
    void resizeGL(int w, int h) override {
        mView.viewportWidth = w;
        mView.viewportHeight = h;
    }
    void paintGL() override { DrawGraph(); }

  private:
    void DrawGraph();
    void SetColor(GraphColor color);

    GraphWidget& mWidget;
    CurveView& mView;
    const Settings& mSettings;
    bool mFunctionsReady = false;
};

GraphWidget::GraphWidget(CurveView& view, const Settings& settings, QWidget* parent)
    : QFrame(parent), mView(view), mSettings(settings) {
    setObjectName(QStringLiteral("RenderPanel"));
    setMinimumHeight(100);
    setMouseTracking(false);
    // The graph uses no key: a click or drag on it leaves the keyboard where it was, so the
    // tree's arrows and the window's shortcuts go on working.
    setFocusPolicy(Qt::NoFocus);
}

void GraphWidget::CreateSurface() {
    if (mSurface) {
        return;
    }
    mSurface = new GraphSurface(*this, mView, mSettings);
    mContainer = QWidget::createWindowContainer(mSurface, this);
    mContainer->setAttribute(Qt::WA_TransparentForMouseEvents);
    mContainer->setFocusPolicy(Qt::NoFocus);
    mContainer->setGeometry(rect());
    mContainer->show();
}

void GraphWidget::ShowUnavailable() {
    mUnavailable = true;
    setFrameShape(QFrame::StyledPanel);
    update();
}

void GraphWidget::paintEvent(QPaintEvent* event) {
    if (mUnavailable) {
        QFrame::paintEvent(event);
        return;
    }
    // What the surface clears to, so that nothing changes when it comes.
    const uint32_t bgr = mSettings.colors[static_cast<size_t>(GraphColor::Background)];
    const QColor background(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
    QPainter(this).fillRect(rect(), background);
}

GraphWidget::~GraphWidget() = default;

void GraphWidget::Redraw() {
    if (mSurface) {
        mSurface->update();
    }
}

bool GraphWidget::isValid() const {
    return mSurface && mSurface->isValid();
}

void GraphWidget::DrawNow() {
    if (mSurface) {
        mSurface->DrawNow();
    }
}

void GraphWidget::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    // No layout: its size hint would change the graph's share of the splitter.
    if (mContainer) {
        mContainer->setGeometry(rect());
    }
}

QImage GraphWidget::grabFramebuffer() {
    return mSurface ? mSurface->Grab() : QImage();
}

bool GraphWidget::OpenGLAvailable() {
    // Nobody sees a headless run's graph, and with a display at hand the offscreen platform's
    // GL contexts have crashed Qt; such runs do without it.
    if (QGuiApplication::platformName() == QLatin1String("offscreen")) {
        return false;
    }
    QOpenGLContext context;
    if (!context.create()) {
        return false;
    }
    QOffscreenSurface surface;
    surface.setFormat(context.format());
    surface.create();
    if (!surface.isValid() || !context.makeCurrent(&surface)) {
        return false;
    }
    context.doneCurrent();
    return true;
}

void GraphSurface::SetColor(GraphColor color) {
    const uint32_t bgr = mSettings.colors[static_cast<size_t>(color)];
    glColor4f(float(bgr & 0xFF) / 255.0f, float((bgr >> 8) & 0xFF) / 255.0f,
              float((bgr >> 16) & 0xFF) / 255.0f, 1.0f);
}

void GraphSurface::DrawGraph() {
    if (!mFunctionsReady) {
        return;
    }
    mView.viewportWidth = width();
    mView.viewportHeight = height();
    const qreal ratio = devicePixelRatio();
    glViewport(0, 0, int(width() * ratio), int(height() * ratio));

    glDisable(GL_DEPTH_TEST);
    const uint32_t background = mSettings.colors[static_cast<size_t>(GraphColor::Background)];
    glClearColor(float(background & 0xFF) / 255.0f, float((background >> 8) & 0xFF) / 255.0f,
                 float((background >> 16) & 0xFF) / 255.0f, 1.0f);
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_DITHER);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glDisable(GL_LIGHT0);
    glEnable(GL_CULL_FACE);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);

    const GraphGeometry& geometry = mWidget.PrepareDrawing();
    if (geometry.empty) {
        return;
    }
    if (mSettings.aalines) {
        glEnable(GL_LINE_SMOOTH);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
    } else {
        glDisable(GL_LINE_SMOOTH);
        glDisable(GL_BLEND);
    }
    // Squares are wound for a rising X axis; keys stored in falling order mirror the graph.
    if (geometry.right < geometry.left) {
        glDisable(GL_CULL_FACE);
    }
    glOrtho(geometry.left, geometry.right, geometry.bottom, geometry.top, -50000.0, 50000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    glEnableClientState(GL_VERTEX_ARRAY);
    for (const GraphPrimitive& item : geometry.items) {
        SetColor(item.color);
        const bool shifted = item.z != 0;
        if (shifted) {
            glPushMatrix();
            glTranslatef(0.0f, 0.0f, float(item.z));
        }
        // One call per list: a large matrix has a million vertices, one call each would keep
        // the window from answering for seconds.
        glVertexPointer(2, GL_DOUBLE, sizeof(GraphVertex), item.vertices.data());
        glDrawArrays(item.kind == GraphPrimitive::Kind::Lines ? GL_LINES : GL_POLYGON, 0,
                     GLsizei(item.vertices.size()));
        if (shifted) {
            glPopMatrix();
        }
    }
    glDisableClientState(GL_VERTEX_ARRAY);
}

namespace {
MouseState StateOf(const QMouseEvent* event) {
    MouseState state;
    state.left = event->buttons() & Qt::LeftButton;
    state.middle = event->buttons() & Qt::MiddleButton;
    state.right = event->buttons() & Qt::RightButton;
    state.shift = event->modifiers() & Qt::ShiftModifier;
    state.alt = event->modifiers() & Qt::AltModifier;
    state.ctrl = event->modifiers() & Qt::ControlModifier;
    return state;
}
} // namespace

void GraphWidget::mousePressEvent(QMouseEvent* event) {
    // Pixels map to values only once the surface has drawn.
    if (isValid() && mHandlers.press) {
        const QPoint p = event->position().toPoint();
        mHandlers.press(event->button(), p.x(), p.y());
    }
}

void GraphWidget::mouseMoveEvent(QMouseEvent* event) {
    if (isValid() && mHandlers.move && event->buttons() != Qt::NoButton) {
        const QPoint p = event->position().toPoint();
        mHandlers.move(StateOf(event), p.x(), p.y());
    }
}

void GraphWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (isValid() && mHandlers.release) {
        mHandlers.release(event->button());
    }
}

QPixmap GrabWithGraphs(QWidget& window) {
    QPixmap picture = window.grab();
    QPainter painter(&picture);
    for (GraphWidget* graph : window.findChildren<GraphWidget*>()) {
        if (graph->isVisible() && graph->isValid()) {
            painter.drawImage(graph->mapTo(&window, QPoint(0, 0)), graph->grabFramebuffer());
        }
    }
    return picture;
}

} // namespace kelvara
