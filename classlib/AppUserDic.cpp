#include "AppUserDic.h"
#include <platform/BoundaryGuard.h>

#include "FileLock.h"

#include "NumberText.h"
#include "StoreCipher.h"
#include "UserDicFormat.h"
#include "UserRecord.h"
#include <platform/AsciiCase.h>

#include <platform/SystemInformation.h>

#include <functional>
#include <unordered_map>

namespace rec = talk::user_record;

namespace {

constexpr std::size_t kVerifiedNicks = 6;

std::string FlagsText(int logon, int encrypt, int decrypt)
{
    return std::to_string(logon ? 1 : 0) + std::to_string(encrypt ? 1 : 0) + std::to_string(decrypt ? 1 : 0);
}

bool AllValidFields(std::initializer_list<const std::string*> fields)
{
    for (const std::string* field : fields) {
        if (!rec::IsValidField(*field)) {
            return false;
        }
    }
    return true;
}

std::vector<std::string> NicksOf(const std::string& voiceList)
{
    // A user without voices has none, not one empty name.
    return voiceList.empty() ? std::vector<std::string> {} : rec::Split(voiceList, rec::kNickSeparator);
}

bool IsDigitValue(int value)
{
    return value >= 0 && value <= 9;
}

} // namespace

CAppUserDic::CAppUserDic() = default;

CAppUserDic::~CAppUserDic() = default;

void CAppUserDic::SetWriteChannel(talk::WriteChunkFn write) noexcept
{
    m_write = std::move(write);
}

int CAppUserDic::SetUserDicFilePath(std::string path) noexcept
{
    return platform::Guarded(0, m_lastError, [&] {
        m_lastError.clear();
        if (!talk::CreateStoreOnce(path, {}, m_lastError, m_write)) {
            return 0;
        }
        m_path = std::move(path);
        m_entries.clear();
        GetUserList();
        return 1;
    });
}

int CAppUserDic::CreateUserDic(std::string path) noexcept
{
    return platform::Guarded(0, m_lastError, [&] {
        talk::FileLock lock(path);
        if (!lock.IsHeld()) {
            m_lastError = lock.ErrorText();
            return 0;
        }
        return talk::ReplaceFileAtomically(path, {}, m_lastError, m_write) ? 1 : 0;
    });
}

int CAppUserDic::GetUserList() const
{
    std::string bytes;
    talk::FileStamp stamp;
    if (!talk::ReadWholeFile(m_path, bytes, stamp, m_lastError)) {
        m_entries.clear();
        m_stamp = {};
        m_loadComplete = false;
        return 0;
    }
    // Records that another program left as they were keep their deciphered text: a change of one user
    // costs one decipherment, not one per user.
    std::unordered_map<std::string, std::string> known;
    for (Entry& entry : m_entries) {
        if (!entry.cipher.empty()) {
            known.emplace(std::move(entry.cipher), std::move(entry.plain));
        }
    }
    m_entries.clear();
    m_stamp = stamp;
    m_loadComplete = true;
    if (bytes.empty()) {
        return 0;
    }
    talk::user_dic_format::Decoded decoded = talk::user_dic_format::Decode(bytes);
    for (std::string& cipher : decoded.texts) {
        const auto found = known.find(cipher);
        std::string plain = found != known.end() ? found->second : talk::store_cipher::Decipher(cipher);
        // An entry that does not decipher stays as an empty user and is written back enciphered anew.
        if (plain.empty()) {
            cipher.clear();
        }
        m_entries.push_back({std::move(plain), std::move(cipher)});
    }
    m_loadComplete = decoded.complete;
    if (!decoded.complete) {
        m_lastError = "the user dictionary is damaged; users after the damage were not read";
    }
    return decoded.complete ? 1 : 0;
}

void CAppUserDic::Refresh() const
{
    talk::FileStamp now;
    if (m_path.empty() || (talk::StampOfFile(m_path, now) && now == m_stamp && !m_stamp.IsRacy())) {
        return;
    }
    GetUserList();
}

int CAppUserDic::UpdateUserList()
{
    if (m_path.empty()) {
        m_lastError = "no user dictionary file set";
        return 0;
    }
    std::vector<std::string> ciphers;
    ciphers.reserve(m_entries.size());
    for (Entry& entry : m_entries) {
        if (entry.cipher.empty()) {
            entry.cipher = talk::store_cipher::Encipher(entry.plain);
            if (entry.cipher.empty()) {
                m_lastError = "cannot encipher a user record";
                return 0;
            }
        }
        ciphers.push_back(entry.cipher);
    }
    std::string bytes;
    if (!talk::user_dic_format::Encode(ciphers, bytes)) {
        m_lastError = "a user record is too long";
        return 0;
    }
    return talk::ReplaceFileAtomically(m_path, bytes, m_lastError, m_write) ? 1 : 0;
}

template<class Change> int CAppUserDic::Transact(Change&& change)
{
    if (m_path.empty()) {
        m_lastError = "no user dictionary file set";
        return 0;
    }
    talk::FileLock lock(m_path);
    if (!lock.IsHeld()) {
        m_lastError = lock.ErrorText();
        return 0;
    }
    // Under the lock the file is read again whatever its stamp says: the change must apply to what
    // every other program sees now, or another program's change would be overwritten.
    GetUserList();
    if (m_stamp.size < 0) {
        // A missing or unreadable file is no empty list: writing one would drop every user it held.
        return 0;
    }
    std::vector<Entry> before = m_entries;
    if (!change() || !UpdateUserList()) {
        m_entries = std::move(before);
        return 0;
    }
    if (!talk::StampOfFile(m_path, m_stamp)) {
        m_stamp = {};
    }
    return 1;
}

int CAppUserDic::NoSuchUser(const std::string& id) const
{
    m_lastError = "there is no user \"" + id + "\" (another program may have removed him)";
    return 0;
}

int CAppUserDic::FindIndex(const std::string& id) const
{
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        if (platform::EqualsIgnoringAsciiCase(rec::FieldOf(m_entries[i].plain, rec::kId), id)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int CAppUserDic::VerifyUserInfo(std::string id) const noexcept
{
    return platform::Guarded(-1, m_lastError, [&] {
        Refresh();
        return FindIndex(id);
    });
}

std::string CAppUserDic::GetUserWholeInfo(std::string id) const noexcept
{
    return platform::Guarded(std::string(), m_lastError, [&] {
        Refresh();
        const int index = FindIndex(id);
        return index < 0 ? std::string() : m_entries[static_cast<std::size_t>(index)].plain;
    });
}

int CAppUserDic::ReplaceRecord(std::string record)
{
    const std::string id = rec::FieldOf(record, rec::kId);
    const int index = FindIndex(id);
    if (index < 0) {
        return NoSuchUser(id);
    }
    m_entries[static_cast<std::size_t>(index)] = Entry {std::move(record), {}};
    return 1;
}

int CAppUserDic::SetUserWholeInfo(std::string record) noexcept
{
    return platform::Guarded(0, m_lastError, [&] { return Transact([&] { return ReplaceRecord(record); }); });
}

int CAppUserDic::DelUserWholeInfo(std::string id) noexcept
{
    return platform::Guarded(0, m_lastError, [&] {
        return Transact([&] {
            const int index = FindIndex(id);
            if (index < 0) {
                return NoSuchUser(id);
            }
            m_entries.erase(m_entries.begin() + index);
            return 1;
        });
    });
}

int CAppUserDic::GetUserIDList(std::vector<std::string>& ids) const noexcept
{
    return platform::Guarded(0, m_lastError, [&] {
        Refresh();
        ids.clear();
        for (const Entry& entry : m_entries) {
            ids.push_back(rec::FieldOf(entry.plain, rec::kId));
        }
        return 1;
    });
}

int CAppUserDic::CreateUser(std::string name, std::string id, std::string certiKey, std::string password, int group,
    int logon, int encrypt, int decrypt, std::string voiceList) noexcept
{
    return platform::Guarded(0, m_lastError, [&] {
        if (!AllValidFields({&name, &id, &certiKey, &password, &voiceList})) {
            m_lastError = "a user's texts must not contain ';'";
            return 0;
        }
        if (certiKey.empty() && !CreateCertiKey(id, certiKey)) {
            m_lastError = "no certificate key can be formed on this machine";
            return 0;
        }
        const std::vector<std::string> fields
            = {id, name, password, std::to_string(group), certiKey, FlagsText(logon, encrypt, decrypt), voiceList};
        return Transact([&] {
            if (FindIndex(id) >= 0) {
                m_lastError = "the user \"" + id + "\" exists already";
                return 0;
            }
            m_entries.push_back({rec::Join(fields, true), {}});
            return 1;
        });
    });
}

int CAppUserDic::SetUser(
    std::string name, std::string id, std::string password, int group, int logon, int encrypt, int decrypt) noexcept
{
    return platform::Guarded(0, m_lastError, [&] {
        if (!AllValidFields({&name, &id, &password})) {
            m_lastError = "a user's texts must not contain ';'";
            return 0;
        }
        return Transact([&] {
            const int index = FindIndex(id);
            if (index < 0) {
                return NoSuchUser(id);
            }
            Entry& entry = m_entries[static_cast<std::size_t>(index)];
            const std::vector<std::string> fields
                = {id, name, password, std::to_string(group), rec::FieldOf(entry.plain, rec::kCertiKey),
                    FlagsText(logon, encrypt, decrypt), rec::FieldOf(entry.plain, rec::kVoiceList)};
            entry = Entry {rec::Join(fields, true), {}};
            return 1;
        });
    });
}

int CAppUserDic::SetUser(std::string id, USER_INFORMATION info) noexcept
{
    return platform::Guarded(0, m_lastError, [&] {
        bool valid = AllValidFields({&info.id, &info.name, &info.password, &info.certiKey});
        for (const std::string& nick : info.nicks) {
            valid = valid && rec::IsValidNick(nick);
        }
        // A number of more than one digit would shift the permission digits that readers take by position.
        valid = valid && IsDigitValue(info.isGeneralUser) && IsDigitValue(info.logonRight)
            && IsDigitValue(info.encryptRight) && IsDigitValue(info.decryptRight);
        if (!valid) {
            m_lastError = "a user's texts must not contain ';' (names not ','), and rights are single digits";
            return 0;
        }
        const std::vector<std::string> fields
            = {info.id, info.name, info.password, std::to_string(info.isGeneralUser), info.certiKey,
                std::to_string(info.logonRight) + std::to_string(info.encryptRight) + std::to_string(info.decryptRight),
                rec::JoinNicks(info.nicks)};
        return Transact([&] { return FindIndex(id) < 0 ? NoSuchUser(id) : ReplaceRecord(rec::Join(fields, false)); });
    });
}

int CAppUserDic::GetUser(std::string id, USER_INFORMATION& info) const noexcept
{
    return platform::Guarded(0, m_lastError, [&] {
        Refresh();
        const int index = FindIndex(id);
        if (index < 0) {
            return 0;
        }
        const std::vector<std::string> fields = rec::SevenFields(m_entries[static_cast<std::size_t>(index)].plain);
        const std::string& authority = fields[rec::kAuthority];
        info.id = fields[rec::kId];
        info.name = fields[rec::kName];
        info.password = fields[rec::kPassword];
        info.isGeneralUser = fields[rec::kGroup] == "1" ? 1 : 0;
        info.certiKey = fields[rec::kCertiKey];
        info.logonRight = authority.size() > 0 ? talk::DigitValue(authority[0]) : 0;
        info.encryptRight = authority.size() > 1 ? talk::DigitValue(authority[1]) : 0;
        info.decryptRight = authority.size() > 2 ? talk::DigitValue(authority[2]) : 0;
        for (std::string& nick : NicksOf(fields[rec::kVoiceList])) {
            info.nicks.push_back(std::move(nick));
        }
        return 1;
    });
}

int CAppUserDic::GetUserInfo(std::string id, USER_DICTIONARY& info) const noexcept
{
    return platform::Guarded(0, m_lastError, [&] {
        Refresh();
        const int index = FindIndex(id);
        if (index < 0) {
            return 0;
        }
        std::vector<std::string> fields = rec::SevenFields(m_entries[static_cast<std::size_t>(index)].plain);
        info.id = std::move(fields[rec::kId]);
        info.name = std::move(fields[rec::kName]);
        info.password = std::move(fields[rec::kPassword]);
        info.group = talk::LeadingInt(fields[rec::kGroup]);
        info.certiKey = std::move(fields[rec::kCertiKey]);
        info.authority = std::move(fields[rec::kAuthority]);
        info.voiceList = std::move(fields[rec::kVoiceList]);
        return 1;
    });
}

std::string CAppUserDic::FieldOfUser(const std::string& id, std::size_t field) const
{
    Refresh();
    const int index = FindIndex(id);
    return index < 0 ? std::string() : rec::FieldOf(m_entries[static_cast<std::size_t>(index)].plain, field);
}

int CAppUserDic::EditVoiceList(const std::string& id, const std::function<int(std::string&)>& edit)
{
    return Transact([&] {
        const int index = FindIndex(id);
        if (index < 0) {
            return NoSuchUser(id);
        }
        const std::string& record = m_entries[static_cast<std::size_t>(index)].plain;
        std::string voiceList = rec::FieldOf(record, rec::kVoiceList);
        if (!edit(voiceList)) {
            return 0;
        }
        return ReplaceRecord(rec::WithField(record, rec::kVoiceList, std::move(voiceList)));
    });
}

int CAppUserDic::SetFieldOfUser(const std::string& id, std::size_t field, std::string value)
{
    if (!rec::IsValidField(value)) {
        m_lastError = "a user's texts must not contain ';'";
        return 0;
    }
    return Transact([&] {
        const int index = FindIndex(id);
        if (index < 0) {
            return NoSuchUser(id);
        }
        return ReplaceRecord(rec::WithField(m_entries[static_cast<std::size_t>(index)].plain, field, value));
    });
}

int CAppUserDic::VerifyFieldOfUser(const std::string& id, std::size_t field, const std::string& value) const
{
    Refresh();
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        const std::string& record = m_entries[i].plain;
        if (platform::EqualsIgnoringAsciiCase(rec::FieldOf(record, rec::kId), id)
            && rec::FieldOf(record, field) == value) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

#define TALK_USER_FIELD_ACCESS(Getter, Setter, Field)                                                                  \
    std::string CAppUserDic::Getter(std::string id) const noexcept                                                     \
    {                                                                                                                  \
        return platform::Guarded(std::string(), m_lastError, [&] { return FieldOfUser(id, Field); });                  \
    }                                                                                                                  \
    int CAppUserDic::Setter(std::string id, std::string value) noexcept                                                \
    {                                                                                                                  \
        return platform::Guarded(0, m_lastError, [&] { return SetFieldOfUser(id, Field, std::move(value)); });         \
    }

#define TALK_USER_FIELD_VERIFY(Verifier, Field)                                                                        \
    int CAppUserDic::Verifier(std::string id, std::string value) const noexcept                                        \
    {                                                                                                                  \
        return platform::Guarded(-1, m_lastError, [&] { return VerifyFieldOfUser(id, Field, value); });                \
    }

TALK_USER_FIELD_ACCESS(GetPassWord, SetPassWord, rec::kPassword)
TALK_USER_FIELD_VERIFY(VerifyPassWord, rec::kPassword)
TALK_USER_FIELD_ACCESS(GetGroupInfo, SetGroupInfo, rec::kGroup)
TALK_USER_FIELD_VERIFY(VerifyGroupInfo, rec::kGroup)
TALK_USER_FIELD_ACCESS(GetCertiKey, SetCertiKey, rec::kCertiKey)
TALK_USER_FIELD_VERIFY(VerifyCertiKey, rec::kCertiKey)
TALK_USER_FIELD_ACCESS(GetAuthority, SetAuthority, rec::kAuthority)
TALK_USER_FIELD_VERIFY(VerifyAuthority, rec::kAuthority)
TALK_USER_FIELD_ACCESS(GetVoiceList, SetVoiceList, rec::kVoiceList)

#undef TALK_USER_FIELD_ACCESS
#undef TALK_USER_FIELD_VERIFY

int CAppUserDic::VerifyNick(std::string id, std::string nick) const noexcept
{
    return platform::Guarded(-1, m_lastError, [&] {
        const std::vector<std::string> nicks = NicksOf(FieldOfUser(id, rec::kVoiceList));
        for (std::size_t i = 0; i < nicks.size() && i < kVerifiedNicks; ++i) {
            if (platform::EqualsIgnoringAsciiCase(nicks[i], nick)) {
                return static_cast<int>(i);
            }
        }
        return -1;
    });
}

int CAppUserDic::SetNick(std::string id, std::string nick) noexcept
{
    return platform::Guarded(0, m_lastError, [&] {
        if (!rec::IsValidNick(nick)) {
            m_lastError = "a voice name must not contain ';' or ','";
            return 0;
        }
        return EditVoiceList(id, [&](std::string& voiceList) {
            voiceList += rec::kNickSeparator + nick;
            return 1;
        });
    });
}

int CAppUserDic::DelNick(std::string id, std::string nick) noexcept
{
    return platform::Guarded(0, m_lastError, [&] {
        return EditVoiceList(id, [&](std::string& voiceList) {
            const std::vector<std::string> nicks = NicksOf(voiceList);
            std::vector<std::string> kept;
            for (std::size_t i = 0; i < nicks.size() && i < kVerifiedNicks; ++i) {
                if (nicks[i] != nick) {
                    kept.push_back(nicks[i]);
                }
            }
            if (kept.empty()) {
                return 0;
            }
            voiceList = rec::JoinNicks(kept);
            return 1;
        });
    });
}

int CAppUserDic::GetNickList(std::string id, std::vector<std::string>& nicks) const noexcept
{
    return platform::Guarded(0, m_lastError, [&] {
        Refresh();
        const int index = FindIndex(id);
        if (index < 0) {
            return 0;
        }
        for (std::string& nick :
            NicksOf(rec::FieldOf(m_entries[static_cast<std::size_t>(index)].plain, rec::kVoiceList))) {
            nicks.push_back(std::move(nick));
        }
        return 1;
    });
}

int CAppUserDic::CreateCertiKey(std::string id, std::string& out) const noexcept
{
    return platform::Guarded(0, m_lastError, [&] {
        std::string machine = GetMacAddr();
        if (machine.empty()) {
            machine = platform::MachineIdText();
        }
        if (machine.empty()) {
            return 0;
        }
        out = machine + id;
        return 1;
    });
}

std::string CAppUserDic::GetMacAddr() const noexcept
{
    return platform::Guarded(std::string(), m_lastError, [&] { return platform::AdapterAddressText(); });
}
