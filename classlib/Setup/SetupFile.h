#pragma once

#include "IniFile.h"
#include "Setup/SetupSecure.h"
#include "TalkExport.h"

#include <platform/Registry.h>
#include <platform/WinTypes.h>

#include <string>
#include <vector>

/**
 * Typed access to the suite's settings: the installation folder and the screen-saver comment in the
 * registry stand-in, the plain settings file ("halvox.ini" in the installation folder) and, through
 * the owned CSetupSecure, the secure settings ("halvox.dat"). Nothing is cached: every call reads or
 * writes the file once, so a value written by one program is seen by the next read of any other.
 * Setters return 1 on success and 0 on failure; reads of missing values give "" or 0. Never throws.
 */
class TALK_API CSetupFile
{
public:
    static constexpr const char* kSectionDeskWarden = "DESK_WARDEN";
    static constexpr const char* kSectionVoiceRecog = "VOICE_RECOG_DLL";
    static constexpr const char* kSectionWordList = "WORD_LIST";
    static constexpr const char* kSectionImageFiles = "IMAGE_FILES";
    static constexpr const char* kSectionScreenSaver = "SCREEN_SAVER";
    static constexpr const char* kKeyLastUser = "LastUser";
    static constexpr const char* kKeyLastExecutePos = "LastExecutePos";
    static constexpr const char* kKeySkin = "Skin";
    static constexpr const char* kKeySkinList = "SkinList";
    static constexpr const char* kKeyEncryptFileFolder = "EncryptFileFolder";
    static constexpr const char* kKeyEncryptFileStyle = "EncryptFileStyle";
    static constexpr const char* kKeyNarration = "Narration";
    static constexpr const char* kKeyWaitTime = "WaitTime";
    static constexpr const char* kKeyAuto = "Auto";
    static constexpr const char* kValueScrMent = "ScrMent";
    static constexpr const char* kWinlogonKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon\\";
    static constexpr const char* kValueAltDefaultUserName = "AltDefaultUserName";
    static constexpr const char* kSettingsFileName = "/halvox.ini";
    static constexpr const char* kSecureFileName = "/halvox.dat";

    CSetupFile();
    virtual ~CSetupFile();
    CSetupFile(const CSetupFile&) = default;
    CSetupFile& operator=(const CSetupFile&) = default;

    /**
     * Points the settings at GetAppPath() + "/halvox.ini" and the secure settings at
     * GetAppPath() + "/halvox.dat" (created when missing).
     * @return 1; 0 when no installation folder is registered or the secure file cannot be created.
     */
    int Initialize() noexcept;

    /** Registers the installation folder (trailing '/' dropped). @return 0 for an empty path or one over 199 bytes. */
    int SetAppPath(std::string path) noexcept;
    /** The registered installation folder, or "". */
    std::string GetAppPath() const noexcept;
    /** The folder of the running program, ending with '/'; "" when it cannot be found. */
    std::string GetAppExecutePath() const noexcept;

    int SetLastUserProgram(std::string id) noexcept;
    std::string GetLastUserProgram() const noexcept;
    /** The name last used at the system logon ("AltDefaultUserName"), or "". */
    std::string GetLastUserLogon() const noexcept;

    int SetAppLastPos(int left, int top, int right, int bottom) noexcept;
    /** The main window rectangle; numbers missing from the stored text read as 0. */
    platform::RECT GetAppLastPos() const noexcept;

    std::string GetSkinCurrent() const noexcept;
    /** @return 0 for an empty name, else the write's result. */
    int SetSkinChange(std::string name) noexcept;
    /** Appends each ','-separated skin name, blanks trimmed. @return 1. */
    int GetSkinList(std::vector<std::string>& names) const noexcept;

    /** The word to be spoken for the voice name `name` ("aaj" ... "afj"), or "". */
    std::string GetAuthWord(std::string name) const noexcept;
    /** Appends the words of all voice names in file order. @return 1. */
    int GetAuthWordList(std::vector<std::string>& words) const noexcept;
    /** The first voice name whose word equals `word` (ASCII case ignored), as written in the file; "" when none. */
    std::string GetAuthNick(std::string word) const noexcept;

    /** @return 0 for an empty folder, else the write's result. */
    int SetAppSecureFolder(std::string folder) noexcept;
    std::string GetAppSecureFolder() const noexcept;
    int SetAppSecureMakeType(unsigned n) noexcept;
    unsigned GetAppSecureMakeType() const noexcept;

    /** Replaces the slide-show list by `files`, numbered from "1", in one write; an empty list removes it. @return 1 on
     * success. */
    int SetScrImageFile(const std::vector<std::string>& files) noexcept;
    /** The picture numbered `n`, or "". */
    std::string GetScrImageFile(int n) const noexcept;
    /** Appends the listed pictures that still name existing files. @return 1. */
    int GetScrImageFileList(std::vector<std::string>& files) const noexcept;

    /** The screen saver's comment text from the registry, or "". */
    std::string GetScrComment() const noexcept;
    int SetScrComment(std::string text) noexcept;

    unsigned GetScrWaitTime() const noexcept;
    /** @return 0 without writing when `n` is below 1. */
    int SetScrWaitTime(int n) noexcept;
    int GetScrAuto() const noexcept;
    int SetScrAuto(int flag) noexcept;

    /** The secure settings record (all zeros when the secure file is unreadable). */
    CSetupSecure::tagSecureSettings GetSecureAppSettings() const noexcept;
    int SetSecureAppSettings(const CSetupSecure::tagSecureSettings& record) noexcept;

    /** 0 when nothing exists at `path`; else 1 when its kind (folder or not) is the one `wantFolder` asks for. */
    static int IsFileExist(std::string path, int wantFolder) noexcept;

    /** The owned secure settings (by-pass key operations). */
    CSetupSecure& GetSetupSecure() noexcept { return m_secure; }
    const std::string& GetSetupFilePath() const noexcept { return m_settingsPath; }

private:
    CIniFile Settings() const { return CIniFile(m_settingsPath); }
    std::string ReadSetting(const char* section, const std::string& key) const;
    int WriteSetting(const char* section, const std::string& key, const std::string& value);

    CSetupSecure m_secure;
    std::string m_baseKey;
    platform::HKEY m_root;
    std::string m_settingsPath;
};
