#include "TestAccounts.h"

#include "HostUserInfo.h"

#include <cstring>

namespace wardengate {
namespace {

constexpr const char* kUnknownName = "The username was not recognized.";

// The host frees the texts itself; writing them through the byte buffer keeps clear of the record's
// alignment, which is the host's business.
template<typename Value> void Put(void* record, std::size_t offset, Value value)
{
    std::memcpy(static_cast<unsigned char*>(record) + offset, &value, sizeof value);
}

void PutText(void* record, std::size_t offset, const char* text)
{
    Put(record, offset, strdup(text));
}

} // namespace

int FillTestAccount(const std::string& userName, void* record) noexcept
{
    if (record == nullptr)
        return userName == "adminuser" || userName == "reguser" || userName == "otheruser" ? 1 : 0;
    if (userName == "adminuser") {
        Put<int32_t>(record, offsetof(HostUserInfo, isAdministrator), 1);
        PutText(record, offsetof(HostUserInfo, description), "An admin user for pGina testing");
        PutText(record, offsetof(HostUserInfo, fullName), "pGina Administrative User");
        Put<int32_t>(record, offsetof(HostUserInfo, flag28), 1);
        return 1;
    }
    if (userName == "reguser") {
        Put<int32_t>(record, offsetof(HostUserInfo, isAdministrator), 0);
        Put<int32_t>(record, offsetof(HostUserInfo, flag28), 0);
        PutText(record, offsetof(HostUserInfo, description), "A \"normal\" user for pGina testing");
        PutText(record, offsetof(HostUserInfo, fullName), "pGina regular User");
        return 1;
    }
    if (userName == "otheruser") {
        Put<int32_t>(record, offsetof(HostUserInfo, flag28), 0);
        return 1;
    }
    PutText(record, offsetof(HostUserInfo, errorMessage), kUnknownName);
    return 0;
}

} // namespace wardengate
