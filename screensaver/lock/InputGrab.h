#pragma once

class QWidget;

namespace screenveil {

/**
 * Holds the X keyboard and pointer for the lock window, so that no key (the task-switching ones included)
 * and no click reaches another program. Events for the lock's own dialogs still reach them. Without an X
 * display (the off-screen platform of the tests) nothing can be held and Grab() says so.
 */
class InputGrab
{
public:
    explicit InputGrab(QWidget& window);
    ~InputGrab();
    InputGrab(const InputGrab&) = delete;
    InputGrab& operator=(const InputGrab&) = delete;

    /** Takes keyboard and pointer, or keeps them. @return true when both are held now. */
    bool Grab();
    /** Lets both go, for the voice check's window to take them. */
    void Release();
    bool Held() const { return m_keyboard && m_pointer; }

private:
    QWidget& m_window;
    bool m_keyboard = false;
    bool m_pointer = false;
};

} // namespace screenveil
