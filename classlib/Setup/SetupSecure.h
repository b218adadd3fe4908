#pragma once

#include "TalkExport.h"

#include <string>

/**
 * The encrypted secure settings file ("halvox.dat" in the installation folder): the six
 * authentication and file-handling settings and the by-pass key, each enciphered under the process key.
 * Every change replaces the file atomically under a lock shared by all processes, so two programs
 * changing it at once lose nothing. Bytes the class does not own (entry 1, anything after entry 2)
 * are kept. Methods never throw.
 */
class TALK_API CSetupSecure
{
public:
    /** The six settings, each a single digit. The initial values are those of a new installation. */
    struct tagSecureSettings
    {
        int logonVoiceEnabled = 0; // voice logon at Windows start is installed: 0 / 1
        int deleteSourceAfterEncrypt = 0; // 0 / 1
        int deleteBundleAfterDecrypt = 0; // 0 / 1
        int logonAuthMode = 1; // 0 voice and password, 1 voice, 2 password
        int fileAuthMode = 1; // 0 voice and password, 1 voice, 2 password
        int firstRun = 1; // the installation has not been set up yet: 0 / 1
    };

    CSetupSecure();
    virtual ~CSetupSecure();
    CSetupSecure(const CSetupSecure&) = default;
    CSetupSecure& operator=(const CSetupSecure&) = default;

    /** Uses the file at `path`, creating it with the new-installation content when missing. @return 1; 0 when it cannot
     * be created. */
    int SetSetupSecureFilePath(std::string path) noexcept;
    /** Creates (or resets) the file at `path`: settings "000111", no installation record, no by-pass key. @return 1 on
     * success. */
    int CreateSetupSecure(std::string path) noexcept;

    /**
     * Fills `record` from the file. A missing, damaged or undecipherable settings entry gives 0 in every field.
     * @return 1 when the entry was read, 0 when the zeros stand in for it.
     */
    int GetAppSettings(tagSecureSettings& record) const noexcept;
    /** Writes the six settings. @return 1; 0 when a field is outside 0 to 9 (nothing written) or on a file failure. */
    int SetAppSettings(const tagSecureSettings& record) noexcept;

    /** A new by-pass key: the enciphered text of random letters and the current time. Nothing is stored. "" on failure.
     */
    std::string CreateBackupBypassKey() const noexcept;
    /** Stores `key` (enciphered once more) as the by-pass key. @return 1; 0 when the file is damaged before it or not
     * written. */
    int SetBackupBypassKey(std::string key) noexcept;
    /** The stored by-pass key; "" when there is none or it does not decipher. */
    std::string GetBackupBypassKey() const noexcept;

    /** The installation folder from the registry value "AppPath"; "" when it is not set. */
    std::string GetAppPath() const noexcept;

    const std::string& GetSetupSecureFilePath() const noexcept { return m_path; }
    /** Reason of the last failure, "" when none. */
    const std::string& GetLastErrorText() const noexcept { return m_lastError; }

private:
    /** The content of a new installation's file; "" (with the reason kept) when it cannot be enciphered. */
    std::string NewFileBytes() const;
    template<class Edit> int Modify(Edit&& edit);

    std::string m_path;
    mutable std::string m_lastError;
};
