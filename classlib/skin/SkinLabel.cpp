#include "SkinLabel.h"

#include "FontFaces.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

#include <cstdlib>

CSkinLabel::CSkinLabel(const SkinLabelDef& def, QPixmap background, QWidget* parent)
    : QWidget(parent)
    , m_def(def)
    , m_background(std::move(background))
    , m_font(FontOf(def))
    , m_color(def.color.r, def.color.g, def.color.b)
{
    setObjectName(QString::fromStdString(def.name));
    setGeometry(def.rect.left, def.rect.top, def.rect.Width(), def.rect.Height());
    setToolTip(QString::fromStdString(def.tooltip));
    m_timer.setInterval(LabelScroller::kTickMs);
    connect(&m_timer, &QTimer::timeout, this, &CSkinLabel::Step);
    SetText(def.text);
}

QFont CSkinLabel::FontOf(const SkinLabelDef& def)
{
    QFont font(QString::fromStdString(MapFontFace(def.face)));
    int height = std::abs(def.fontHeight);
    font.setPixelSize(height > 0 ? height : 12);
    font.setWeight(def.bold ? QFont::Bold : QFont::Normal);
    font.setItalic(def.italic);
    return font;
}

void CSkinLabel::SetText(const std::string& text)
{
    m_scroller.SetText(text, width(), 1);
    Relayout();
}

void CSkinLabel::SetLabelFont(const QFont& font)
{
    m_font = font;
    Relayout();
}

void CSkinLabel::Relayout()
{
    m_timer.stop();
    // The capacity is measured with the window's own font, not the label's: skins are laid out for that.
    int widthOfW = QFontMetrics(QApplication::font()).horizontalAdvance(QLatin1Char('W'));
    if (m_scroller.SetText(m_scroller.Text(), width(), widthOfW))
        m_timer.start();
    update();
}

void CSkinLabel::Step()
{
    if (m_scroller.Tick())
        update();
}

void CSkinLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (!m_background.isNull())
        painter.drawPixmap(0, 0, m_background);
    painter.setFont(m_font);
    painter.setPen(m_color);
    painter.drawText(
        rect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, QString::fromStdString(m_scroller.DisplayText()));
}

void CSkinLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit Clicked(QString::fromStdString(m_def.name), m_def.id);
}
