#pragma once

/** Border rules of the flat edit and combo. */
namespace talk::flat_control_look {

/** Rings of a flat edit's border: 3 for a modal frame, 2 for a client edge (5 with both), +1 for a static edge without
 * modal frame. */
int BorderRings(bool modalFrame, bool clientEdge, bool staticEdge);

/** Looks of the flat combo. */
enum class ComboState
{
    Flat = 1,
    Raised = 2,
    Pressed = 3,
};

/** Pressed wins; then focus or the mouse over it raises; otherwise flat. */
ComboState ChooseComboState(bool pressed, bool hover, bool focus);

} // namespace talk::flat_control_look
