#pragma once

// The logon plug-in's interface: plain C functions that the logon host finds by name after loading
// WardenGate.so. None of them throws or keeps state between calls.

#define WARDENGATE_API extern "C" __attribute__((visibility("default")))

/**
 * Runs the logon dialog. On success copies the user ID into `userName` and the account password into
 * `password` (each with its terminating zero; the host's buffers must hold them) and returns 1; otherwise
 * writes "" into both and returns 0 (cancelled, denied, no installation).
 */
WARDENGATE_API int CustomCtrlEntry(char* userName, char* password);
/**
 * The host's three test accounts ("adminuser", "reguser", "otheruser"): writes their fields into `info`,
 * the host's user-information record, and returns 1; any other name gets the record's error message and 0.
 * The password is not looked at.
 */
WARDENGATE_API int UserLogin(const char* userName, const char* password, void* info);
/** Returns 1 and changes nothing: passwords are changed by the account tools. */
WARDENGATE_API int ChangeUserPassword(const char* userName, const char* oldPassword, const char* newPassword);
/** Returns 0: the plug-in needs nothing of the host before it runs. */
WARDENGATE_API int IsRequired();
/** "WardenGate example (UNICODE).Created" (a static text the host must not free). */
WARDENGATE_API const char* AboutPlugin();
/** Does nothing and returns 0. */
WARDENGATE_API int LoginHook(const char* userName, const char* domain);
/** Does nothing and returns 0. */
WARDENGATE_API int LogoutHook(const char* userName, const char* domain);
/** Does nothing and returns 0. */
WARDENGATE_API int ChangePluginSettings(void* parentWindow);
