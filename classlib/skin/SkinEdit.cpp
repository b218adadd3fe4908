#include "SkinEdit.h"

#include "FlatControlLook.h"
#include "FlatRings.h"

#include <QEvent>
#include <QPainter>

CSkinEdit::CSkinEdit(QWidget* parent)
    : QLineEdit(parent)
{
    setFrame(false);
    int rings = BorderWidth();
    setTextMargins(rings, rings, rings, rings);
    ReadSystemColours();
}

int CSkinEdit::BorderWidth() const
{
    return talk::flat_control_look::BorderRings(false, true, false);
}

void CSkinEdit::ReadSystemColours()
{
    const QPalette& p = palette();
    m_face = p.color(QPalette::Button);
    m_light = p.color(QPalette::Midlight);
    m_highlightColour = p.color(QPalette::Light);
    m_shadow = p.color(QPalette::Mid);
    m_darkShadow = p.color(QPalette::Shadow);
}

void CSkinEdit::InitToolTip()
{
    setToolTip(m_tooltipActive ? QString::fromStdString(m_tooltipText) : QString());
}

void CSkinEdit::SetTooltipText(const std::string* text, bool activate)
{
    m_tooltipText = text != nullptr ? *text : std::string();
    m_tooltipActive = activate;
    InitToolTip();
}

void CSkinEdit::ActivateTooltip(bool activate)
{
    m_tooltipActive = activate;
    InitToolTip();
}

void CSkinEdit::SetText(const std::string& text)
{
    setText(QString::fromStdString(text));
}

std::string CSkinEdit::GetText() const
{
    return text().toStdString();
}

void CSkinEdit::DrawBorder(bool highlight)
{
    if (m_highlight != highlight) {
        m_highlight = highlight;
        update();
    }
}

void CSkinEdit::paintEvent(QPaintEvent* event)
{
    QLineEdit::paintEvent(event);
    QPainter painter(this);
    QRect ring = rect();
    if (m_highlight || !isEnabled()) {
        talk::flat_rings::DrawRing(painter, ring, m_shadow, m_highlightColour);
        talk::flat_rings::DrawRing(painter, ring.adjusted(1, 1, -1, -1), m_darkShadow, m_light);
        return;
    }
    for (int i = 0; i < BorderWidth(); ++i) {
        talk::flat_rings::DrawRing(painter, ring, m_face, m_face);
        ring.adjust(1, 1, -1, -1);
    }
}

void CSkinEdit::enterEvent(QEnterEvent* event)
{
    m_hover = true;
    DrawBorder(true);
    QLineEdit::enterEvent(event);
}

void CSkinEdit::leaveEvent(QEvent* event)
{
    m_hover = false;
    if (!hasFocus())
        DrawBorder(false);
    QLineEdit::leaveEvent(event);
}

void CSkinEdit::focusInEvent(QFocusEvent* event)
{
    DrawBorder(true);
    QLineEdit::focusInEvent(event);
}

void CSkinEdit::focusOutEvent(QFocusEvent* event)
{
    DrawBorder(m_hover);
    QLineEdit::focusOutEvent(event);
}

void CSkinEdit::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange)
        ReadSystemColours();
    QLineEdit::changeEvent(event);
}
