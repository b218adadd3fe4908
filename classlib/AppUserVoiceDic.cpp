#include "AppUserVoiceDic.h"
#include <platform/BoundaryGuard.h>

#include "AtomicFile.h"
#include "ByteOrder.h"
#include "FileLock.h"
#include "PositionalFile.h"
#include "StoreCipher.h"
#include "VoiceDicLayout.h"
#include "voice/ReadingHistory.h"
#include <platform/AsciiCase.h>

#include <filesystem>

namespace layout = talk::voice_dic_layout;
using talk::PositionalFile;

namespace {

constexpr const char* kDicFileName = "/halvoxuvd.dat";
constexpr const char* kWorkFolderName = "/work/";
constexpr const char* kModelSuffix = ".bin";

bool ReadHeader(PositionalFile& file, std::uint64_t slot, layout::SlotHeader& header)
{
    std::string bytes(layout::kHeaderSize, '\0');
    if (!file.ReadAt(slot * layout::kSlotSize, bytes.data(), bytes.size())) {
        return false;
    }
    header = layout::DecodeHeader(bytes);
    return true;
}

bool WriteLe32At(PositionalFile& file, std::uint64_t offset, std::uint32_t value)
{
    char bytes[4];
    talk::WriteLe32(bytes, value);
    return file.WriteAt(offset, bytes, sizeof bytes);
}

} // namespace

CAppUserVoiceDic::CAppUserVoiceDic() = default;

CAppUserVoiceDic::~CAppUserVoiceDic() = default;

int CAppUserVoiceDic::Fail(std::string reason) const
{
    m_lastError = std::move(reason);
    return 0;
}

std::string CAppUserVoiceDic::ModelPath(const std::string& name) const
{
    return m_workFolder + name + kModelSuffix;
}

int CAppUserVoiceDic::SetVoiceDicPath(std::string folder) noexcept
{
    return platform::Guarded(0, m_lastError, [&] {
        m_dicPath = folder + kDicFileName;
        m_workFolder = folder + kWorkFolderName;
        return talk::CreateStoreOnce(m_dicPath, {}, m_lastError) ? 1 : 0;
    });
}

void CAppUserVoiceDic::SetBackupVoiceDicPath(std::string dicPath, std::string workFolder) noexcept
{
    m_dicPath = std::move(dicPath);
    m_workFolder = std::move(workFolder);
}

int CAppUserVoiceDic::CreateVoiceDic(std::string path) noexcept
{
    return platform::Guarded(0, m_lastError, [&] {
        talk::FileLock lock(path);
        if (!lock.IsHeld()) {
            return Fail(lock.ErrorText());
        }
        return talk::ReplaceFileAtomically(path, {}, m_lastError) ? 1 : 0;
    });
}

int CAppUserVoiceDic::FindSlot(PositionalFile& file, const std::string& id, const std::string& certiKey) const
{
    const std::uint64_t slots = layout::SlotCount(file.Size());
    for (std::uint64_t k = 0; k < slots; ++k) {
        layout::SlotHeader header;
        if (!ReadHeader(file, k, header)) {
            Fail(file.ErrorText());
            return -1;
        }
        // A damaged header or an ID that does not decipher reads as an empty ID, which matches no user.
        if (!header.inUse || !header.intact) {
            continue;
        }
        if (!platform::EqualsIgnoringAsciiCase(talk::store_cipher::Decipher(header.idText), id)) {
            continue;
        }
        if (!platform::EqualsIgnoringAsciiCase(talk::store_cipher::Decipher(header.certiText), certiKey)) {
            return -1;
        }
        return static_cast<int>(k);
    }
    return -1;
}

int CAppUserVoiceDic::FindFreeSlot(PositionalFile& file) const
{
    const std::uint64_t slots = layout::SlotCount(file.Size());
    for (std::uint64_t k = 0; k < slots; ++k) {
        char flag[4];
        if (!file.ReadAt(k * layout::kSlotSize + layout::kFlagOffset, flag, sizeof flag)) {
            Fail(file.ErrorText());
            return -1;
        }
        if (talk::ReadLe32(flag) == 0) {
            return static_cast<int>(k);
        }
    }
    return -1;
}

int CAppUserVoiceDic::AppendSlot(PositionalFile& file)
{
    const std::uint64_t newLength = (layout::SlotCount(file.Size()) + 1) * layout::kSlotSize;
    if (!file.Resize(newLength)) {
        Fail(file.ErrorText());
        return -1;
    }
    return static_cast<int>(newLength / layout::kSlotSize - 1);
}

int CAppUserVoiceDic::FindIDPos(std::string id, std::string certiKey, std::string file) const noexcept
{
    return platform::Guarded(-1, m_lastError, [&] {
        // Readers wait for a writer in progress; a copy on read-only media is read without the lock.
        const talk::FileLock lock(file, talk::FileLock::Kind::Shared);
        PositionalFile dic(file, PositionalFile::Mode::Read);
        if (!dic.IsOpen()) {
            Fail(dic.ErrorText());
            return -1;
        }
        return FindSlot(dic, id, certiKey);
    });
}

int CAppUserVoiceDic::FindBlankSlot(std::string file) const noexcept
{
    return platform::Guarded(-1, m_lastError, [&] {
        // Readers wait for a writer in progress; a copy on read-only media is read without the lock.
        const talk::FileLock lock(file, talk::FileLock::Kind::Shared);
        PositionalFile dic(file, PositionalFile::Mode::Read);
        if (!dic.IsOpen()) {
            Fail(dic.ErrorText());
            return -1;
        }
        return FindFreeSlot(dic);
    });
}

int CAppUserVoiceDic::AddSlot(std::string file) noexcept
{
    return platform::Guarded(-1, m_lastError, [&] {
        const talk::FileLock lock(file);
        if (!lock.IsHeld()) {
            Fail(lock.ErrorText());
            return -1;
        }
        PositionalFile dic(file, PositionalFile::Mode::ReadWrite);
        if (!dic.IsOpen()) {
            Fail(dic.ErrorText());
            return -1;
        }
        return AppendSlot(dic);
    });
}

unsigned long CAppUserVoiceDic::GetNickPos(std::string name, unsigned long slot) const noexcept
{
    return static_cast<unsigned long>(layout::NickPos(name, slot));
}

int CAppUserVoiceDic::AddUser(std::string id, std::string certiKey) noexcept
{
    return platform::Guarded(0, m_lastError, [&] {
        m_lastError.clear();
        std::string header;
        if (!layout::EncodeHeader(talk::store_cipher::Encipher(id), talk::store_cipher::Encipher(certiKey), header)) {
            return Fail("the ID (at most 51 bytes) or the certificate key (at most 83 bytes) is too long");
        }
        const talk::FileLock lock(m_dicPath);
        if (!lock.IsHeld()) {
            return Fail(lock.ErrorText());
        }
        PositionalFile dic(m_dicPath, PositionalFile::Mode::ReadWrite);
        if (!dic.IsOpen()) {
            return Fail(dic.ErrorText());
        }
        int slot = FindFreeSlot(dic);
        if (slot < 0) {
            slot = AppendSlot(dic);
        }
        if (slot < 0) {
            return 0;
        }
        // A freed slot still holds its former user's models; a new user must not inherit them.
        std::string emptySection(4, '\0');
        const std::uint64_t slotStart = static_cast<std::uint64_t>(slot) * layout::kSlotSize;
        for (std::size_t s = 0; s < layout::kSectionCount; ++s) {
            if (!dic.WriteAt(slotStart + layout::SectionOffset(s), emptySection.data(), emptySection.size())) {
                return Fail(dic.ErrorText());
            }
        }
        if (!dic.WriteAt(slotStart, header.data(), header.size())) {
            return Fail(dic.ErrorText());
        }
        return 1;
    });
}

int CAppUserVoiceDic::DelUser(std::string id, std::string certiKey) noexcept
{
    return platform::Guarded(0, m_lastError, [&] {
        m_lastError.clear();
        const talk::FileLock lock(m_dicPath);
        if (!lock.IsHeld()) {
            return Fail(lock.ErrorText());
        }
        PositionalFile dic(m_dicPath, PositionalFile::Mode::ReadWrite);
        if (!dic.IsOpen()) {
            return Fail(dic.ErrorText());
        }
        const int slot = FindSlot(dic, id, certiKey);
        if (slot < 0) {
            return m_lastError.empty() ? Fail("no voice slot for this user") : 0;
        }
        if (!WriteLe32At(dic, static_cast<std::uint64_t>(slot) * layout::kSlotSize + layout::kFlagOffset, 0)) {
            return Fail(dic.ErrorText());
        }
        // The fingerprints of his accepted readings go with his voice; a history that cannot be rewritten
        // keeps them, which only ever refuses recordings of him.
        (void)talk::voice::ReadingHistory(talk::voice::ReadingHistory::PathBeside(m_dicPath)).Forget(id);
        return 1;
    });
}

int CAppUserVoiceDic::OpenUserSection(PositionalFile& file, const std::string& id, const std::string& certiKey,
    const std::string& name, unsigned long& sectionPos)
{
    if (layout::SectionIndex(name) < 0) {
        return Fail("no voice section named \"" + name + "\"; the names are aaj, abj, acj, adj, aej and afj");
    }
    if (!file.IsOpen()) {
        return Fail(file.ErrorText());
    }
    const int slot = FindSlot(file, id, certiKey);
    if (slot < 0) {
        return m_lastError.empty() ? Fail("no voice slot for this user") : 0;
    }
    sectionPos = GetNickPos(name, static_cast<unsigned long>(slot));
    return 1;
}

int CAppUserVoiceDic::SetUserVoice(std::string id, std::string certiKey, std::string name) noexcept
{
    return platform::Guarded(0, m_lastError, [&] {
        m_lastError.clear();
        if (layout::SectionIndex(name) < 0) {
            return Fail("no voice section named \"" + name + "\"; the names are aaj, abj, acj, adj, aej and afj");
        }
        std::string model;
        if (!talk::ReadWholeFile(ModelPath(name), model, m_lastError, layout::kSectionCapacity)) {
            std::error_code ignored;
            const auto size = std::filesystem::file_size(ModelPath(name), ignored);
            if (!ignored && size > layout::kSectionCapacity) {
                m_lastError = "the model " + ModelPath(name) + " is larger than a voice section (20655 bytes)";
            }
            return 0;
        }
        const talk::FileLock lock(m_dicPath);
        if (!lock.IsHeld()) {
            return Fail(lock.ErrorText());
        }
        PositionalFile dic(m_dicPath, PositionalFile::Mode::ReadWrite);
        unsigned long sectionPos = 0;
        if (!OpenUserSection(dic, id, certiKey, name, sectionPos)) {
            return 0;
        }
        // Length last: a crash part-way leaves the section empty rather than a mix of two models.
        const bool written = WriteLe32At(dic, sectionPos, 0) && dic.WriteAt(sectionPos + 4, model.data(), model.size())
            && WriteLe32At(dic, sectionPos, static_cast<std::uint32_t>(model.size()));
        return written ? 1 : Fail(dic.ErrorText());
    });
}

int CAppUserVoiceDic::GetUserVoice(std::string id, std::string certiKey, std::string name) noexcept
{
    return platform::Guarded(0, m_lastError, [&] {
        m_lastError.clear();
        // Readers wait for a writer in progress; a copy on read-only media is read without the lock.
        const talk::FileLock lock(m_dicPath, talk::FileLock::Kind::Shared);
        PositionalFile dic(m_dicPath, PositionalFile::Mode::Read);
        unsigned long sectionPos = 0;
        if (!OpenUserSection(dic, id, certiKey, name, sectionPos)) {
            return 0;
        }
        char lengthBytes[4];
        if (!dic.ReadAt(sectionPos, lengthBytes, sizeof lengthBytes)) {
            return Fail(dic.ErrorText());
        }
        const std::uint32_t length = talk::ReadLe32(lengthBytes);
        std::string model;
        bool intact = length <= layout::kSectionCapacity;
        if (intact) {
            model.resize(length);
            intact = dic.ReadAt(sectionPos + 4, model.data(), model.size());
        }
        if (!intact) {
            model.clear();
        }
        if (!talk::ReplaceFileAtomically(ModelPath(name), model, m_lastError)) {
            return 0;
        }
        return intact ? 1 : Fail("the voice section \"" + name + "\" is damaged; an empty model was written");
    });
}

int CAppUserVoiceDic::DelUserVoice(std::string id, std::string certiKey, std::string name) noexcept
{
    return platform::Guarded(0, m_lastError, [&] {
        m_lastError.clear();
        const talk::FileLock lock(m_dicPath);
        if (!lock.IsHeld()) {
            return Fail(lock.ErrorText());
        }
        PositionalFile dic(m_dicPath, PositionalFile::Mode::ReadWrite);
        unsigned long sectionPos = 0;
        if (!OpenUserSection(dic, id, certiKey, name, sectionPos)) {
            return 0;
        }
        if (!WriteLe32At(dic, sectionPos, 0)) {
            return Fail(dic.ErrorText());
        }
        (void)talk::voice::ReadingHistory(talk::voice::ReadingHistory::PathBeside(m_dicPath))
            .Forget(id, platform::FoldAscii(name));
        return 1;
    });
}
