#pragma once

#include "users/UserList.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CAppUserDic;
class CSystemUser;

// The transfer dialog's rules, apart from its window.
namespace deskwarden::transfer {

/** The users that may be sent: every program user but the built-in administrator, in dictionary order. */
std::vector<users::UserRow> TransferRows(const CAppUserDic& users, CSystemUser& accounts);

/** Why sending cannot start (no receiving address, no user chosen), or nullopt when it can. */
std::optional<std::string> SendRefusal(const std::string& address, const std::string& userId);

/** A computer's name as the host name field takes it: without leading "\\" and trailing "\", upper case. */
std::string ComputerName(std::string_view shown);

/**
 * The computers this one knows on its network: the complete entries of the kernel's neighbour table
 * (/proc/net/arp) and the names of /etc/hosts with an address outside loopback, each once, in that order.
 */
std::vector<std::string> NeighbourNames(std::string_view arpTable, std::string_view hostsFile);

} // namespace deskwarden::transfer
