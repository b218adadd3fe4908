#include "SystemUser.h"

#include "AccountMessages.h"

#include <platform/BoundaryGuard.h>
#include <platform/SystemInformation.h>

using namespace platform;

namespace {

// Account names are listed in rounds of about this many bytes.
constexpr DWORD kEnumerationRoundBytes = 4096;

constexpr DWORD kNewAccountFlags = UF_SCRIPT | UF_DONT_EXPIRE_PASSWD | UF_ACCOUNTDISABLE;
constexpr DWORD kEnabledFlags = UF_SCRIPT | UF_DONT_EXPIRE_PASSWD;

const char* ServerOrNull(const std::string& server)
{
    return server.empty() ? nullptr : server.c_str();
}

// Runs one account call: a missing function fails silently, a failure code sets the operation's message
// as the error, and an exception sets its unspecified-error text.
template<class Call>
int RunAccountCall(AccountOperation operation, bool functionPresent, std::string& error, Call&& call)
{
    if (!functionPresent) {
        return 0;
    }
    return GuardedOr(
        [&] {
            const NET_API_STATUS status = call();
            if (status == NERR_Success) {
                return 1;
            }
            error = AccountErrorMessage(operation, status);
            return 0;
        },
        [&] {
            GuardedCall([&] { error = AccountExceptionMessage(operation); });
            return 0;
        });
}

} // namespace

CSystemUser::~CSystemUser() = default;

const NetApiLibrary* CSystemUser::LoadNetApi() const
{
    return LoadNetApiLibrary();
}

std::string CSystemUser::ServerName()
{
    std::string computer;
    return GetComputerNameLocal(computer) ? "\\\\" + computer : std::string();
}

int CSystemUser::GetComputerNameLocal(std::string& name)
{
    if (Guarded(false, [&] { return platform::GetComputerName(name); })) {
        return 1;
    }
    name.clear();
    return 0;
}

int CSystemUser::AccountCreate(std::string name, std::string password, std::string& error)
{
    const NetApiLibrary* api = LoadNetApi();
    return RunAccountCall(AccountOperation::Create, api != nullptr && api->NetUserAdd != nullptr, error, [&] {
        USER_INFO_1 info {name.data(), password.data(), 0, USER_PRIV_USER, nullptr, nullptr, kNewAccountFlags, nullptr};
        DWORD parmErr = 0;
        return api->NetUserAdd(ServerOrNull(ServerName()), 1, reinterpret_cast<const std::uint8_t*>(&info), &parmErr);
    });
}

int CSystemUser::AccountEnable(std::string name, int enable, std::string& error)
{
    const NetApiLibrary* api = LoadNetApi();
    return RunAccountCall(AccountOperation::Enable, api != nullptr && api->NetUserSetInfo != nullptr, error, [&] {
        USER_INFO_1008 info {enable != 0 ? kEnabledFlags : kEnabledFlags | UF_ACCOUNTDISABLE};
        DWORD parmErr = 0;
        return api->NetUserSetInfo(
            ServerOrNull(ServerName()), name.c_str(), 1008, reinterpret_cast<const std::uint8_t*>(&info), &parmErr);
    });
}

int CSystemUser::AccountDelete(std::string name, std::string& error)
{
    const NetApiLibrary* api = LoadNetApi();
    return RunAccountCall(AccountOperation::Delete, api != nullptr && api->NetUserDel != nullptr, error,
        [&] { return api->NetUserDel(ServerOrNull(ServerName()), name.c_str()); });
}

int CSystemUser::AccountExist(std::string name, std::string& error)
{
    const NetApiLibrary* api = LoadNetApi();
    const bool present = api != nullptr && api->NetUserGetInfo != nullptr && api->NetApiBufferFree != nullptr;
    return RunAccountCall(AccountOperation::Exist, present, error, [&] {
        std::uint8_t* buffer = nullptr;
        const NET_API_STATUS status = api->NetUserGetInfo(ServerOrNull(ServerName()), name.c_str(), 10, &buffer);
        api->NetApiBufferFree(buffer);
        return status;
    });
}

int CSystemUser::AccountInsertInGroup(std::string name, std::string group, std::string& error)
{
    const NetApiLibrary* api = LoadNetApi();
    const bool present = api != nullptr && api->NetLocalGroupAddMembers != nullptr;
    return RunAccountCall(AccountOperation::InsertInGroup, present, error, [&] {
        LOCALGROUP_MEMBERS_INFO_3 member {name.data()};
        return api->NetLocalGroupAddMembers(
            ServerOrNull(ServerName()), group.c_str(), 3, reinterpret_cast<const std::uint8_t*>(&member), 1);
    });
}

int CSystemUser::AccountDeleteInGroup(std::string name, std::string group, std::string& error)
{
    const NetApiLibrary* api = LoadNetApi();
    const bool present = api != nullptr && api->NetLocalGroupDelMembers != nullptr;
    return RunAccountCall(AccountOperation::DeleteInGroup, present, error, [&] {
        LOCALGROUP_MEMBERS_INFO_3 member {name.data()};
        return api->NetLocalGroupDelMembers(
            ServerOrNull(ServerName()), group.c_str(), 3, reinterpret_cast<const std::uint8_t*>(&member), 1);
    });
}

int CSystemUser::AccountChangePassword(
    std::string name, std::string oldPassword, std::string newPassword, std::string& error)
{
    const NetApiLibrary* api = LoadNetApi();
    const bool present = api != nullptr && api->NetUserChangePassword != nullptr;
    return RunAccountCall(AccountOperation::ChangePassword, present, error, [&] {
        return api->NetUserChangePassword(
            ServerOrNull(ServerName()), name.c_str(), oldPassword.c_str(), newPassword.c_str());
    });
}

int CSystemUser::AccountGetInfo(std::string name, std::string& error)
{
    const NetApiLibrary* api = LoadNetApi();
    const bool present = api != nullptr && api->NetUserGetInfo != nullptr && api->NetApiBufferFree != nullptr;
    int privilege = -1;
    const int ok = RunAccountCall(AccountOperation::GetInfo, present, error, [&] {
        std::uint8_t* buffer = nullptr;
        const NET_API_STATUS status = api->NetUserGetInfo(ServerOrNull(ServerName()), name.c_str(), 1, &buffer);
        if (status == NERR_Success && buffer != nullptr) {
            const DWORD level = reinterpret_cast<const USER_INFO_1*>(buffer)->usri1_priv;
            privilege = level <= USER_PRIV_ADMIN ? static_cast<int>(level) : -1;
        }
        api->NetApiBufferFree(buffer);
        return status;
    });
    return ok == 1 ? privilege : -1;
}

int CSystemUser::AccountGetUsers(std::vector<std::string>& names, std::string& error)
{
    const NetApiLibrary* api = LoadNetApi();
    const bool present = api != nullptr && api->NetUserEnum != nullptr && api->NetApiBufferFree != nullptr;
    return RunAccountCall(AccountOperation::GetUsers, present, error, [&] {
        const std::string server = ServerName();
        DWORD resume = 0;
        NET_API_STATUS status = NERR_Success;
        do {
            std::uint8_t* buffer = nullptr;
            DWORD read = 0;
            DWORD total = 0;
            status = api->NetUserEnum(ServerOrNull(server), 0, FILTER_NORMAL_ACCOUNT, &buffer, kEnumerationRoundBytes,
                &read, &total, &resume);
            if ((status == NERR_Success || status == static_cast<NET_API_STATUS>(ERROR_MORE_DATA))
                && buffer != nullptr) {
                const auto* records = reinterpret_cast<const USER_INFO_0*>(buffer);
                for (DWORD i = 0; i < read; ++i) {
                    names.emplace_back(records[i].usri0_name != nullptr ? records[i].usri0_name : "");
                }
            }
            api->NetApiBufferFree(buffer);
        } while (status == static_cast<NET_API_STATUS>(ERROR_MORE_DATA));
        return status;
    });
}
