#pragma once

#include "tooltip/BackgroundEffect.h"
#include "tooltip/ColourTable.h"
#include "tooltip/MarkupLayout.h"

#include <QFont>
#include <QImage>
#include <QSize>

#include <string_view>

class QPainter;

namespace deskwarden::tooltip {

/// The colours and background of a tip.
struct TipLook
{
    ColourTable colours;
    int effect = kDefaultEffect;
    int granularity = kDefaultGranularity;
};

/// Entry 24, the desktop's button shadow, draws the tip's border.
inline constexpr unsigned kBorderColourIndex = 24;

/** Both layout passes over `markup` in `font`, whose weight a bold tag doubles. */
TipLayout LayOutTip(std::string_view markup, const ColourTable& colours, const QFont& font);

/** The window size of a tip: the laid-out text with its margins and border. */
QSize TipWindowSize(const TipLayout& layout);

/** Draws the whole tip window, from (0, 0) to TipWindowSize, with `layout` laid out in `font`. */
void PaintTip(QPainter& painter, const TipLayout& layout, const TipLook& look, const QFont& font);

/**
 * `markup` drawn as a tip window in `font`, for a look at a tip without showing it. The picture has
 * `pixelRatio` pixels for each of the window's (a ratio below 1 counts as 1), for sharp pictures of a
 * small tip.
 */
QImage RenderTip(std::string_view markup, const TipLook& look, const QFont& font, qreal pixelRatio = 1.0);

/** The same in the application's tooltip font. */
QImage RenderTip(std::string_view markup, const TipLook& look);

} // namespace deskwarden::tooltip
