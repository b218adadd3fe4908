#include "tooltip/TipPainter.h"

#include "tooltip/MarkupParser.h"
#include "tooltip/QtColours.h"
#include "tooltip/QtFontMetrics.h"
#include "tooltip/TipPlacement.h"

#include <QPainter>
#include <QString>
#include <QToolTip>

#include <algorithm>

namespace deskwarden::tooltip {

namespace {

void PaintBackground(QPainter& painter, const QRect& area, const TipLook& look)
{
    for (int row = 0; row < area.height(); ++row) {
        const Rgb colour = BackgroundRowColour(look.effect, look.granularity, look.colours, row, area.height());
        painter.fillRect(area.x(), area.y() + row, area.width(), 1, ToQColor(colour));
    }
}

void PaintBorder(QPainter& painter, const QSize& size, const ColourTable& colours)
{
    // Filled edges stay exactly one window pixel wide at any pixel ratio, where a pen's line would spread.
    const QColor colour = ToQColor(colours.Entry(kBorderColourIndex).value_or(colours.DefaultText()));
    const int width = size.width();
    const int height = size.height();
    painter.fillRect(0, 0, width, kTipBorder, colour);
    painter.fillRect(0, height - kTipBorder, width, kTipBorder, colour);
    painter.fillRect(0, 0, kTipBorder, height, colour);
    painter.fillRect(width - kTipBorder, 0, kTipBorder, height, colour);
}

void PaintText(QPainter& painter, const PlacedText& placed, const QFont& font)
{
    const QRect box(placed.x, placed.y, placed.width, placed.height);
    if (placed.style.opaqueBackground) {
        painter.fillRect(box, ToQColor(placed.style.backColour));
    }
    painter.setFont(StyledFont(font, placed.style));
    painter.setPen(ToQColor(placed.style.textColour));
    // Runs of one line share its bottom, so differently styled runs stand on one base line.
    painter.drawText(box, Qt::AlignLeft | Qt::AlignBottom | Qt::TextSingleLine | Qt::TextDontClip,
        QString::fromStdString(placed.text));
}

void PaintRule(QPainter& painter, const PlacedRule& rule)
{
    painter.fillRect(rule.x, rule.y, rule.width, 1, ToQColor(rule.colour));
}

} // namespace

TipLayout LayOutTip(std::string_view markup, const ColourTable& colours, const QFont& font)
{
    const QtFontMetrics metrics(font);
    return LayOutMarkup(ParseMarkup(markup, colours, metrics.NormalWeight()), metrics);
}

QSize TipWindowSize(const TipLayout& layout)
{
    const TipBox frame = FrameAround(layout.width, layout.height);
    return QSize(frame.width, frame.height);
}

void PaintTip(QPainter& painter, const TipLayout& layout, const TipLook& look, const QFont& font)
{
    const QSize size = TipWindowSize(layout);
    const QRect inside(kTipBorder, kTipBorder, size.width() - 2 * kTipBorder, size.height() - 2 * kTipBorder);
    painter.save();
    PaintBackground(painter, inside, look);
    PaintBorder(painter, size, look.colours);
    const TipBox text = TextArea(layout.width, layout.height);
    painter.translate(text.x, text.y);
    painter.setRenderHint(QPainter::TextAntialiasing);
    for (const PlacedText& placed : layout.texts) {
        PaintText(painter, placed, font);
    }
    for (const PlacedRule& rule : layout.rules) {
        PaintRule(painter, rule);
    }
    painter.restore();
}

QImage RenderTip(std::string_view markup, const TipLook& look, const QFont& font, qreal pixelRatio)
{
    const TipLayout layout = LayOutTip(markup, look.colours, font);
    const qreal ratio = std::max<qreal>(pixelRatio, 1.0);
    QImage image(TipWindowSize(layout) * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    QPainter painter(&image);
    PaintTip(painter, layout, look, font);
    return image;
}

QImage RenderTip(std::string_view markup, const TipLook& look)
{
    return RenderTip(markup, look, QToolTip::font());
}

} // namespace deskwarden::tooltip
