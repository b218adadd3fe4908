#pragma once

#include "WinTypes.h"

#include <string>
#include <string_view>
#include <vector>

// The rules for key paths and value names, apart from any storage.
namespace platform::registry {

/**
 * Splits a key path at '\\' into its key names. An empty path gives no names; one trailing '\\' is accepted.
 * @return ERROR_SUCCESS; ERROR_BAD_PATHNAME for a leading '\\' or an empty name inside the path;
 *         ERROR_INVALID_PARAMETER for a name over 255 bytes, a zero byte, or more than 512 names.
 */
LSTATUS SplitKeyPath(std::string_view path, std::vector<std::string>& names);

/** True when `name` may name a value: at most 16383 bytes and no zero byte. */
bool IsValidValueName(std::string_view name);

} // namespace platform::registry
