#include "SkinCombo.h"

#include "AutoComplete.h"
#include "FlatRings.h"

#include <QEvent>
#include <QLineEdit>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

#include <vector>

CSkinCombo::CSkinCombo(QWidget* parent)
    : QComboBox(parent)
{
    ReadSystemColours();
    m_topLeft = m_bottomRight = m_face;
    connect(this, &QComboBox::editTextChanged, this, &CSkinCombo::OnEditChanged);
}

void CSkinCombo::ReadSystemColours()
{
    m_highlight = palette().color(QPalette::Light);
    m_shadow = palette().color(QPalette::Mid);
    m_face = palette().color(QPalette::Button);
}

void CSkinCombo::AddString(const std::string& text)
{
    addItem(QString::fromStdString(text));
}

std::string CSkinCombo::GetCurrentText() const
{
    return currentText().toStdString();
}

void CSkinCombo::DrawCombo(STATE state, const QColor& topLeft, const QColor& bottomRight)
{
    m_state = state;
    m_topLeft = topLeft;
    m_bottomRight = bottomRight;
    update();
}

void CSkinCombo::Refresh()
{
    STATE state = talk::flat_control_look::ChooseComboState(m_pressed, m_hover, m_focus);
    switch (state) {
    case STATE::Flat:
        DrawCombo(state, m_face, m_face);
        break;
    case STATE::Raised:
        DrawCombo(state, m_highlight, m_shadow);
        break;
    case STATE::Pressed:
        DrawCombo(state, m_shadow, m_highlight);
        break;
    }
}

void CSkinCombo::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QRect field = rect();
    painter.fillRect(field, palette().color(isEnabled() ? QPalette::Base : QPalette::Window));

    int buttonWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    QRect button(field.right() - 1 - buttonWidth, field.top() + 2, buttonWidth, field.height() - 4);
    painter.fillRect(button, m_face);
    int shift = m_state == STATE::Pressed ? 1 : 0;
    QStyleOption arrow;
    arrow.initFrom(this);
    arrow.rect = button.translated(shift, shift).adjusted(3, 3, -3, -3);
    style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &arrow, &painter, this);

    if (!isEditable()) {
        painter.setPen(palette().color(isEnabled() ? QPalette::Text : QPalette::PlaceholderText));
        QRect textRect = field.adjusted(4, 0, -buttonWidth - 4, 0);
        painter.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft, currentText());
    }

    talk::flat_rings::DrawRing(painter, field, m_topLeft, m_bottomRight);
    talk::flat_rings::DrawRing(painter, field.adjusted(1, 1, -1, -1), m_state == STATE::Flat ? m_face : m_topLeft,
        m_state == STATE::Flat ? m_face : m_bottomRight);
}

void CSkinCombo::enterEvent(QEnterEvent* event)
{
    m_hover = true;
    Refresh();
    QComboBox::enterEvent(event);
}

void CSkinCombo::leaveEvent(QEvent* event)
{
    m_hover = false;
    Refresh();
    QComboBox::leaveEvent(event);
}

void CSkinCombo::mousePressEvent(QMouseEvent* event)
{
    m_pressed = true;
    Refresh();
    QComboBox::mousePressEvent(event);
}

void CSkinCombo::mouseReleaseEvent(QMouseEvent* event)
{
    m_pressed = false;
    Refresh();
    QComboBox::mouseReleaseEvent(event);
}

void CSkinCombo::focusInEvent(QFocusEvent* event)
{
    m_focus = true;
    Refresh();
    QComboBox::focusInEvent(event);
}

void CSkinCombo::focusOutEvent(QFocusEvent* event)
{
    m_focus = false;
    Refresh();
    QComboBox::focusOutEvent(event);
}

void CSkinCombo::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange) {
        ReadSystemColours();
        Refresh();
    }
    QComboBox::changeEvent(event);
}

void CSkinCombo::OnEditChanged(const QString& text)
{
    std::string typed = text.toStdString();
    if (!m_autoCompletion || lineEdit() == nullptr) {
        m_previousText = typed;
        return;
    }
    std::vector<std::string> entries;
    for (int i = 0; i < count(); ++i)
        entries.push_back(itemText(i).toStdString());
    AutoCompleteResult result = AutoCompleteText(entries, typed, m_previousText);
    m_previousText = result.text;
    if (!result.completed)
        return;
    QString completed = QString::fromStdString(result.text);
    int start = QString::fromStdString(result.text.substr(0, result.selectionStart)).size();
    QSignalBlocker block(this);
    lineEdit()->setText(completed);
    lineEdit()->setSelection(start, completed.size() - start);
}
