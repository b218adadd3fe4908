#pragma once

#include "rules/DisplaySettings.h"

#include <QFrame>

namespace screenveil {

/** A box filled with one colour; a double click lets the user choose another in the colour dialog. */
class ColourBox final : public QFrame
{
    Q_OBJECT
public:
    ColourBox(int controlId, const QString& title, QWidget* parent = nullptr);

    void SetColour(const Rgb& colour);
    Rgb Colour() const { return m_colour; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QString m_title;
    Rgb m_colour;
};

} // namespace screenveil
