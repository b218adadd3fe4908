#include "tooltip/MarkupParser.h"

#include "tooltip/MarkupValue.h"

#include <algorithm>
#include <cctype>
#include <optional>

namespace deskwarden::tooltip {

namespace {

struct Tag
{
    bool end = false;
    std::string name; // lower case
    std::optional<std::uint32_t> value;
};

std::string LowerCase(std::string_view text)
{
    std::string lower(text);
    std::transform(
        lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

// `body` is what stands between '<' and '>'.
Tag ReadTag(std::string_view body)
{
    Tag tag;
    if (!body.empty() && body.front() == '/') {
        tag.end = true;
        body.remove_prefix(1);
    }
    const std::size_t nameEnd = std::min(body.find_first_of("= "), body.size());
    tag.name = LowerCase(body.substr(0, nameEnd));
    if (nameEnd < body.size() && body[nameEnd] == '=') {
        std::string_view value = body.substr(nameEnd + 1);
        value = value.substr(0, std::min(value.find_first_of(" %"), value.size()));
        if (!value.empty()) {
            tag.value = ReadTagNumber(value);
        }
    }
    return tag;
}

unsigned RepeatCount(const Tag& tag)
{
    return std::min<std::uint32_t>(tag.value.value_or(1), kMostRepeats);
}

class MarkupReader
{
public:
    MarkupReader(const ColourTable& colours, int normalWeight)
        : colours_(colours)
        , normalWeight_(normalWeight)
    {
        style_.weight = normalWeight;
        style_.textColour = colours.DefaultText();
        style_.backColour = colours.DefaultBackground();
    }

    std::vector<MarkupItem> Read(std::string_view markup)
    {
        std::size_t pos = 0;
        while (pos < markup.size()) {
            pos = ReadAt(markup, pos);
        }
        EndText();
        return std::move(items_);
    }

private:
    // Returns where reading goes on.
    std::size_t ReadAt(std::string_view markup, std::size_t pos)
    {
        const char c = markup[pos];
        if (c == '<') {
            return ReadTagAt(markup, pos);
        }
        if (c == '\t') {
            Add(TabStops {1});
        } else if (c == '\n') {
            Add(LineBreaks {1, style_});
        } else if (c != '\r') {
            text_ += c;
        }
        return pos + 1;
    }

    std::size_t ReadTagAt(std::string_view markup, std::size_t pos)
    {
        if (pos + 1 < markup.size() && markup[pos + 1] == '<') {
            text_ += '<';
            return pos + 2;
        }
        const std::size_t close = markup.find('>', pos + 1);
        if (close == std::string_view::npos) {
            return markup.size();
        }
        Apply(ReadTag(markup.substr(pos + 1, close - pos - 1)));
        return close + 1;
    }

    void Apply(const Tag& tag)
    {
        if (ApplyFontTag(tag) || ApplyColourTag(tag)) {
            return;
        }
        ApplyPlacementTag(tag);
    }

    bool ApplyFontTag(const Tag& tag)
    {
        TextStyle next = style_;
        if (tag.name == "b") {
            next.weight = tag.end ? normalWeight_ : std::min(normalWeight_ * 2, kHeaviestWeight);
        } else if (tag.name == "i") {
            next.italic = !tag.end;
        } else if (tag.name == "u") {
            next.underline = !tag.end;
        } else if (tag.name == "s") {
            next.strikeOut = !tag.end;
        } else {
            return false;
        }
        ChangeStyle(next);
        return true;
    }

    bool ApplyColourTag(const Tag& tag)
    {
        TextStyle next = style_;
        if (tag.name == "ct") {
            next.textColour = tag.end ? colours_.DefaultText() : tag.value.value_or(next.textColour);
        } else if (tag.name == "cti") {
            next.textColour = colours_.Entry(tag.value.value_or(kDefaultTextIndex)).value_or(next.textColour);
        } else if (tag.name == "cb") {
            next.backColour = tag.end ? colours_.DefaultBackground() : tag.value.value_or(next.backColour);
            next.opaqueBackground = !tag.end;
        } else if (tag.name == "cbi") {
            ApplyBackgroundIndex(tag, next);
        } else {
            return false;
        }
        ChangeStyle(next);
        return true;
    }

    void ApplyBackgroundIndex(const Tag& tag, TextStyle& next) const
    {
        if (tag.end) {
            next.opaqueBackground = false;
            return;
        }
        if (const auto colour = colours_.Entry(tag.value.value_or(kDefaultBackgroundIndex))) {
            next.backColour = *colour;
            next.opaqueBackground = true;
        }
    }

    void ApplyPlacementTag(const Tag& tag)
    {
        if (tag.name == "br") {
            Add(LineBreaks {RepeatCount(tag), style_});
        } else if (tag.name == "t") {
            Add(TabStops {RepeatCount(tag)});
        } else if (tag.name == "al" || tag.name == "al_l") {
            Add(AlignLine {Alignment::Left});
        } else if (tag.name == "al_c") {
            Add(AlignLine {tag.end ? Alignment::Left : Alignment::Centre});
        } else if (tag.name == "al_r") {
            Add(AlignLine {tag.end ? Alignment::Left : Alignment::Right});
        } else if (tag.name == "hr") {
            Add(HorizontalRule {tag.value.value_or(100), style_});
        }
    }

    void ChangeStyle(const TextStyle& next)
    {
        if (next != style_) {
            EndText();
            style_ = next;
        }
    }

    void Add(MarkupItem item)
    {
        EndText();
        items_.push_back(std::move(item));
    }

    void EndText()
    {
        if (!text_.empty()) {
            items_.push_back(TextRun {std::move(text_), style_});
            text_.clear();
        }
    }

    const ColourTable& colours_;
    const int normalWeight_;
    TextStyle style_;
    std::string text_;
    std::vector<MarkupItem> items_;
};

} // namespace

std::vector<MarkupItem> ParseMarkup(std::string_view markup, const ColourTable& colours, int normalWeight)
{
    return MarkupReader(colours, normalWeight).Read(markup);
}

} // namespace deskwarden::tooltip
