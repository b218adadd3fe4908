#include "lock/InputGrab.h"

#include <QGuiApplication>
#include <QWidget>

#include <cstdlib>

#include <xcb/xcb.h>

namespace screenveil {

namespace {

xcb_connection_t* Connection()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

bool GrabKeyboard(xcb_connection_t* connection, xcb_window_t window)
{
    xcb_grab_keyboard_reply_t* reply = xcb_grab_keyboard_reply(connection,
        xcb_grab_keyboard(connection, 1, window, XCB_CURRENT_TIME, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC), nullptr);
    const bool held = reply && reply->status == XCB_GRAB_STATUS_SUCCESS;
    std::free(reply);
    return held;
}

bool GrabPointer(xcb_connection_t* connection, xcb_window_t window)
{
    constexpr uint16_t kEvents
        = XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE | XCB_EVENT_MASK_POINTER_MOTION;
    xcb_grab_pointer_reply_t* reply = xcb_grab_pointer_reply(connection,
        xcb_grab_pointer(connection, 1, window, kEvents, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC, XCB_NONE, XCB_NONE,
            XCB_CURRENT_TIME),
        nullptr);
    const bool held = reply && reply->status == XCB_GRAB_STATUS_SUCCESS;
    std::free(reply);
    return held;
}

} // namespace

InputGrab::InputGrab(QWidget& window)
    : m_window(window)
{
}

InputGrab::~InputGrab()
{
    Release();
}

bool InputGrab::Grab()
{
    xcb_connection_t* connection = Connection();
    if (!connection || !m_window.isVisible())
        return false;
    const auto window = static_cast<xcb_window_t>(m_window.winId());
    if (!m_keyboard)
        m_keyboard = GrabKeyboard(connection, window);
    if (!m_pointer)
        m_pointer = GrabPointer(connection, window);
    return Held();
}

void InputGrab::Release()
{
    xcb_connection_t* connection = Connection();
    if (connection && (m_keyboard || m_pointer)) {
        xcb_ungrab_keyboard(connection, XCB_CURRENT_TIME);
        xcb_ungrab_pointer(connection, XCB_CURRENT_TIME);
        xcb_flush(connection);
    }
    m_keyboard = false;
    m_pointer = false;
}

} // namespace screenveil
