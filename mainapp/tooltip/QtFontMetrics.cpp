#include "tooltip/QtFontMetrics.h"

#include <QFontMetrics>
#include <QString>

#include <algorithm>
#include <utility>

namespace deskwarden::tooltip {

namespace {

constexpr int kLightestQtWeight = 1;
constexpr int kHeaviestQtWeight = 1000;

} // namespace

QFont StyledFont(const QFont& base, const TextStyle& style)
{
    QFont font(base);
    font.setWeight(static_cast<QFont::Weight>(std::clamp(style.weight, kLightestQtWeight, kHeaviestQtWeight)));
    font.setItalic(style.italic);
    font.setUnderline(style.underline);
    font.setStrikeOut(style.strikeOut);
    return font;
}

QtFontMetrics::QtFontMetrics(QFont base)
    : base_(std::move(base))
{
}

int QtFontMetrics::TextWidth(std::string_view text, const TextStyle& style) const
{
    const QString qtext = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    return QFontMetrics(StyledFont(base_, style)).horizontalAdvance(qtext);
}

int QtFontMetrics::AverageCharWidth() const
{
    return QFontMetrics(base_).averageCharWidth();
}

int QtFontMetrics::LineHeight(const TextStyle& style) const
{
    return QFontMetrics(StyledFont(base_, style)).height();
}

int QtFontMetrics::NormalWeight() const
{
    return base_.weight();
}

} // namespace deskwarden::tooltip
