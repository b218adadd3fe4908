#pragma once

#include "FlatControlLook.h"
#include "TalkExport.h"

#include <QColor>
#include <QComboBox>

#include <string>

/**
 * The flat combo of the voice dialog: flat button-face rings at rest, raised under the mouse or with the
 * focus, sunken while pressed; with auto-completion of typed text when the combo is editable.
 */
class TALK_API CSkinCombo : public QComboBox
{
    Q_OBJECT
public:
    using STATE = talk::flat_control_look::ComboState;

    explicit CSkinCombo(QWidget* parent = nullptr);

    void EnableAutoCompletion(bool enable) { m_autoCompletion = enable; }
    bool IsAutoCompletionEnabled() const { return m_autoCompletion; }
    /** Shows `state` with the given ring colours (repaints at once). */
    void DrawCombo(STATE state, const QColor& topLeft, const QColor& bottomRight);
    STATE CurrentState() const { return m_state; }

    void AddString(const std::string& text);
    std::string GetCurrentText() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void Refresh();
    void OnEditChanged(const QString& text);
    void ReadSystemColours();

    bool m_autoCompletion = false;
    bool m_pressed = false;
    bool m_hover = false;
    bool m_focus = false;
    STATE m_state = STATE::Flat;
    QColor m_topLeft;
    QColor m_bottomRight;
    QColor m_highlight;
    QColor m_shadow;
    QColor m_face;
    std::string m_previousText;
};
