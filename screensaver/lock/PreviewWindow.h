#pragma once

#include <cstdint>

namespace screenveil {

/**
 * The preview: a small slide show of randomly chosen pictures inside the window `parentWindow` (an X window
 * id), filling it and ending with it. @return the program's exit status; 1 without a usable window.
 */
int RunPreview(std::uint64_t parentWindow);

} // namespace screenveil
