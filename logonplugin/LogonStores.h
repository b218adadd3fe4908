#pragma once

#include "AppUserDic.h"
#include "AppUserVoiceDic.h"
#include "Setup/SetupFile.h"

#include <string>

namespace wardengate {

/**
 * The settings, user dictionary and voice dictionary of the registered installation, owned by one logon
 * dialog for its lifetime (the logon has no program around it to lend them).
 */
struct LogonStores
{
    CSetupFile setup;
    CAppUserDic users;
    CAppUserVoiceDic voices;

    /**
     * Points the three stores at the files of the installation folder named by the registry, creating the
     * voice dictionary's work folder when missing.
     * @return false with `error` when no installation is registered or a store cannot be opened.
     */
    bool Open(std::string& error);
};

/** The last account that logged on to the machine (the registry's "AltDefaultUserName"), or "". */
std::string LastLogonUser();

} // namespace wardengate
