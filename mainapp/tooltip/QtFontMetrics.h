#pragma once

#include "tooltip/FontMetrics.h"

#include <QFont>

namespace deskwarden::tooltip {

/** `base` in the weight, slant and lines of `style`; weights beyond Qt's range are held at its ends. */
QFont StyledFont(const QFont& base, const TextStyle& style);

/// The layout's view of a real font: every style is measured in `base` as StyledFont changes it.
class QtFontMetrics final : public FontMetrics
{
public:
    explicit QtFontMetrics(QFont base);

    int TextWidth(std::string_view text, const TextStyle& style) const override;
    int AverageCharWidth() const override;
    int LineHeight(const TextStyle& style) const override;

    /** The weight of `base`, which a bold tag doubles. */
    int NormalWeight() const;

private:
    QFont base_;
};

} // namespace deskwarden::tooltip
