#pragma once

#include <cstddef>
#include <cstdint>

namespace wardengate {

/**
 * The fields of the logon host's user-information record that the plug-in writes. The record belongs to the
 * host; this layout only names where those fields lie. A 32-bit host puts them at bytes 28 (flag), 48
 * (description), 52 (full name), 56 (administrator flag) and 60 (error message); a 64-bit host widens each
 * text pointer to eight bytes, which moves the fields after the first pointer (56, 64 and 72).
 */
struct HostUserInfo
{
    unsigned char head[28];
    int32_t flag28;
    unsigned char middle[16];
    char* description;
    char* fullName;
    int32_t isAdministrator;
    char* errorMessage;
};

static_assert(offsetof(HostUserInfo, flag28) == 28);
static_assert(offsetof(HostUserInfo, description) == 48);
static_assert(sizeof(void*) != 4 || offsetof(HostUserInfo, fullName) == 52);
static_assert(sizeof(void*) != 4 || offsetof(HostUserInfo, isAdministrator) == 56);
static_assert(sizeof(void*) != 4 || offsetof(HostUserInfo, errorMessage) == 60);

} // namespace wardengate
