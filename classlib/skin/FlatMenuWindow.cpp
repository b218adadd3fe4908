#include "FlatMenuWindow.h"

#include "FlatPopupMenu.h"
#include "FontFaces.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

namespace {

constexpr int kMargin = PopupMenuModel::kTopMargin;
constexpr int kTextLeft = kMargin + CFlatPopupMenu::kIconSize + 8;
constexpr int kArrowWidth = 4;

QFont MenuFont(const CFlatPopupMenu& menu, bool bold)
{
    QFont font(QString::fromStdString(MapFontFace(menu.FontFace())));
    // Point size to pixels at the screen's vertical resolution, as the menu font was always sized.
    int dpi = QApplication::primaryScreen() != nullptr
        ? static_cast<int>(QApplication::primaryScreen()->logicalDotsPerInchY())
        : 96;
    font.setPixelSize(std::max(1, menu.FontSize() * dpi / 72));
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    return font;
}

} // namespace

fpmMenuClass::fpmMenuClass(CFlatPopupMenu& menu, bool asSubMenu)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::BypassWindowManagerHint)
    , m_menu(menu)
    , m_state(asSubMenu ? kSubMenu : kTopMenu)
    , m_font(MenuFont(menu, false))
    , m_boldFont(MenuFont(menu, true))
    , m_buttonsAtOpen(QApplication::mouseButtons())
{
    setObjectName("fpmMenuClass");
    setAttribute(Qt::WA_ShowWithoutActivating, asSubMenu);
    setMouseTracking(true);
    m_hoverTimer.setSingleShot(true);
    connect(&m_hoverTimer, &QTimer::timeout, this, &fpmMenuClass::OpenSubMenuOfSelected);
}

fpmMenuClass::~fpmMenuClass()
{
    CloseSubMenu();
}

void fpmMenuClass::Open(int x, int y)
{
    QFontMetrics normal(m_font);
    QFontMetrics bold(m_boldFont);
    SkinPoint size = m_menu.Model().Layout([&](const std::string& text, bool isBold) {
        return (isBold ? bold : normal).horizontalAdvance(QString::fromStdString(text));
    });
    QScreen* screen = QApplication::screenAt(QPoint(x, y));
    if (screen == nullptr)
        screen = QApplication::primaryScreen();
    QRect area = screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1 << 16, 1 << 16);
    SkinPoint place = PopupMenuModel::Place(x, y, size, {area.left(), area.top(), area.right() + 1, area.bottom() + 1});
    setGeometry(place.x, place.y, size.x, size.y);
    show();
    if (m_state == kTopMenu)
        TakeGrab();
}

void fpmMenuClass::TakeGrab()
{
    m_state = kTopMenu;
    grabMouse();
    grabKeyboard();
}

fpmMenuClass* fpmMenuClass::OpenSubMenu() const
{
    return m_openSub != nullptr ? m_openSub->Window() : nullptr;
}

void fpmMenuClass::Select(int index)
{
    if (index == m_selected)
        return;
    m_hoverTimer.stop();
    CloseSubMenu();
    m_selected = index;
    update();
    if (index >= 0 && m_menu.Model().Items()[static_cast<size_t>(index)].subMenu != nullptr)
        m_hoverTimer.start(m_menu.GetPopupDelay());
}

void fpmMenuClass::OpenSubMenuOfSelected()
{
    if (m_selected < 0 || m_openSub != nullptr)
        return;
    const auto& item = m_menu.Model().Items()[static_cast<size_t>(m_selected)];
    auto* sub = static_cast<CFlatPopupMenu*>(item.subMenu);
    if (sub == nullptr || (item.flags & PopupMenuModel::kDisabled) != 0)
        return;
    m_openSub = sub;
    QPoint at = mapToGlobal(QPoint(width() - 5, item.top - 3));
    sub->Track(at.x(), at.y(), this, false, true);
    // The grab stays here until the mouse moves onto the sub-menu.
    if (m_state == kTopMenu)
        TakeGrab();
}

void fpmMenuClass::CloseSubMenu()
{
    if (m_openSub != nullptr) {
        m_openSub->Close();
        m_openSub = nullptr;
    }
}

fpmMenuClass* fpmMenuClass::MenuWindowAt(const QPoint& global) const
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* menu = qobject_cast<fpmMenuClass*>(widget);
        if (menu != nullptr && menu->isVisible() && menu->geometry().contains(global))
            return menu;
    }
    return nullptr;
}

void fpmMenuClass::CloseChain(unsigned result)
{
    CFlatPopupMenu* top = m_menu.TopMenu();
    top->SetResult(result);
    top->Close();
}

void fpmMenuClass::mouseMoveEvent(QMouseEvent* event)
{
    QPoint global = event->globalPosition().toPoint();
    fpmMenuClass* under = MenuWindowAt(global);
    if (under != nullptr && under != this) {
        // Another open menu of the chain takes over the mouse.
        m_state = kSubMenu;
        under->TakeGrab();
        return;
    }
    if (under == this) {
        QPoint local = mapFromGlobal(global);
        int hit = m_menu.Model().HitTest(local.x(), local.y(), width());
        if (hit >= 0 && (m_menu.Model().Items()[static_cast<size_t>(hit)].flags & PopupMenuModel::kSeparator) != 0)
            hit = -1;
        if (hit >= 0)
            Select(hit);
    }
}

void fpmMenuClass::mousePressEvent(QMouseEvent* event)
{
    QPoint global = event->globalPosition().toPoint();
    fpmMenuClass* under = MenuWindowAt(global);
    if (under == nullptr) {
        m_selected = -1;
        CloseChain(0);
        return;
    }
    if (under != this)
        return;
    QPoint local = mapFromGlobal(global);
    int hit = m_menu.Model().HitTest(local.x(), local.y(), width());
    if (hit >= 0 && m_menu.Model().Items()[static_cast<size_t>(hit)].subMenu != nullptr && m_openSub == nullptr) {
        Select(hit);
        m_hoverTimer.stop();
        OpenSubMenuOfSelected();
    }
}

void fpmMenuClass::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_buttonsAtOpen.testFlag(event->button())) {
        // The release of the click that opened the menu is not a choice.
        m_buttonsAtOpen &= ~event->button();
        return;
    }
    QPoint global = event->globalPosition().toPoint();
    fpmMenuClass* under = MenuWindowAt(global);
    if (under == nullptr) {
        CloseChain(0);
        return;
    }
    if (under != this)
        return;
    QPoint local = mapFromGlobal(global);
    int hit = m_menu.Model().HitTest(local.x(), local.y(), width());
    if (hit < 0)
        return;
    const auto& item = m_menu.Model().Items()[static_cast<size_t>(hit)];
    // A disabled item is shown greyed: it cannot be chosen with the mouse any more than with the keyboard.
    if (item.id != 0 && item.subMenu == nullptr
        && (item.flags & (PopupMenuModel::kSeparator | PopupMenuModel::kDisabled)) == 0)
        CloseChain(item.id);
}

void fpmMenuClass::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        CloseChain(0);
        return;
    }
    QString text = event->text();
    if (text.isEmpty())
        return;
    int index = m_menu.Model().ItemForKey(static_cast<char32_t>(text.toUcs4().value(0)));
    if (index < 0)
        return;
    const auto& item = m_menu.Model().Items()[static_cast<size_t>(index)];
    if (item.subMenu != nullptr) {
        Select(index);
        m_hoverTimer.stop();
        OpenSubMenuOfSelected();
        return;
    }
    CloseChain(item.id);
}

void fpmMenuClass::closeEvent(QCloseEvent* event)
{
    m_hoverTimer.stop();
    CloseSubMenu();
    releaseMouse();
    releaseKeyboard();
    m_state = kNotTracking;
    QWidget::closeEvent(event);
    emit Closed();
}

void fpmMenuClass::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_menu.GetColor(CFlatPopupMenu::kColorBackground));
    painter.setPen(m_menu.GetColor(CFlatPopupMenu::kColorBorder));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    for (int i = 0; i < static_cast<int>(m_menu.Model().Items().size()); ++i)
        PaintItem(painter, i);
}

void fpmMenuClass::PaintItem(QPainter& painter, int index) const
{
    const auto& item = m_menu.Model().Items()[static_cast<size_t>(index)];
    QRect row(kMargin, item.top, width() - 2 * kMargin, item.height);
    if ((item.flags & PopupMenuModel::kSeparator) != 0) {
        int y = row.top() + row.height() / 2 - 1;
        painter.setPen(m_menu.GetColor(CFlatPopupMenu::kColor3dShadow));
        painter.drawLine(row.left() + 1, y, row.right() - 1, y);
        painter.setPen(m_menu.GetColor(CFlatPopupMenu::kColor3dLight));
        painter.drawLine(row.left() + 1, y + 1, row.right() - 1, y + 1);
        return;
    }
    bool selected = index == m_selected;
    bool disabled = (item.flags & PopupMenuModel::kDisabled) != 0;
    if (selected)
        painter.fillRect(row, m_menu.GetColor(CFlatPopupMenu::kColorSelection));
    const QPixmap& strip = m_menu.IconStrip();
    int size = CFlatPopupMenu::kIconSize;
    if (item.icon >= 0 && !strip.isNull() && (item.icon + 1) * size <= strip.width())
        painter.drawPixmap(
            row.left() + 2, row.top() + (row.height() - size) / 2, strip, item.icon * size, 0, size, size);

    QColor colour
        = m_menu.GetColor(selected ? CFlatPopupMenu::kColorSelectedText
                                   : (disabled ? CFlatPopupMenu::kColorDisabledText : CFlatPopupMenu::kColorText));
    painter.setPen(colour);
    painter.setFont((item.flags & PopupMenuModel::kBold) != 0 ? m_boldFont : m_font);
    QString text = QString::fromStdString(item.text);
    QString shortcut;
    int tab = text.indexOf(QLatin1Char('\t'));
    if (tab >= 0) {
        shortcut = text.mid(tab + 1);
        text = text.left(tab);
    }
    QRect textRect(kTextLeft, row.top(), row.right() - kTextLeft - 10, row.height());
    painter.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextShowMnemonic, text);
    if (!shortcut.isEmpty())
        painter.drawText(textRect, Qt::AlignVCenter | Qt::AlignRight, shortcut);
    if (item.subMenu != nullptr) {
        int cx = row.right() - 6;
        int cy = row.center().y();
        QPolygon arrow;
        arrow << QPoint(cx - kArrowWidth / 2, cy - kArrowWidth) << QPoint(cx + kArrowWidth / 2, cy)
              << QPoint(cx - kArrowWidth / 2, cy + kArrowWidth);
        painter.setBrush(colour);
        painter.drawPolygon(arrow);
        painter.setBrush(Qt::NoBrush);
    }
}
