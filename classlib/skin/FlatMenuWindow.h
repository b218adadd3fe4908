#pragma once

#include <QFont>
#include <QTimer>
#include <QWidget>

class CFlatPopupMenu;

/**
 * The window of an open flat popup menu (its class name is the menu window class of the suite). The top
 * menu of a chain grabs mouse and keyboard; moving onto an open sub-menu hands the grab over to it.
 */
class fpmMenuClass : public QWidget
{
    Q_OBJECT
public:
    enum TrackState
    {
        kNotTracking = 0,
        kSubMenu = 1,
        kTopMenu = 2,
    };

    fpmMenuClass(CFlatPopupMenu& menu, bool asSubMenu);
    ~fpmMenuClass() override;

    /** Lays out, places inside the work area at (x, y) and shows the menu. */
    void Open(int x, int y);
    /** Ends the whole chain: the top menu closes, and with it every open sub-menu. */
    void CloseChain(unsigned result);
    int Selected() const { return m_selected; }
    TrackState State() const { return m_state; }
    void TakeGrab();
    void Select(int index);
    fpmMenuClass* OpenSubMenu() const;

signals:
    void Closed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void PaintItem(QPainter& painter, int index) const;
    void OpenSubMenuOfSelected();
    void CloseSubMenu();
    fpmMenuClass* MenuWindowAt(const QPoint& global) const;

    CFlatPopupMenu& m_menu;
    TrackState m_state;
    int m_selected = -1;
    QFont m_font;
    QFont m_boldFont;
    QTimer m_hoverTimer;
    Qt::MouseButtons m_buttonsAtOpen;
    CFlatPopupMenu* m_openSub = nullptr;
};
