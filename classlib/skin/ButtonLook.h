#pragma once

/** The four pictures a skin button is cut from. */
enum class ButtonPicture
{
    Normal,
    Over,
    Down,
    Disabled,
};

/** State of a skin button that decides its picture. */
struct ButtonLookState
{
    bool toggle = false;
    bool checked = false;
    bool hover = false;
    bool pressed = false;
    bool enabled = true;
};

/**
 * A toggle button shows the down picture when checked, else the normal one. A push button shows the
 * down picture while checked and not hovered or while pressed, else the over picture under the mouse,
 * else the disabled picture when disabled, else the normal one.
 */
ButtonPicture ChooseButtonPicture(const ButtonLookState& state);
