#include "FlatControlLook.h"

namespace talk::flat_control_look {

int BorderRings(bool modalFrame, bool clientEdge, bool staticEdge)
{
    int rings = 0;
    if (modalFrame)
        rings += 3;
    if (clientEdge)
        rings += 2;
    if (staticEdge && !modalFrame)
        rings += 1;
    return rings;
}

ComboState ChooseComboState(bool pressed, bool hover, bool focus)
{
    if (pressed)
        return ComboState::Pressed;
    if (focus || hover)
        return ComboState::Raised;
    return ComboState::Flat;
}

} // namespace talk::flat_control_look
