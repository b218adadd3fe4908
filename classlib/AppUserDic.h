#pragma once

#include "AtomicFile.h"
#include "TalkExport.h"

#include <functional>
#include <string>
#include <vector>

/**
 * The list of registered users, kept enciphered under the process key in one file
 * ("halvoxuid.dat" in the installation folder) and held decrypted in memory.
 *
 * Each user is one record of seven ';'-separated fields: ID, name, password, group ("0" administrator,
 * "1" general user), certificate key, three permission digits (logon, encrypt, decrypt) and the
 * voice names joined by ','. Lookups by ID ignore ASCII case and use the first match in file order.
 *
 * Several programs share the file. Every change is one transaction: under an exclusive lock beside the
 * file it reads the file again, applies the change to what it found, rewrites the whole file atomically
 * and releases the lock, so no program's change overwrites another's. A change that no longer applies
 * (another program removed the user meanwhile) or whose write fails returns 0 with a reason in
 * GetLastErrorText and leaves the file as it was. Lookups answer from memory and read the file again
 * first when it changed since. After a failure or a crash the file holds the old or the new list, never
 * a part. Methods never throw. Not thread-safe; one object per thread.
 */
class TALK_API CAppUserDic
{
public:
    /** Decoded view of one user. */
    struct USER_INFORMATION
    {
        std::string id;
        std::string name;
        std::string password;
        int isGeneralUser = 0; // 1 when the group field is exactly "1"
        std::string certiKey;
        int logonRight = 0; // digit values of the permission field, 0 to 9
        int encryptRight = 0;
        int decryptRight = 0;
        std::vector<std::string> nicks;
    };

    /** Stored view of one user. */
    struct USER_DICTIONARY
    {
        std::string id;
        std::string name;
        std::string password;
        int group = 0;
        std::string certiKey;
        std::string authority;
        std::string voiceList;
    };

    CAppUserDic();
    virtual ~CAppUserDic();
    CAppUserDic(const CAppUserDic&) = default;
    CAppUserDic& operator=(const CAppUserDic&) = default;

    /**
     * Uses the dictionary at `path`, creating an empty one when no file is there, and loads it.
     * @return 1; 0 only when a missing file cannot be created. A damaged file loads the users before
     *         the damage (see IsLoadComplete).
     */
    int SetUserDicFilePath(std::string path) noexcept;
    /** Creates (or empties) the file at `path`. @return 1 on success, 0 when it cannot be written. */
    int CreateUserDic(std::string path) noexcept;

    /** Index of the user `id` in the list, or -1. */
    int VerifyUserInfo(std::string id) const noexcept;
    /** The record text of `id`, or "". */
    std::string GetUserWholeInfo(std::string id) const noexcept;
    /** Replaces the record of the user named by field 0 of `record`. @return 1; 0 when not found or not written. */
    int SetUserWholeInfo(std::string record) noexcept;
    /** Removes the user `id`. @return 1; 0 when not found or not written. */
    int DelUserWholeInfo(std::string id) noexcept;
    /** Empties `ids` and fills it with every user's ID in list order. @return 1. */
    int GetUserIDList(std::vector<std::string>& ids) const noexcept;

    /**
     * Adds a user. An empty `certiKey` is formed from `id` (CreateCertiKey). `group` is printed as a
     * number; the three flags are reduced to 0 or 1.
     * @return 1; 0 when `id` exists, no certificate key can be formed, a text holds ';', or the file
     *         cannot be written (nothing is added then).
     */
    int CreateUser(std::string name, std::string id, std::string certiKey, std::string password, int group, int logon,
        int encrypt, int decrypt, std::string voiceList) noexcept;
    /**
     * Rewrites name, password, group and permissions of `id` (spelled as given); the certificate key and
     * the voice list stay. @return 1; 0 when not found, a text holds ';', or not written.
     */
    int SetUser(std::string name, std::string id, std::string password, int group, int logon, int encrypt,
        int decrypt) noexcept;
    /**
     * Stores the record built from `info` through SetUserWholeInfo (so the user named by info.id changes).
     * @return 1; 0 when `id` is not found, a text holds ';' (a nick ','), a right or the group is outside
     *         0 to 9, or not written.
     */
    int SetUser(std::string id, USER_INFORMATION info) noexcept;
    /** Fills `info` from the record of `id`; the nicks are appended to info.nicks. @return 1; 0 when not found. */
    int GetUser(std::string id, USER_INFORMATION& info) const noexcept;
    /** Fills `info` from the record of `id`. @return 1; 0 when not found. */
    int GetUserInfo(std::string id, USER_DICTIONARY& info) const noexcept;

    // Single fields: getters give "" when not found; setters 1, or 0 when not found, when the value
    // holds ';' or when not written; verifiers the index of the first user `id` whose field equals
    // `value` exactly (case-sensitive), else -1.
    std::string GetPassWord(std::string id) const noexcept;
    int SetPassWord(std::string id, std::string value) noexcept;
    int VerifyPassWord(std::string id, std::string value) const noexcept;
    std::string GetGroupInfo(std::string id) const noexcept;
    int SetGroupInfo(std::string id, std::string value) noexcept;
    int VerifyGroupInfo(std::string id, std::string value) const noexcept;
    std::string GetCertiKey(std::string id) const noexcept;
    int SetCertiKey(std::string id, std::string value) noexcept;
    int VerifyCertiKey(std::string id, std::string value) const noexcept;
    std::string GetAuthority(std::string id) const noexcept;
    int SetAuthority(std::string id, std::string value) noexcept;
    int VerifyAuthority(std::string id, std::string value) const noexcept;
    std::string GetVoiceList(std::string id) const noexcept;
    int SetVoiceList(std::string id, std::string value) noexcept;

    /** Position 0 to 5 of `nick` among the first six voice names (ASCII case ignored), or -1. */
    int VerifyNick(std::string id, std::string nick) const noexcept;
    /** Appends "," + `nick` to the voice list. @return 1; 0 when not found, `nick` holds ';' or ',', or not written. */
    int SetNick(std::string id, std::string nick) noexcept;
    /**
     * Keeps those of the first six names that differ from `nick` (exactly) and stores them.
     * @return 1; 0 when not found, when no name would be kept (nothing changes), or not written.
     */
    int DelNick(std::string id, std::string nick) noexcept;
    /** Appends the voice names of `id` to `nicks` (an empty list adds none). @return 1; 0 when not found. */
    int GetNickList(std::string id, std::vector<std::string>& nicks) const noexcept;

    /**
     * Forms the certificate key of `id`: the machine's adapter address (12 upper-case hex digits), or
     * the machine id when there is no adapter, followed by `id`.
     * @return 1 with the key in `out`; 0 when the machine offers neither text.
     */
    int CreateCertiKey(std::string id, std::string& out) const noexcept;
    /** The adapter address text, or "". */
    std::string GetMacAddr() const noexcept;

    /** False when the last load stopped at damaged or truncated data (the users before it are loaded). */
    bool IsLoadComplete() const noexcept { return m_loadComplete; }
    /** Reason of the last failure to read or write the file, "" when none. */
    const std::string& GetLastErrorText() const noexcept { return m_lastError; }
    /** Path given to SetUserDicFilePath. */
    const std::string& GetUserDicFilePath() const noexcept { return m_path; }

    /**
     * Replaces the channel through which the file's bytes are written (write(2) by default). Meant for
     * fault-injection tests; an empty function restores the default.
     */
    void SetWriteChannel(talk::WriteChunkFn write) noexcept;

private:
    struct Entry
    {
        std::string plain;
        std::string cipher; // enciphered form as last read or written; empty when it must be made anew
    };

    int GetUserList() const;
    void Refresh() const;
    int UpdateUserList();
    template<class Change> int Transact(Change&& change);
    int FindIndex(const std::string& id) const;
    int NoSuchUser(const std::string& id) const;
    int ReplaceRecord(std::string record);
    std::string FieldOfUser(const std::string& id, std::size_t field) const;
    int SetFieldOfUser(const std::string& id, std::size_t field, std::string value);
    int EditVoiceList(const std::string& id, const std::function<int(std::string&)>& edit);
    int VerifyFieldOfUser(const std::string& id, std::size_t field, const std::string& value) const;

    std::string m_path;
    // The list as of the file version m_stamp names; lookups bring it up to date, hence mutable.
    mutable std::vector<Entry> m_entries;
    mutable talk::FileStamp m_stamp;
    mutable bool m_loadComplete = true;
    talk::WriteChunkFn m_write;
    mutable std::string m_lastError;
};
