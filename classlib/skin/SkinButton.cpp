#include "SkinButton.h"

#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>

CSkinButton::CSkinButton(
    const SkinButtonDef& def, QPixmap normal, QPixmap over, QPixmap down, QPixmap disabled, QWidget* parent)
    : QWidget(parent)
    , m_def(def)
    , m_pictures {std::move(normal), std::move(over), std::move(down), std::move(disabled)}
{
    m_look.toggle = def.toggle;
    setObjectName(QString::fromStdString(def.name));
    setGeometry(def.rect.left, def.rect.top, def.rect.Width(), def.rect.Height());
    setToolTip(QString::fromStdString(def.tooltip));
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
}

void CSkinButton::SetChecked(bool checked)
{
    if (m_look.checked != checked) {
        m_look.checked = checked;
        update();
    }
}

void CSkinButton::paintEvent(QPaintEvent*)
{
    m_look.enabled = isEnabled();
    const QPixmap& picture = m_pictures[static_cast<int>(ChooseButtonPicture(m_look))];
    if (!picture.isNull()) {
        QPainter painter(this);
        painter.drawPixmap(0, 0, picture);
    }
}

void CSkinButton::enterEvent(QEnterEvent*)
{
    // Only the active window lights its buttons, as a window behind others should not react to a passing mouse.
    if (window()->isActiveWindow()) {
        m_look.hover = true;
        update();
    }
}

void CSkinButton::leaveEvent(QEvent*)
{
    m_look.hover = false;
    m_look.pressed = false;
    update();
}

void CSkinButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_look.pressed = true;
    update();
}

void CSkinButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_look.pressed)
        return;
    m_look.pressed = false;
    bool inside = rect().contains(event->position().toPoint());
    if (inside && m_look.toggle)
        m_look.checked = !m_look.checked;
    update();
    if (inside)
        emit Pressed(QString::fromStdString(m_def.name), m_def.id);
}

void CSkinButton::changeEvent(QEvent* event)
{
    // A button disabled under the mouse (Record while recording) must show its disabled look at once.
    if (event->type() == QEvent::EnabledChange) {
        if (!isEnabled()) {
            m_look.hover = false;
            m_look.pressed = false;
        }
        update();
    }
    QWidget::changeEvent(event);
}
