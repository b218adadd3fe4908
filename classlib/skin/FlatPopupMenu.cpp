#include "FlatPopupMenu.h"

#include "FlatMenuWindow.h"

#include <QApplication>
#include <QEventLoop>
#include <QPalette>

#include <algorithm>
#include <cstring>

CFlatPopupMenu::CFlatPopupMenu()
{
    QPalette palette = QApplication::palette();
    m_colours[kColorBorder] = palette.color(QPalette::WindowText);
    m_colours[kColorBackground] = palette.color(QPalette::Window);
    m_colours[kColorText] = palette.color(QPalette::WindowText);
    m_colours[kColorDisabledText] = palette.color(QPalette::Disabled, QPalette::Text);
    m_colours[kColorSelectedText] = palette.color(QPalette::HighlightedText);
    m_colours[kColorSelection] = palette.color(QPalette::Highlight);
    m_colours[kColorIconTransparent] = QColor(255, 0, 255);
    m_colours[kColor3dLight] = palette.color(QPalette::Light);
    m_colours[kColor3dShadow] = palette.color(QPalette::Mid);
}

CFlatPopupMenu::~CFlatPopupMenu()
{
    Close();
}

bool CFlatPopupMenu::Create(const std::string& iconStripFile)
{
    m_model.Clear();
    m_iconStrip = QPixmap();
    if (iconStripFile.empty())
        return true;
    QImage strip(QString::fromStdString(iconStripFile));
    if (strip.isNull())
        return false;
    QPixmap pixmap = QPixmap::fromImage(strip);
    pixmap.setMask(pixmap.createMaskFromColor(m_colours[kColorIconTransparent], Qt::MaskInColor));
    m_iconStrip = pixmap;
    return true;
}

bool CFlatPopupMenu::AppendItem(uint32_t flags, const char* text, unsigned id, int icon)
{
    return m_model.AppendItem(flags, text != nullptr ? text : "", id, icon);
}

bool CFlatPopupMenu::AppendPopup(uint32_t flags, const char* text, CFlatPopupMenu& sub, int icon)
{
    if (&sub == this || !m_model.AppendPopup(flags, text != nullptr ? text : "", &sub, icon))
        return false;
    sub.m_parent = this;
    return true;
}

CFlatPopupMenu* CFlatPopupMenu::TopMenu()
{
    CFlatPopupMenu* top = this;
    while (top->m_parent != nullptr && top->m_parent->m_window != nullptr)
        top = top->m_parent;
    return top;
}

fpmMenuClass* CFlatPopupMenu::Window() const
{
    return m_window.data();
}

unsigned CFlatPopupMenu::Track(int x, int y, QWidget* owner, bool modal, bool asSubMenu)
{
    Q_UNUSED(owner);
    Close();
    m_result = 0;
    if (m_model.Items().empty())
        return 0;
    m_window = new fpmMenuClass(*this, asSubMenu);
    m_window->Open(x, y);
    if (!modal)
        return 0;
    QEventLoop loop;
    QObject::connect(m_window.data(), &fpmMenuClass::Closed, &loop, &QEventLoop::quit);
    loop.exec();
    return m_result;
}

void CFlatPopupMenu::Close()
{
    if (m_window != nullptr) {
        fpmMenuClass* window = m_window.data();
        m_window = nullptr;
        window->close();
        window->deleteLater();
    }
}

bool CFlatPopupMenu::SetMenuItemText(unsigned id, const char* text, bool byPosition)
{
    int index = m_model.Find(id, byPosition);
    if (index < 0)
        return false;
    m_model.Items()[static_cast<size_t>(index)].text = text != nullptr ? text : "";
    return true;
}

bool CFlatPopupMenu::SetMenuItemFlags(unsigned id, uint32_t flags, bool byPosition)
{
    int index = m_model.Find(id, byPosition);
    if (index < 0)
        return false;
    m_model.Items()[static_cast<size_t>(index)].flags = flags;
    return true;
}

bool CFlatPopupMenu::SetMenuItemIcon(unsigned id, int icon, bool byPosition)
{
    int index = m_model.Find(id, byPosition);
    if (index < 0)
        return false;
    m_model.Items()[static_cast<size_t>(index)].icon = icon;
    return true;
}

int CFlatPopupMenu::GetString(unsigned id, char* buffer, unsigned size, bool byPosition) const
{
    int index = m_model.Find(id, byPosition);
    if (index < 0)
        return -1;
    const std::string& text = m_model.Items()[static_cast<size_t>(index)].text;
    if (buffer != nullptr && size > 0) {
        size_t count = std::min<size_t>(text.size(), size - 1);
        std::memcpy(buffer, text.data(), count);
        buffer[count] = '\0';
    }
    return static_cast<int>(text.size());
}

void CFlatPopupMenu::SetColor(int menuColor, const QColor& colour)
{
    if (menuColor >= 0 && menuColor < kColorCount)
        m_colours[menuColor] = colour;
}

QColor CFlatPopupMenu::GetColor(int menuColor) const
{
    return menuColor >= 0 && menuColor < kColorCount ? m_colours[menuColor] : QColor();
}
