#include "bundle/UnpackJob.h"

#include "bundle/BundleReader.h"
#include "bundle/BundleTexts.h"
#include "bundle/CipherCall.h"
#include "bundle/EntryName.h"
#include "bundle/SafeOutput.h"
#include "bundle/TaskPool.h"
#include "bundle/TempFiles.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <memory>
#include <set>
#include <unistd.h>

namespace deskwarden::bundle {
namespace {

/** One file on its way out: its stored bytes in a temporary file, then deciphered beside its target. */
struct Pending
{
    int folderFd = -1; // the target's folder, owned
    std::string leaf;
    std::string name;
    std::string tempPath;
    std::uint64_t plainSize = 0;
    std::uint64_t counted = 0; // of plainSize, shown on the overall bar
    cipher_call::Outcome outcome = cipher_call::Outcome::Stopped;
    std::string error;

    ~Pending()
    {
        if (folderFd >= 0) {
            ::close(folderFd);
        }
        temp_files::Remove(tempPath);
    }
};

class Unpacker
{
public:
    Unpacker(const DecryptRequest& request, SerialObserver& observer, StopControl& stop, unsigned threads)
        : m_request(request)
        , m_observer(observer)
        , m_stop(stop)
        , m_threads(std::max(1u, threads))
    {
    }

    int Run(std::string& error);

private:
    int Unpack(TaskPool& pool, std::string& error);
    bool MakeFolder(const RecordInfo& record, std::string& error);
    int StartFile(const RecordInfo& record, TaskPool& pool, std::string& error);
    bool CopyToTemp(const RecordInfo& record, Pending& file, std::string& error);
    void Decipher(Pending& file);
    int Collect(std::size_t keep, std::string& error);

    const DecryptRequest& m_request;
    SerialObserver& m_observer;
    StopControl& m_stop;
    unsigned m_threads;
    BundleReader m_reader;
    SafeOutput m_output;
    std::set<std::string> m_claimed; // names this job writes, so that a repeated name counts as existing
    std::deque<std::pair<std::future<void>, std::shared_ptr<Pending>>> m_running;
};

bool SplitName(const RecordInfo& record, std::vector<std::string>& components, std::string& error)
{
    if (!entry_name::Split(record.name, components)) {
        error = "the bundle names an entry outside its folder: " + record.name;
        return false;
    }
    return true;
}

bool Unpacker::MakeFolder(const RecordInfo& record, std::string& error)
{
    std::vector<std::string> components;
    if (!SplitName(record, components, error)) {
        return false;
    }
    const int fd = m_output.MakeFolders(components, error);
    if (fd < 0) {
        return false;
    }
    ::close(fd);
    return true;
}

bool Unpacker::CopyToTemp(const RecordInfo& record, Pending& file, std::string& error)
{
    file.tempPath = temp_files::MakeFile(m_request.tempFolder, error);
    if (file.tempPath.empty()) {
        return false;
    }
    const int out = ::open(file.tempPath.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (out < 0) {
        error = "cannot write " + file.tempPath + ": " + std::strerror(errno);
        return false;
    }
    std::uint64_t copied = 0;
    bool writeFailed = false;
    const auto sink = [&](const char* data, std::size_t size) {
        if (::write(out, data, size) != static_cast<ssize_t>(size)) {
            writeFailed = true;
            return false;
        }
        copied += size;
        m_observer.FileProgress(copied, record.storedSize);
        return !m_stop.ShouldStop();
    };
    const bool copiedAll = m_reader.CopyStored(sink, error);
    ::close(out);
    if (!copiedAll && !writeFailed && m_stop.Stopped()) {
        error.clear();
    } else if (writeFailed) {
        error = "cannot write " + file.tempPath;
    }
    return copiedAll;
}

void Unpacker::Decipher(Pending& file)
{
    m_observer.Status(file.leaf, kDecryptingFile);
    std::string hiddenName;
    std::string hiddenPath;
    if (!SafeOutput::MakeHiddenFile(file.folderFd, hiddenName, hiddenPath, file.error)) {
        file.outcome = cipher_call::Outcome::Failed;
        return;
    }
    // The library counts container bytes and leaves out its first block; the bar counts plain bytes, so that
    // it ends where the header's total says.
    const auto counter = [&](std::uint64_t bytes) {
        const std::uint64_t shown = std::min(bytes, file.plainSize - file.counted);
        file.counted += shown;
        m_observer.AddOverall(shown);
    };
    file.outcome = cipher_call::Decipher(file.tempPath, hiddenPath, m_stop, counter);
    if (file.outcome == cipher_call::Outcome::Done) {
        m_observer.AddOverall(file.plainSize - file.counted);
    }
    if (file.outcome == cipher_call::Outcome::Done
        && !SafeOutput::Replace(file.folderFd, hiddenName, file.leaf, file.error)) {
        file.outcome = cipher_call::Outcome::Failed;
    }
    if (file.outcome != cipher_call::Outcome::Done) {
        SafeOutput::Remove(file.folderFd, hiddenName);
        if (file.error.empty()) {
            file.error = "cannot decrypt " + file.name + " (damaged or not made for this installation)";
        }
    }
}

int Unpacker::Collect(std::size_t keep, std::string& error)
{
    int result = kJobSucceeded;
    while (m_running.size() > keep) {
        m_running.front().first.wait();
        const Pending& file = *m_running.front().second;
        if (result == kJobSucceeded && file.outcome == cipher_call::Outcome::Failed) {
            error = file.error;
            result = kJobFailed;
        } else if (result == kJobSucceeded && file.outcome == cipher_call::Outcome::Stopped) {
            result = kJobStopped;
        }
        m_running.pop_front();
    }
    return result;
}

int Unpacker::StartFile(const RecordInfo& record, TaskPool& pool, std::string& error)
{
    std::vector<std::string> components;
    if (!SplitName(record, components, error)) {
        return kJobFailed;
    }
    auto file = std::make_shared<Pending>();
    file->name = record.name;
    file->plainSize = record.plainSize;
    file->leaf = components.back();
    components.pop_back();
    file->folderFd = m_output.MakeFolders(components, error);
    if (file->folderFd < 0) {
        return kJobFailed;
    }
    const bool exists = SafeOutput::Exists(file->folderFd, file->leaf) || m_claimed.contains(record.name);
    if (exists && !m_observer.AskOverwrite()) {
        return kJobSucceeded;
    }
    m_observer.Status(file->leaf, kUnpackingFile);
    if (!CopyToTemp(record, *file, error)) {
        return error.empty() ? kJobStopped : kJobFailed;
    }
    m_claimed.insert(record.name);
    m_running.emplace_back(pool.Submit([this, file] { Decipher(*file); }), file);
    return Collect(2 * std::size_t {m_threads}, error);
}

int Unpacker::Unpack(TaskPool& pool, std::string& error)
{
    RecordInfo record;
    while (m_reader.Next(record, error)) {
        if (record.isFolder) {
            if (!MakeFolder(record, error)) {
                return kJobFailed;
            }
            continue;
        }
        if (m_stop.ShouldStop()) {
            return kJobStopped;
        }
        const int started = StartFile(record, pool, error);
        if (started != kJobSucceeded) {
            return started;
        }
    }
    return error.empty() ? kJobSucceeded : kJobFailed;
}

int Unpacker::Run(std::string& error)
{
    if (!temp_files::PrepareFolder(m_request.tempFolder, error) || !m_reader.Open(m_request.bundlePath, error)
        || !m_output.Open(m_request.outputFolder, error)) {
        return kJobFailed;
    }
    m_observer.SetOverallTotal(m_reader.Header().totalPlainBytes);
    TaskPool pool(m_threads);
    int result = Unpack(pool, error);
    if (result != kJobSucceeded) {
        m_stop.Abort();
    }
    std::string laterError;
    const int collected = Collect(0, laterError);
    if (result == kJobSucceeded && collected != kJobSucceeded) {
        result = collected;
        error = laterError;
    }
    return result;
}

} // namespace

int RunUnpack(const DecryptRequest& request, SerialObserver& observer, StopControl& stop, unsigned cipherThreads,
    std::string& error)
{
    Unpacker unpacker(request, observer, stop, cipherThreads);
    return unpacker.Run(error);
}

} // namespace deskwarden::bundle
