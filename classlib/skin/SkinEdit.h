#pragma once

#include "TalkExport.h"

#include <QLineEdit>

#include <string>

/**
 * The flat edit of the voice dialog: a border of button-face rings that sinks in (shadow and highlight)
 * while the control has the focus or the mouse, with an optional tooltip.
 */
class TALK_API CSkinEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit CSkinEdit(QWidget* parent = nullptr);

    /** Sets the tooltip text and shows it on hover (`activate`) or keeps it silent. A null text clears it. */
    void SetTooltipText(const std::string* text, bool activate);
    void ActivateTooltip(bool activate);
    void InitToolTip();
    void SetText(const std::string& text);
    std::string GetText() const;
    /** Draws the border highlighted (sunken) or flat; repaints at once. */
    virtual void DrawBorder(bool highlight);

    bool IsHighlighted() const { return m_highlight; }
    /** Rings of the border (a client edge: 2). */
    int BorderWidth() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void ReadSystemColours();

    std::string m_tooltipText;
    bool m_tooltipActive = false;
    bool m_hover = false;
    bool m_highlight = false;
    QColor m_face;
    QColor m_light;
    QColor m_highlightColour;
    QColor m_shadow;
    QColor m_darkShadow;
};
