#pragma once

#include "SkinGeometry.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

/**
 * Items, layout, placement, hit testing and keyboard choice of the flat popup menu, without a window.
 */
class PopupMenuModel
{
public:
    enum ItemFlag : uint32_t
    {
        kSeparator = 1,
        kInactive = 2,
        kBold = 4,
        kDisabled = 8,
    };

    static constexpr int kTopMargin = 3;
    static constexpr int kSeparatorHeight = 5;
    static constexpr int kItemHeight = 17;
    static constexpr int kExtraWidth = 42;
    static constexpr int kExtraHeight = 2;

    struct Item
    {
        unsigned id = 0;
        std::string text;
        uint32_t flags = 0;
        int icon = -1;
        /** Opaque handle of the sub-menu (null for a plain item). */
        void* subMenu = nullptr;
        int top = 0;
        int height = 0;
    };

    /** Text width in pixels of an item's text, in the bold font when `bold`. */
    using MeasureText = std::function<int(const std::string& text, bool bold)>;

    void Clear() { m_items.clear(); }
    bool AppendItem(uint32_t flags, const std::string& text, unsigned id, int icon);
    /** A sub-menu item; refused (nothing appended) with the separator flag or without a sub-menu. */
    bool AppendPopup(uint32_t flags, const std::string& text, void* subMenu, int icon);

    /** Lays the items out from the top margin; returns {width, height} of the menu window. */
    SkinPoint Layout(const MeasureText& measure);

    /**
     * Where a menu of `size` opened at (x, y) goes: moved left or up so that it stays inside `workArea`,
     * never to a negative coordinate.
     */
    static SkinPoint Place(int x, int y, SkinPoint size, const SkinRect& workArea);

    /** Item under window point y, or -1 (the margin, separators count as items; inactive items never hit). */
    int HitTest(int x, int y, int menuWidth) const;

    /**
     * Item chosen by a typed character: the first one (not a separator, not inactive, not disabled) whose
     * text has "&" followed by that character, compared in lower case. -1 when none.
     */
    int ItemForKey(char32_t typed) const;

    /** Index of the item with `id` (or at position `id` when `byPosition`); -1 when none. */
    int Find(unsigned id, bool byPosition) const;

    std::vector<Item>& Items() { return m_items; }
    const std::vector<Item>& Items() const { return m_items; }

    /** Text as drawn: "&&" shows "&", a single "&" marks the next character and is not shown. */
    static std::string VisibleText(const std::string& text);

private:
    std::vector<Item> m_items;
};
