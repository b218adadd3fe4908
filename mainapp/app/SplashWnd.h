#pragma once

#include <QPixmap>
#include <QTimer>
#include <QWidget>

namespace deskwarden::app {

/**
 * The start picture: a borderless window the size of the picture, centred, gone after two seconds or at
 * the first key or mouse button press anywhere in the program (that press is swallowed).
 */
class CSplashWnd final : public QWidget
{
public:
    static constexpr int kShowMs = 2000;

    /** `logoPath` is the installation's own picture; when it does not load, the program's is shown. */
    explicit CSplashWnd(const QString& logoPath);
    ~CSplashWnd() override;

    /** Shows the picture and starts its timer. */
    void ShowSplash();

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void HideSplash();

    QPixmap m_picture;
    QTimer m_timer;
};

} // namespace deskwarden::app
