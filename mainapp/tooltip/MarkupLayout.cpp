#include "tooltip/MarkupLayout.h"

#include <algorithm>
#include <cstdint>

namespace deskwarden::tooltip {

namespace {

template<class... Handlers> struct Overloaded : Handlers...
{
    using Handlers::operator()...;
};

int NextTabStop(int x, unsigned count, const FontMetrics& metrics)
{
    const int spacing = kTabStopChars * metrics.AverageCharWidth();
    if (spacing <= 0 || count == 0) {
        return x;
    }
    return (x / spacing + static_cast<int>(count)) * spacing;
}

int RuleWidth(unsigned percent, int textWidth, int x)
{
    const std::int64_t wanted = static_cast<std::int64_t>(textWidth) * percent / 100;
    return static_cast<int>(std::min<std::int64_t>(wanted, textWidth - x));
}

class Measurer
{
public:
    explicit Measurer(const FontMetrics& metrics)
        : metrics_(metrics)
    {
    }

    Measurement Run(const std::vector<MarkupItem>& items)
    {
        for (const MarkupItem& item : items) {
            std::visit(Overloaded {[&](const TextRun& run) { AddText(run); },
                           [&](const LineBreaks& breaks) { BreakLines(breaks); },
                           [&](const TabStops& tabs) { x_ = NextTabStop(x_, tabs.count, metrics_); },
                           [&](const AlignLine&) { StartSegment(); },
                           [&](const HorizontalRule& rule) { TakeLineHeight(rule.style); }},
                item);
        }
        CloseLine();
        result_.height += Line().height;
        return std::move(result_);
    }

private:
    MeasuredLine& Line() { return result_.lines.back(); }

    void AddText(const TextRun& run)
    {
        x_ += metrics_.TextWidth(run.text, run.style);
        TakeLineHeight(run.style);
    }

    void TakeLineHeight(const TextStyle& style) { Line().height = std::max(Line().height, metrics_.LineHeight(style)); }

    // Segment widths hold their start until the line closes.
    void StartSegment() { Line().segmentWidths.push_back(x_); }

    void CloseLine()
    {
        for (int& width : Line().segmentWidths) {
            width = x_ - width;
        }
        result_.width = std::max(result_.width, x_);
    }

    void BreakLines(const LineBreaks& breaks)
    {
        for (unsigned i = 0; i < breaks.count; ++i) {
            CloseLine();
            if (Line().height == 0) {
                TakeLineHeight(breaks.style); // an empty line still moves the text down by one line
            }
            result_.height += Line().height;
            result_.lines.push_back(MeasuredLine {});
            x_ = 0;
        }
    }

    const FontMetrics& metrics_;
    Measurement result_;
    int x_ = 0;
};

class Placer
{
public:
    Placer(const FontMetrics& metrics, const Measurement& measured)
        : metrics_(metrics)
        , measured_(measured)
    {
        layout_.width = measured.width;
        layout_.height = measured.height;
    }

    TipLayout Run(const std::vector<MarkupItem>& items)
    {
        for (const MarkupItem& item : items) {
            std::visit(Overloaded {[&](const TextRun& run) { PlaceText(run); },
                           [&](const LineBreaks& breaks) { BreakLines(breaks.count); },
                           [&](const TabStops& tabs) { x_ = NextTabStop(x_, tabs.count, metrics_); },
                           [&](const AlignLine& align) { AlignSegment(align.alignment); },
                           [&](const HorizontalRule& rule) { PlaceRule(rule); }},
                item);
        }
        return std::move(layout_);
    }

private:
    // The measurement came from the same items, so it has every line; the guard only keeps a
    // mismatched pair from reading past it.
    const MeasuredLine* Line() const { return line_ < measured_.lines.size() ? &measured_.lines[line_] : nullptr; }

    int LineHeight() const { return Line() ? Line()->height : 0; }

    void PlaceText(const TextRun& run)
    {
        const int width = metrics_.TextWidth(run.text, run.style);
        layout_.texts.push_back(PlacedText {x_, y_, width, LineHeight(), run.text, run.style});
        x_ += width;
    }

    void PlaceRule(const HorizontalRule& rule)
    {
        const int width = RuleWidth(rule.percent, measured_.width, x_);
        if (width > 0) {
            layout_.rules.push_back(PlacedRule {x_, y_ + LineHeight() / 2, width, rule.style.textColour});
        }
    }

    void AlignSegment(Alignment alignment)
    {
        ++segment_;
        if (!Line() || segment_ >= Line()->segmentWidths.size() || alignment == Alignment::Left) {
            return;
        }
        const int free = measured_.width - Line()->segmentWidths[segment_];
        const int start = alignment == Alignment::Centre ? free / 2 : free;
        x_ = std::max(x_, start);
    }

    void BreakLines(unsigned count)
    {
        if (count == 0) {
            return;
        }
        for (unsigned i = 0; i < count; ++i) {
            y_ += LineHeight();
            ++line_;
        }
        x_ = 0;
        segment_ = 0;
    }

    const FontMetrics& metrics_;
    const Measurement& measured_;
    TipLayout layout_;
    std::size_t line_ = 0;
    std::size_t segment_ = 0;
    int x_ = 0;
    int y_ = 0;
};

} // namespace

Measurement MeasureMarkup(const std::vector<MarkupItem>& items, const FontMetrics& metrics)
{
    return Measurer(metrics).Run(items);
}

TipLayout PlaceMarkup(const std::vector<MarkupItem>& items, const FontMetrics& metrics, const Measurement& measured)
{
    return Placer(metrics, measured).Run(items);
}

TipLayout LayOutMarkup(const std::vector<MarkupItem>& items, const FontMetrics& metrics)
{
    return PlaceMarkup(items, metrics, MeasureMarkup(items, metrics));
}

} // namespace deskwarden::tooltip
