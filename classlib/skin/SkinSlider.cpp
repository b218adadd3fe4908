#include "SkinSlider.h"

#include <QMouseEvent>
#include <QPainter>

CSkinSlider::CSkinSlider(const SkinSliderDef& def, QPixmap normal, QPixmap down, QWidget* parent)
    : QWidget(parent)
    , m_def(def)
    , m_normal(std::move(normal))
    , m_down(std::move(down))
    , m_state(def.rect, def.horizontal)
{
    setObjectName(QString::fromStdString(def.name));
    setGeometry(def.rect.left, def.rect.top, def.rect.Width(), def.rect.Height());
    setToolTip(QString::fromStdString(def.tooltip));
    setCursor(Qt::PointingHandCursor);
}

void CSkinSlider::SetPosition(int position)
{
    if (m_state.SetPosition(position))
        update();
}

void CSkinSlider::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (!m_normal.isNull())
        painter.drawPixmap(0, 0, m_normal);
    SkinRect filled = m_state.FilledPart();
    if (!m_down.isNull() && !filled.IsEmpty()) {
        QRect part(filled.left, filled.top, filled.Width(), filled.Height());
        painter.drawPixmap(part, m_down, part);
    }
}

void CSkinSlider::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    QPoint p = event->position().toPoint();
    m_state.Press(p.x(), p.y());
    update();
}

void CSkinSlider::mouseMoveEvent(QMouseEvent* event)
{
    QPoint p = event->position().toPoint();
    if (m_state.Move(p.x(), p.y()))
        update();
    emit Moved(QString::fromStdString(m_def.name), p.x(), p.y());
}

void CSkinSlider::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    QPoint p = event->position().toPoint();
    if (m_state.Release(p.x(), p.y()))
        emit Released(m_def.index);
    update();
}
