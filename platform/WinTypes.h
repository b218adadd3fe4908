#pragma once

#include <cstdint>

// The handful of Windows scalar types and records that the suite's stores pass around. They keep the
// Windows names so that code written against the Windows interfaces reads the same on this platform.
namespace platform {

using DWORD = std::uint32_t;
using LSTATUS = std::int32_t;

/** A rectangle in the Windows layout (edges in pixels, right and bottom exclusive). */
struct RECT
{
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    friend bool operator==(const RECT&, const RECT&) = default;
};

/** A point in the Windows layout (pixels). */
struct POINT
{
    std::int32_t x = 0;
    std::int32_t y = 0;

    friend bool operator==(const POINT&, const POINT&) = default;
};

// Windows error codes shared by the registry and account stand-ins.
inline constexpr LSTATUS ERROR_SUCCESS = 0;
inline constexpr LSTATUS ERROR_FILE_NOT_FOUND = 2;
inline constexpr LSTATUS ERROR_ACCESS_DENIED = 5;
inline constexpr LSTATUS ERROR_INVALID_HANDLE = 6;
inline constexpr LSTATUS ERROR_NOT_ENOUGH_MEMORY = 8;
inline constexpr LSTATUS ERROR_INVALID_DATA = 13;
inline constexpr LSTATUS ERROR_INVALID_PASSWORD = 86;
inline constexpr LSTATUS ERROR_INVALID_PARAMETER = 87;
inline constexpr LSTATUS ERROR_INVALID_LEVEL = 124;
inline constexpr LSTATUS ERROR_BAD_PATHNAME = 161;
inline constexpr LSTATUS ERROR_MORE_DATA = 234;
inline constexpr LSTATUS ERROR_NO_MORE_ITEMS = 259;
inline constexpr LSTATUS ERROR_BADDB = 1009;
inline constexpr LSTATUS ERROR_BADKEY = 1010;
inline constexpr LSTATUS ERROR_CANTOPEN = 1011;
inline constexpr LSTATUS ERROR_CANTREAD = 1012;
inline constexpr LSTATUS ERROR_CANTWRITE = 1013;
inline constexpr LSTATUS ERROR_KEY_DELETED = 1018;
inline constexpr LSTATUS ERROR_MEMBER_NOT_IN_ALIAS = 1377;
inline constexpr LSTATUS ERROR_MEMBER_IN_ALIAS = 1378;
inline constexpr LSTATUS ERROR_NO_SUCH_MEMBER = 1387;
inline constexpr LSTATUS ERROR_INVALID_MEMBER = 1388;

} // namespace platform
