#pragma once

#include "LabelScroller.h"
#include "SkinModel.h"

#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

/** A skin label: text on its piece of the skin picture, scrolling when it does not fit. */
class CSkinLabel : public QWidget
{
    Q_OBJECT
public:
    CSkinLabel(const SkinLabelDef& def, QPixmap background, QWidget* parent);

    const std::string& Name() const { return m_def.name; }
    int Id() const { return m_def.id; }
    const std::string& Text() const { return m_scroller.Text(); }
    void SetText(const std::string& text);
    void SetLabelFont(const QFont& font);
    void SetTimerEnabled(bool enabled) { m_scroller.SetTimerEnabled(enabled); }
    const LabelScroller& Scroller() const { return m_scroller; }

    /** The font a label definition asks for: mapped face, height in pixels, weight, italic. */
    static QFont FontOf(const SkinLabelDef& def);

signals:
    void Clicked(const QString& name, int id);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void Relayout();
    void Step();

    SkinLabelDef m_def;
    QPixmap m_background;
    QFont m_font;
    QColor m_color;
    LabelScroller m_scroller;
    QTimer m_timer;
};
