#pragma once

#include "ButtonLook.h"
#include "SkinModel.h"

#include <QPixmap>
#include <QWidget>

#include <functional>

/** A skin button: four pictures cut from the skin at its rectangle, hover and pressed looks, an optional toggle. */
class CSkinButton : public QWidget
{
    Q_OBJECT
public:
    CSkinButton(
        const SkinButtonDef& def, QPixmap normal, QPixmap over, QPixmap down, QPixmap disabled, QWidget* parent);

    const std::string& Name() const { return m_def.name; }
    int Id() const { return m_def.id; }
    bool IsChecked() const { return m_look.checked; }
    void SetChecked(bool checked);
    bool IsHovered() const { return m_look.hover; }
    ButtonPicture CurrentPicture() const { return ChooseButtonPicture(m_look); }

signals:
    /** Released inside itself. */
    void Pressed(const QString& name, int id);

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    SkinButtonDef m_def;
    QPixmap m_pictures[4];
    ButtonLookState m_look;
};
