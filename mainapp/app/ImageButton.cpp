#include "app/ImageButton.h"

#include <QEnterEvent>
#include <QMenu>
#include <QPainter>

namespace deskwarden::app {

ImageButton::ImageButton(int controlId, QWidget* parent)
    : QAbstractButton(parent)
{
    setObjectName(QString::number(controlId));
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
    connect(this, &QAbstractButton::clicked, this, [this] {
        if (m_menu != nullptr)
            OpenMenu();
    });
}

void ImageButton::SetPictures(const art::StatePictures& pictures)
{
    m_normal = QPixmap(QString::fromUtf8(pictures.normal == nullptr ? "" : pictures.normal));
    m_over = QPixmap(QString::fromUtf8(pictures.over == nullptr ? "" : pictures.over));
    m_down = QPixmap(QString::fromUtf8(pictures.down == nullptr ? "" : pictures.down));
    if (!m_normal.isNull())
        setFixedSize(m_normal.size());
    update();
}

QSize ImageButton::sizeHint() const
{
    return m_normal.isNull() ? QSize(120, 32) : m_normal.size();
}

void ImageButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QPixmap& picture = isDown() ? m_down : (m_hovered ? m_over : m_normal);
    if (!picture.isNull()) {
        painter.drawPixmap(rect(), picture);
        return;
    }
    painter.fillRect(rect(),
        isDown() ? QColor(0x10, 0x4a, 0xb0) : (m_hovered ? QColor(0x30, 0x80, 0xff) : QColor(0x18, 0x65, 0xe7)));
    painter.setPen(Qt::white);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.drawText(rect(), Qt::AlignCenter, text());
}

void ImageButton::enterEvent(QEnterEvent* event)
{
    m_hovered = true;
    update();
    QAbstractButton::enterEvent(event);
}

void ImageButton::leaveEvent(QEvent* event)
{
    m_hovered = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void ImageButton::nextCheckState()
{
    // Image buttons are never checkable; the base class would toggle a state nobody draws.
}

void ImageButton::OpenMenu()
{
    m_menu->popup(mapToGlobal(QPoint(0, height())));
}

} // namespace deskwarden::app
