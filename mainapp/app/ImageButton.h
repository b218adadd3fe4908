#pragma once

#include "art/ArtNames.h"

#include <QAbstractButton>
#include <QPixmap>

class QMenu;

namespace deskwarden::app {

/**
 * A button drawn from three pictures: normal, under the cursor, pressed. With a menu attached, a click
 * opens the menu below the button instead of sending clicked(). Without pictures it draws its text, so a
 * missing picture never leaves an invisible button.
 */
class ImageButton final : public QAbstractButton
{
public:
    explicit ImageButton(int controlId, QWidget* parent = nullptr);

    /** Loads the three pictures; the button takes the normal picture's size. */
    void SetPictures(const art::StatePictures& pictures);
    void SetDropDownMenu(QMenu* menu) { m_menu = menu; }
    QMenu* DropDownMenu() const { return m_menu; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void nextCheckState() override;

private:
    void OpenMenu();

    QPixmap m_normal;
    QPixmap m_over;
    QPixmap m_down;
    QMenu* m_menu = nullptr;
    bool m_hovered = false;
};

} // namespace deskwarden::app
