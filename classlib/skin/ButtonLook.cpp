#include "ButtonLook.h"

ButtonPicture ChooseButtonPicture(const ButtonLookState& state)
{
    if (state.toggle)
        return state.checked ? ButtonPicture::Down : ButtonPicture::Normal;
    if ((state.checked && !state.hover) || state.pressed)
        return ButtonPicture::Down;
    if (state.hover)
        return ButtonPicture::Over;
    if (!state.enabled)
        return ButtonPicture::Disabled;
    return ButtonPicture::Normal;
}
