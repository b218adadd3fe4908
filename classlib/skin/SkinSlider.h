#pragma once

#include "SkinModel.h"
#include "SliderState.h"

#include <QPixmap>
#include <QWidget>

/** A skin slider: its normal picture, filled up to the position from the pressed picture. */
class CSkinSlider : public QWidget
{
    Q_OBJECT
public:
    CSkinSlider(const SkinSliderDef& def, QPixmap normal, QPixmap down, QWidget* parent);

    const std::string& Name() const { return m_def.name; }
    int Index() const { return m_def.index; }
    int Position() const { return m_state.Position(); }
    /** Program-set position (ignored while the user drags, capped to 0..100). */
    void SetPosition(int position);
    bool IsDragging() const { return m_state.IsDragging(); }

signals:
    /** Released inside itself after the user moved it. */
    void Released(int index);
    void Moved(const QString& name, int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    SkinSliderDef m_def;
    QPixmap m_normal;
    QPixmap m_down;
    SliderState m_state;
};
