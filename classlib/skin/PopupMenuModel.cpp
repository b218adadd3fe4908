#include "PopupMenuModel.h"

#include <algorithm>

namespace {

char32_t LowerAscii(char32_t c)
{
    return (c >= U'A' && c <= U'Z') ? c - U'A' + U'a' : c;
}

// Decodes the UTF-8 character at `pos`; invalid bytes read as themselves.
char32_t DecodeAt(const std::string& text, size_t pos)
{
    auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    unsigned char lead = byte(pos);
    int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    if (pos + static_cast<size_t>(extra) >= text.size())
        return lead;
    char32_t value = extra == 0 ? lead : lead & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k)
        value = (value << 6) | (byte(pos + static_cast<size_t>(k)) & 0x3F);
    return value;
}

} // namespace

bool PopupMenuModel::AppendItem(uint32_t flags, const std::string& text, unsigned id, int icon)
{
    Item item;
    item.id = id;
    item.text = text;
    item.flags = flags;
    item.icon = icon;
    m_items.push_back(std::move(item));
    return true;
}

bool PopupMenuModel::AppendPopup(uint32_t flags, const std::string& text, void* subMenu, int icon)
{
    if ((flags & kSeparator) != 0 || subMenu == nullptr)
        return false;
    Item item;
    item.text = text;
    item.flags = flags;
    item.icon = icon;
    item.subMenu = subMenu;
    m_items.push_back(std::move(item));
    return true;
}

SkinPoint PopupMenuModel::Layout(const MeasureText& measure)
{
    int top = kTopMargin;
    int widest = 0;
    for (Item& item : m_items) {
        item.top = top;
        item.height = (item.flags & kSeparator) != 0 ? kSeparatorHeight : kItemHeight;
        top += item.height;
        if ((item.flags & kSeparator) == 0 && measure)
            widest = std::max(widest, measure(VisibleText(item.text), (item.flags & kBold) != 0));
    }
    return {widest + kExtraWidth, top + kExtraHeight};
}

SkinPoint PopupMenuModel::Place(int x, int y, SkinPoint size, const SkinRect& workArea)
{
    if (x + size.x > workArea.right)
        x = workArea.right - size.x;
    if (y + size.y > workArea.bottom)
        y = workArea.bottom - size.y;
    return {std::max(0, x), std::max(0, y)};
}

int PopupMenuModel::HitTest(int x, int y, int menuWidth) const
{
    if (x < kTopMargin || x >= menuWidth - kTopMargin)
        return -1;
    for (size_t i = 0; i < m_items.size(); ++i) {
        const Item& item = m_items[i];
        if (y >= item.top && y < item.top + item.height)
            return (item.flags & kInactive) != 0 ? -1 : static_cast<int>(i);
    }
    return -1;
}

int PopupMenuModel::ItemForKey(char32_t typed) const
{
    char32_t wanted = LowerAscii(typed);
    for (size_t i = 0; i < m_items.size(); ++i) {
        const Item& item = m_items[i];
        if ((item.flags & (kSeparator | kInactive | kDisabled)) != 0)
            continue;
        const std::string& text = item.text;
        for (size_t pos = 0; pos + 1 < text.size(); ++pos) {
            if (text[pos] != '&')
                continue;
            if (text[pos + 1] == '&') {
                ++pos;
                continue;
            }
            if (LowerAscii(DecodeAt(text, pos + 1)) == wanted)
                return static_cast<int>(i);
            break;
        }
    }
    return -1;
}

int PopupMenuModel::Find(unsigned id, bool byPosition) const
{
    if (byPosition)
        return id < m_items.size() ? static_cast<int>(id) : -1;
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i].id == id && m_items[i].subMenu == nullptr)
            return static_cast<int>(i);
    }
    return -1;
}

std::string PopupMenuModel::VisibleText(const std::string& text)
{
    std::string shown;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) {
            ++i;
        } else if (text[i] == '&') {
            continue;
        }
        shown += text[i] == '\t' ? std::string("    ") : std::string(1, text[i]);
    }
    return shown;
}
