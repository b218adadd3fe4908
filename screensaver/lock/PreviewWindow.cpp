#include "lock/PreviewWindow.h"

#include "Setup/SetupFile.h"

#include <QApplication>
#include <QPainter>
#include <QWindow>

#include <algorithm>
#include <cstdlib>
#include <random>

#include <xcb/xcb.h>

namespace screenveil {

namespace {

constexpr int kTickMs = 10;
constexpr int kParentCheckMs = 500;

GradientTitle PreviewTitle()
{
    return GradientTitle {"OpenHalvox Screen Saver", "Times New Roman", 35};
}

// A preview is shown in the full size of a screen shrunk into a small window: pictures go fitted.
LockContent PreviewContent(unsigned seed)
{
    CSetupFile setup;
    LockContent content;
    if (setup.Initialize() == 1)
        content = ReadLockContent(setup);
    content.display.fullSize = true;
    content.comment.clear();
    std::shuffle(content.pictures.begin(), content.pictures.end(), std::mt19937(seed));
    return content;
}

// The size of an X window of another program; an empty size once it is gone.
QSize WindowSize(std::uint64_t window)
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11)
        return QSize();
    xcb_connection_t* connection = x11->connection();
    xcb_get_geometry_reply_t* reply = xcb_get_geometry_reply(
        connection, xcb_get_geometry(connection, static_cast<xcb_drawable_t>(window)), nullptr);
    const QSize size = reply ? QSize(reply->width, reply->height) : QSize();
    std::free(reply);
    return size;
}

} // namespace

PreviewWindow::PreviewWindow(LockContent content, QSize size)
    : m_show(content, size, static_cast<unsigned>(std::random_device {}()), PreviewTitle())
{
    setWindowTitle("ScreenVeil preview");
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(size);
    m_timer.setInterval(kTickMs);
    connect(&m_timer, &QTimer::timeout, this, &PreviewWindow::Tick);
    m_clock.start();
    m_timer.start();
}

void PreviewWindow::Tick()
{
    if (m_show.Tick(m_clock.elapsed()))
        update();
}

void PreviewWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, m_show.Canvas());
}

int RunPreview(std::uint64_t parentWindow)
{
    const QSize size = parentWindow == 0 ? QSize() : WindowSize(parentWindow);
    if (size.isEmpty())
        return 1;
    QWindow* parent = QWindow::fromWinId(static_cast<WId>(parentWindow));
    if (!parent)
        return 1;
    PreviewWindow preview(PreviewContent(std::random_device {}()), size);
    preview.winId();
    preview.windowHandle()->setParent(parent);
    preview.move(0, 0);
    preview.show();
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [parentWindow] {
        // exit, not quit: quit would first ask the windows to close, and ours went with its parent.
        if (WindowSize(parentWindow).isEmpty())
            QCoreApplication::exit(0);
    });
    watch.start(kParentCheckMs);
    return QApplication::exec();
}

} // namespace screenveil
