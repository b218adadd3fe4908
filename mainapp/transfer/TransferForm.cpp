#include "transfer/TransferForm.h"

#include "transfer/TransferTexts.h"

#include <algorithm>
#include <sstream>

namespace deskwarden::transfer {
namespace {

constexpr std::string_view kBuiltInAdministrator = "administrator";

bool SameIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

void AddOnce(std::vector<std::string>& names, const std::string& name)
{
    if (!name.empty() && std::find(names.begin(), names.end(), name) == names.end()) {
        names.push_back(name);
    }
}

// Columns: IP address, HW type, Flags, HW address, Mask, Device; flag 0x2 marks a complete entry.
void AddArpEntries(std::string_view table, std::vector<std::string>& names)
{
    std::istringstream lines {std::string(table)};
    std::string line;
    std::getline(lines, line);
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string address, type, flags;
        if (fields >> address >> type >> flags && flags == "0x2") {
            AddOnce(names, address);
        }
    }
}

void AddHosts(std::string_view file, std::vector<std::string>& names)
{
    std::istringstream lines {std::string(file)};
    std::string line;
    while (std::getline(lines, line)) {
        line = line.substr(0, line.find('#'));
        std::istringstream fields(line);
        std::string address;
        if (!(fields >> address) || address.rfind("127.", 0) == 0 || address.find(':') != std::string::npos) {
            continue;
        }
        std::string name;
        if (fields >> name) {
            AddOnce(names, name);
        }
    }
}

} // namespace

std::vector<users::UserRow> TransferRows(const CAppUserDic& users, CSystemUser& accounts)
{
    std::vector<users::UserRow> rows = users::ListUserRows(users, accounts, false);
    std::erase_if(rows, [](const users::UserRow& row) { return SameIgnoringAsciiCase(row.id, kBuiltInAdministrator); });
    return rows;
}

std::optional<std::string> SendRefusal(const std::string& address, const std::string& userId)
{
    if (address.empty() || address == "0.0.0.0") {
        return kNoAddress;
    }
    if (userId.empty()) {
        return kNoUserChosen;
    }
    return std::nullopt;
}

std::string ComputerName(std::string_view shown)
{
    while (!shown.empty() && shown.front() == '\\') {
        shown.remove_prefix(1);
    }
    while (!shown.empty() && shown.back() == '\\') {
        shown.remove_suffix(1);
    }
    std::string name(shown);
    for (char& c : name) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return name;
}

std::vector<std::string> NeighbourNames(std::string_view arpTable, std::string_view hostsFile)
{
    std::vector<std::string> names;
    AddArpEntries(arpTable, names);
    AddHosts(hostsFile, names);
    return names;
}

} // namespace deskwarden::transfer
