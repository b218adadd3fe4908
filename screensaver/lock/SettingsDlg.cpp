#include "lock/SettingsDlg.h"

int screenveil::RunSettings(CSetupFile&)
{
    return 1;
}
