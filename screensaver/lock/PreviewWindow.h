#pragma once

#include "lock/SlideShow.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <memory>

namespace screenveil {

/** The preview's drawing surface: a slide show of the pictures in a random order, scaled to the window. */
class PreviewWindow final : public QWidget
{
    Q_OBJECT
public:
    PreviewWindow(LockContent content, QSize size);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Tick();

    SlideShow m_show;
    QTimer m_timer;
    QElapsedTimer m_clock;
};

/**
 * The preview: a small slide show of randomly chosen pictures inside the window `parentWindow` (an X window
 * id), filling it and ending with it. @return the program's exit status; 1 without a usable window.
 */
int RunPreview(std::uint64_t parentWindow);

} // namespace screenveil
