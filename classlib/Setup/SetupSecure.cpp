#include "Setup/SetupSecure.h"
#include <platform/BoundaryGuard.h>

#include "AtomicFile.h"
#include "FileLock.h"
#include "Setup/BypassKeyText.h"
#include "Setup/InstallPath.h"
#include "Setup/SecureFileFormat.h"
#include "StoreCipher.h"

#include <ctime>

namespace format = talk::secure_file_format;

namespace {

constexpr std::size_t kSettingsEntry = 0;
constexpr std::size_t kBypassEntry = 2;
// The secure file is a handful of short entries; anything far larger is not one.
constexpr std::size_t kMaxSecureFileBytes = 1024 * 1024;

format::SettingsDigits DigitsOf(const CSetupSecure::tagSecureSettings& record)
{
    return {record.logonVoiceEnabled, record.deleteSourceAfterEncrypt, record.deleteBundleAfterDecrypt,
        record.logonAuthMode, record.fileAuthMode, record.firstRun};
}

CSetupSecure::tagSecureSettings RecordOf(const format::SettingsDigits& digits)
{
    CSetupSecure::tagSecureSettings record;
    record.logonVoiceEnabled = digits[0];
    record.deleteSourceAfterEncrypt = digits[1];
    record.deleteBundleAfterDecrypt = digits[2];
    record.logonAuthMode = digits[3];
    record.fileAuthMode = digits[4];
    record.firstRun = digits[5];
    return record;
}

} // namespace

CSetupSecure::CSetupSecure() = default;

CSetupSecure::~CSetupSecure() = default;

int CSetupSecure::SetSetupSecureFilePath(std::string path) noexcept
{
    return platform::Guarded(0, m_lastError, [&] {
        m_lastError.clear();
        if (!talk::PathExists(path)) {
            const std::string bytes = NewFileBytes();
            if (bytes.empty() || !talk::CreateStoreOnce(path, bytes, m_lastError)) {
                return 0;
            }
        }
        m_path = std::move(path);
        return 1;
    });
}

int CSetupSecure::CreateSetupSecure(std::string path) noexcept
{
    return platform::Guarded(0, m_lastError, [&] {
        const std::string bytes = NewFileBytes();
        if (bytes.empty()) {
            return 0;
        }
        talk::FileLock lock(path);
        if (!lock.IsHeld()) {
            m_lastError = lock.ErrorText();
            return 0;
        }
        return talk::ReplaceFileAtomically(path, bytes, m_lastError) ? 1 : 0;
    });
}

std::string CSetupSecure::NewFileBytes() const
{
    const std::string settings = talk::store_cipher::Encipher(format::FormatSettings(DigitsOf({})));
    if (settings.empty()) {
        m_lastError = "cannot encipher the settings";
        return {};
    }
    return format::NewFile(settings);
}

int CSetupSecure::GetAppSettings(tagSecureSettings& record) const noexcept
{
    return platform::Guarded(0, m_lastError, [&] {
        record = RecordOf({});
        std::string bytes;
        if (!talk::ReadWholeFile(m_path, bytes, m_lastError, kMaxSecureFileBytes)) {
            return 0;
        }
        const auto cipher = format::EntryText(bytes, kSettingsEntry);
        const std::string plain = cipher ? talk::store_cipher::Decipher(*cipher) : std::string();
        if (plain.empty()) {
            return 0;
        }
        record = RecordOf(format::ParseSettings(plain));
        return 1;
    });
}

template<class Edit> int CSetupSecure::Modify(Edit&& edit)
{
    if (m_path.empty()) {
        m_lastError = "no secure settings file set";
        return 0;
    }
    talk::FileLock lock(m_path);
    if (!lock.IsHeld()) {
        m_lastError = lock.ErrorText();
        return 0;
    }
    std::string bytes;
    if (talk::PathExists(m_path) && !talk::ReadWholeFile(m_path, bytes, m_lastError, kMaxSecureFileBytes)) {
        return 0;
    }
    const std::optional<std::string> changed = edit(bytes);
    if (!changed) {
        return 0;
    }
    return talk::ReplaceFileAtomically(m_path, *changed, m_lastError) ? 1 : 0;
}

int CSetupSecure::SetAppSettings(const tagSecureSettings& record) noexcept
{
    return platform::Guarded(0, m_lastError, [&] {
        m_lastError.clear();
        const format::SettingsDigits digits = DigitsOf(record);
        for (const int digit : digits) {
            // A value of two digits would lengthen the entry and overwrite the installation record.
            if (digit < 0 || digit > 9) {
                m_lastError = "every secure setting is a single digit 0 to 9";
                return 0;
            }
        }
        const std::string cipher = talk::store_cipher::Encipher(format::FormatSettings(digits));
        if (cipher.empty()) {
            m_lastError = "cannot encipher the settings";
            return 0;
        }
        return Modify([&](const std::string& bytes) -> std::optional<std::string> {
            return format::WithSettingsEntry(bytes, cipher);
        });
    });
}

std::string CSetupSecure::CreateBackupBypassKey() const noexcept
{
    return platform::Guarded(std::string(), m_lastError, [&] {
        const std::time_t now = std::time(nullptr);
        std::tm moment {};
        localtime_r(&now, &moment);
        return talk::store_cipher::Encipher(talk::BypassKeyPlainText(talk::RandomCapitalLetters(), moment));
    });
}

int CSetupSecure::SetBackupBypassKey(std::string key) noexcept
{
    return platform::Guarded(0, m_lastError, [&] {
        m_lastError.clear();
        const std::string cipher = talk::store_cipher::Encipher(key);
        if (cipher.empty()) {
            m_lastError = "cannot encipher the by-pass key";
            return 0;
        }
        return Modify([&](const std::string& bytes) -> std::optional<std::string> {
            auto changed = format::WithBypassEntry(bytes, cipher);
            if (!changed) {
                m_lastError = "the secure settings file is damaged; the by-pass key has no place";
            }
            return changed;
        });
    });
}

std::string CSetupSecure::GetBackupBypassKey() const noexcept
{
    return platform::Guarded(std::string(), m_lastError, [&] {
        std::string bytes;
        if (!talk::ReadWholeFile(m_path, bytes, m_lastError, kMaxSecureFileBytes)) {
            return std::string();
        }
        const auto cipher = format::EntryText(bytes, kBypassEntry);
        return (cipher && !cipher->empty()) ? talk::store_cipher::Decipher(*cipher) : std::string();
    });
}

std::string CSetupSecure::GetAppPath() const noexcept
{
    return platform::Guarded(std::string(), m_lastError, [&] { return talk::ReadInstallPath(); });
}
