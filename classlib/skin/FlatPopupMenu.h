#pragma once

#include "PopupMenuModel.h"
#include "TalkExport.h"

#include <QColor>
#include <QPixmap>
#include <QPointer>

#include <cstdint>
#include <string>

class QWidget;
class fpmMenuClass;

/**
 * The owner-drawn flat popup menu of the tray icon: items with optional icons from a strip of 16-pixel
 * cells, separators, bold, inactive and disabled items, cascading sub-menus that open after a hover
 * delay, and keyboard choice by the "&" accelerator. Texts are UTF-8.
 */
class TALK_API CFlatPopupMenu
{
public:
    enum MenuColor
    {
        kColorBorder = 0,
        kColorBackground = 1,
        kColorText = 2,
        kColorDisabledText = 3,
        kColorSelectedText = 4,
        kColorSelection = 5,
        kColorIconTransparent = 6,
        kColor3dLight = 7,
        kColor3dShadow = 8,
    };
    static constexpr int kColorCount = 9;
    static constexpr int kIconSize = 16;

    CFlatPopupMenu();
    ~CFlatPopupMenu();
    CFlatPopupMenu(const CFlatPopupMenu&) = delete;
    CFlatPopupMenu& operator=(const CFlatPopupMenu&) = delete;

    /** Empties the menu and loads the icon strip (a picture file; "" for none). False when the strip cannot be read. */
    bool Create(const std::string& iconStripFile = "");
    bool AppendItem(uint32_t flags, const char* text, unsigned id, int icon = -1);
    /** Appends `sub` as a cascading sub-menu; false (nothing appended) with the separator flag. */
    bool AppendPopup(uint32_t flags, const char* text, CFlatPopupMenu& sub, int icon = -1);

    /**
     * Opens the menu at screen point (x, y), kept inside the work area. Modal: returns the chosen id when the
     * menu closes (0 for none). Not modal: returns 0 at once and the menu stays open.
     */
    unsigned Track(int x, int y, QWidget* owner, bool modal, bool asSubMenu = false);
    /** Closes this menu and its open sub-menus. */
    void Close();

    bool SetMenuItemText(unsigned id, const char* text, bool byPosition = false);
    bool SetMenuItemFlags(unsigned id, uint32_t flags, bool byPosition = false);
    bool SetMenuItemIcon(unsigned id, int icon, bool byPosition = false);
    /** Copies the item's text into `buffer` (cut to `size` - 1 bytes, always terminated); its length, or -1. */
    int GetString(unsigned id, char* buffer, unsigned size, bool byPosition = false) const;

    void SetColor(int menuColor, const QColor& colour);
    QColor GetColor(int menuColor) const;
    void SetFont(const std::string& face) { m_fontFace = face; }
    void SetFontSize(int points) { m_fontSize = points; }
    void SetPopupDelay(int milliseconds) { m_popupDelay = milliseconds; }
    int GetPopupDelay() const { return m_popupDelay; }

    PopupMenuModel& Model() { return m_model; }
    const PopupMenuModel& Model() const { return m_model; }
    /** The open menu window, or null. */
    fpmMenuClass* Window() const;
    CFlatPopupMenu* ParentMenu() const { return m_parent; }
    /** The top menu of a chain of sub-menus. */
    CFlatPopupMenu* TopMenu();
    unsigned Result() const { return m_result; }
    void SetResult(unsigned id) { m_result = id; }
    const QPixmap& IconStrip() const { return m_iconStrip; }
    std::string FontFace() const { return m_fontFace; }
    int FontSize() const { return m_fontSize; }

private:
    PopupMenuModel m_model;
    QPixmap m_iconStrip;
    std::string m_fontFace = "MS Sans Serif";
    int m_fontSize = 8;
    int m_popupDelay = 400;
    QColor m_colours[kColorCount];
    unsigned m_result = 0;
    CFlatPopupMenu* m_parent = nullptr;
    QPointer<fpmMenuClass> m_window;
};
