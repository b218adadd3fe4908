#include "bundle/PackJob.h"

#include "bundle/BundleFormat.h"
#include "bundle/BundleTexts.h"
#include "bundle/BundleWriter.h"
#include "bundle/CipherCall.h"
#include "bundle/HeaderText.h"
#include "bundle/SourceList.h"
#include "bundle/TaskPool.h"
#include "bundle/TempFiles.h"

#include "Crypto.h"

#include <algorithm>
#include <deque>
#include <filesystem>
#include <limits>
#include <unistd.h>

namespace deskwarden::bundle {
namespace {

namespace fs = std::filesystem;

constexpr std::uint64_t kLargest32 = std::numeric_limits<std::uint32_t>::max();
// Room for the salt, key check, check value and padding the container adds to a file.
constexpr std::uint64_t kContainerOverhead = 64;

/** What the enciphering of one file came to, written by its task and read after its future is ready. */
struct Slot
{
    enum class State
    {
        Skipped, // gone before its turn: no record
        Ready, // enciphered into tempPath
        Vanished, // gone while it was being enciphered
        Stopped,
        Failed,
    };
    State state = State::Skipped;
    std::string tempPath;
    std::uint64_t plainBytes = 0;
    std::string error;
};

bool Exists(const std::string& path)
{
    std::error_code error;
    return fs::exists(path, error);
}

class Packer
{
public:
    Packer(const EncryptRequest& request, SerialObserver& observer, StopControl& stop, unsigned threads)
        : m_request(request)
        , m_observer(observer)
        , m_stop(stop)
        , m_threads(std::max(1u, threads))
    {
    }

    ~Packer()
    {
        for (const auto& slot : m_slots) {
            temp_files::Remove(slot.tempPath);
        }
        temp_files::Remove(m_partPath);
    }

    int Run(std::string& error);

private:
    bool CheckSizes(std::string& error) const;
    bool StartBundle(std::string& error);
    bool WriteFolders(std::string& error);
    int WriteFiles(std::string& error);
    int WriteFile(std::size_t index, std::string& error);
    void Encipher(std::size_t index);
    int DeleteSources(std::string& error);

    const EncryptRequest& m_request;
    SerialObserver& m_observer;
    StopControl& m_stop;
    unsigned m_threads;
    SourceList m_sources;
    std::vector<Slot> m_slots;
    std::vector<std::size_t> m_packed;
    BundleWriter m_writer;
    std::string m_partPath;
    format::Counters m_counters;
};

bool Packer::CheckSizes(std::string& error) const
{
    const bool fileTooLarge = std::any_of(m_sources.files.begin(), m_sources.files.end(),
        [](const SourceEntry& file) { return file.size > kLargest32 - kContainerOverhead; });
    if (fileTooLarge || m_sources.totalBytes > kLargest32 - kContainerOverhead * m_sources.files.size()) {
        error = "a bundle holds at most 4 GiB of files";
        return false;
    }
    return true;
}

bool Packer::StartBundle(std::string& error)
{
    std::string plainHeader;
    if (!header_text::Compose(m_request.header, plainHeader, error)) {
        return false;
    }
    const std::string encrypted = CCrypto().EncryptString(plainHeader, CCrypto::GetProcessKey());
    if (encrypted.empty()) {
        error = "cannot encrypt the bundle's header";
        return false;
    }
    if (Exists(m_request.outputPath) && !m_observer.AskOverwrite()) {
        error = "the bundle exists and was kept";
        return false;
    }
    // The bundle is written beside its place and renamed into it when whole, so that a stopped or failed job
    // neither leaves half a bundle nor spoils the one it was to replace.
    const fs::path output(m_request.outputPath);
    const std::string folder = output.has_parent_path() ? output.parent_path().string() : ".";
    m_partPath = temp_files::MakeFile(folder, error, "." + output.filename().string() + ".QX");
    return !m_partPath.empty() && m_writer.Create(m_partPath, error) && m_writer.WritePreamble(encrypted, error);
}

bool Packer::WriteFolders(std::string& error)
{
    for (const auto& folder : m_sources.folders) {
        std::error_code gone;
        if (!fs::is_directory(folder.fullPath, gone)) {
            continue;
        }
        if (!m_writer.WriteFolder(folder.name, format::StatusRecord(folder.fullPath), error)) {
            return false;
        }
        ++m_counters.folderCount;
    }
    return true;
}

void Packer::Encipher(std::size_t index)
{
    Slot& slot = m_slots[index];
    const SourceEntry& file = m_sources.files[index];
    if (m_stop.Aborted()) {
        slot.state = Slot::State::Stopped;
        return;
    }
    if (!Exists(file.fullPath)) {
        return;
    }
    m_observer.Status(fs::path(file.fullPath).filename().string(), kEncryptingFile);
    slot.tempPath = temp_files::MakeFile(m_request.tempFolder, slot.error);
    if (slot.tempPath.empty()) {
        slot.state = Slot::State::Failed;
        return;
    }
    const auto counter = [&](std::uint64_t bytes) {
        slot.plainBytes += bytes;
        m_observer.AddOverall(bytes);
    };
    switch (cipher_call::Encipher(file.fullPath, slot.tempPath, m_stop, counter)) {
    case cipher_call::Outcome::Done:
        slot.state = Slot::State::Ready;
        return;
    case cipher_call::Outcome::Stopped:
        slot.state = Slot::State::Stopped;
        return;
    case cipher_call::Outcome::Failed:
        slot.state = Exists(file.fullPath) ? Slot::State::Failed : Slot::State::Vanished;
        slot.error = "cannot encrypt " + file.fullPath;
        return;
    }
}

int Packer::WriteFile(std::size_t index, std::string& error)
{
    Slot& slot = m_slots[index];
    const SourceEntry& file = m_sources.files[index];
    const std::int64_t stored = temp_files::SizeOf(slot.tempPath);
    if (stored < 0 || static_cast<std::uint64_t>(stored) > kLargest32 || slot.plainBytes > kLargest32) {
        error = "cannot read the encrypted copy of " + file.fullPath;
        return kJobFailed;
    }
    const auto storedSize = static_cast<std::uint32_t>(stored);
    const auto plainSize = static_cast<std::uint32_t>(slot.plainBytes);
    if (!m_writer.WriteFileHead(file.name, format::StatusRecord(file.fullPath), plainSize, storedSize, error)) {
        return kJobFailed;
    }
    m_observer.Status(fs::path(file.fullPath).filename().string(), kPackingFile);
    const auto afterBlock = [&](std::uint64_t copied) {
        m_observer.FileProgress(copied, storedSize);
        return !m_stop.ShouldStop();
    };
    if (!m_writer.AppendFile(slot.tempPath, afterBlock, error)) {
        return error.empty() ? kJobStopped : kJobFailed;
    }
    temp_files::Remove(slot.tempPath);
    slot.tempPath.clear();
    ++m_counters.fileCount;
    m_counters.totalPlainBytes += plainSize;
    m_counters.totalStoredBytes += storedSize;
    m_packed.push_back(index);
    return kJobSucceeded;
}

int Packer::WriteFiles(std::string& error)
{
    const std::size_t count = m_sources.files.size();
    const std::size_t ahead = 2 * std::size_t {m_threads};
    m_slots.assign(count, {});
    TaskPool pool(m_threads);
    std::deque<std::future<void>> running;
    std::size_t submitted = 0;
    const auto submitUpTo = [&](std::size_t limit) {
        for (; submitted < std::min(limit, count); ++submitted) {
            running.push_back(pool.Submit([this, i = submitted] { Encipher(i); }));
        }
    };
    int result = kJobSucceeded;
    for (std::size_t i = 0; i < count && result == kJobSucceeded; ++i) {
        submitUpTo(i + ahead);
        if (m_stop.ShouldStop()) {
            result = kJobStopped;
            break;
        }
        running.front().wait();
        running.pop_front();
        const Slot& slot = m_slots[i];
        switch (slot.state) {
        case Slot::State::Skipped:
            break;
        case Slot::State::Ready:
            result = WriteFile(i, error);
            break;
        case Slot::State::Vanished:
            m_observer.Phase(kSourceVanished);
            result = kJobStopped;
            break;
        case Slot::State::Stopped:
            result = kJobStopped;
            break;
        case Slot::State::Failed:
            error = slot.error;
            result = kJobFailed;
            break;
        }
    }
    if (result != kJobSucceeded) {
        m_stop.Abort();
    }
    for (auto& future : running) {
        future.wait();
    }
    return result;
}

int Packer::DeleteSources(std::string& error)
{
    m_observer.Phase(kDeletingSources);
    for (const std::size_t index : m_packed) {
        if (m_stop.ShouldStop()) {
            error = "deleting the packed files was stopped";
            return kJobFailed;
        }
        ::unlink(m_sources.files[index].fullPath.c_str());
    }
    // Only what was packed goes: a folder that gained a file meanwhile keeps it, and itself.
    for (auto folder = m_sources.folders.rbegin(); folder != m_sources.folders.rend(); ++folder) {
        ::rmdir(folder->fullPath.c_str());
    }
    return kJobSucceeded;
}

int Packer::Run(std::string& error)
{
    if (!temp_files::PrepareFolder(m_request.tempFolder, error)) {
        return kJobFailed;
    }
    if (!ListSources(m_request.markedPaths, m_stop, m_sources)) {
        return kJobStopped;
    }
    if (!CheckSizes(error)) {
        return kJobFailed;
    }
    m_observer.SetOverallTotal(m_sources.totalBytes);
    if (!StartBundle(error) || !WriteFolders(error)) {
        return kJobFailed;
    }
    const int written = WriteFiles(error);
    if (written != kJobSucceeded) {
        return written;
    }
    if (!m_writer.Finish(m_counters, error)) {
        return kJobFailed;
    }
    if (::rename(m_partPath.c_str(), m_request.outputPath.c_str()) != 0) {
        error = "cannot put the bundle in place: " + m_request.outputPath;
        return kJobFailed;
    }
    m_partPath.clear();
    return m_request.deleteSources ? DeleteSources(error) : kJobSucceeded;
}

} // namespace

int RunPack(const EncryptRequest& request, SerialObserver& observer, StopControl& stop, unsigned cipherThreads,
    std::string& error)
{
    Packer packer(request, observer, stop, cipherThreads);
    return packer.Run(error);
}

} // namespace deskwarden::bundle
