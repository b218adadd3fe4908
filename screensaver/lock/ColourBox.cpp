#include "lock/ColourBox.h"

#include <QColorDialog>
#include <QMouseEvent>
#include <QPainter>

namespace screenveil {

ColourBox::ColourBox(int controlId, const QString& title, QWidget* parent)
    : QFrame(parent)
    , m_title(title)
{
    setObjectName(QString::number(controlId));
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setMinimumWidth(60);
    setFixedHeight(28);
    setToolTip(title);
}

void ColourBox::SetColour(const Rgb& colour)
{
    m_colour = colour;
    update();
}

void ColourBox::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.fillRect(contentsRect().adjusted(2, 2, -2, -2), QColor(m_colour.red, m_colour.green, m_colour.blue));
}

void ColourBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    event->accept();
    const QColor chosen = QColorDialog::getColor(QColor(m_colour.red, m_colour.green, m_colour.blue), this, m_title);
    if (chosen.isValid())
        SetColour(Rgb {chosen.red(), chosen.green(), chosen.blue()});
}

} // namespace screenveil
