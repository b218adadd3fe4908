#include "app/SplashWnd.h"

#include "art/ArtNames.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QScreen>

namespace deskwarden::app {

CSplashWnd::CSplashWnd(const QString& logoPath)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_picture(logoPath)
{
    setObjectName("CSplashWnd");
    if (m_picture.isNull())
        m_picture = QPixmap(art::kAbout);
    setFixedSize(m_picture.isNull() ? QSize(400, 240) : m_picture.size());
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &CSplashWnd::HideSplash);
}

CSplashWnd::~CSplashWnd()
{
    qApp->removeEventFilter(this);
}

void CSplashWnd::ShowSplash()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    show();
    qApp->installEventFilter(this);
    m_timer.start(kShowMs);
}

void CSplashWnd::HideSplash()
{
    m_timer.stop();
    qApp->removeEventFilter(this);
    hide();
}

void CSplashWnd::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (!m_picture.isNull())
        painter.drawPixmap(0, 0, m_picture);
    else
        painter.fillRect(rect(), QColor(0x5A, 0x71, 0xB5));
}

bool CSplashWnd::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::NonClientAreaMouseButtonPress:
        if (isVisible()) {
            HideSplash();
            return true;
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace deskwarden::app
