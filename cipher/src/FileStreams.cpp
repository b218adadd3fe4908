#include "FileStreams.h"

#include "CipherError.h"

#include <cryptopp/misc.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <system_error>

namespace cipherwell {
namespace {

// Large stdio buffers keep the 1024-byte pumps from turning into one system call each.
constexpr std::size_t kStdioBufferSize = 64 * 1024;

std::string Describe(const char* what, const std::filesystem::path& path, int error)
{
    return std::string(what) + " " + path.string() + ": " + std::strerror(error);
}

void EnlargeBuffer(std::FILE* file)
{
    // A failure here only costs speed.
    static_cast<void>(std::setvbuf(file, nullptr, _IOFBF, kStdioBufferSize));
}

} // namespace

void RefuseSameFile(const std::filesystem::path& source, const std::filesystem::path& target)
{
    std::error_code error;
    if (std::filesystem::equivalent(source, target, error)) {
        throw CipherError("source and target are the same file: " + source.string());
    }
}

SourceFile::SourceFile(const std::filesystem::path& path)
    : m_file(std::fopen(path.c_str(), "rb"))
{
    if (m_file == nullptr) {
        throw CipherError(Describe("cannot open", path, errno));
    }
    EnlargeBuffer(m_file);
}

SourceFile::~SourceFile()
{
    std::fclose(m_file);
}

std::size_t SourceFile::Read(std::uint8_t* buffer, std::size_t capacity)
{
    const std::size_t got = std::fread(buffer, 1, capacity, m_file);
    if (got < capacity && std::ferror(m_file) != 0) {
        throw CipherError(std::string("cannot read the source: ") + std::strerror(errno));
    }
    return got;
}

TargetFile::~TargetFile()
{
    WipePending();
    if (m_file != nullptr) {
        std::fclose(m_file);
    }
    if (m_created && !m_kept) {
        std::error_code ignored;
        std::filesystem::remove(m_path, ignored);
    }
}

void TargetFile::Open(const std::filesystem::path& path)
{
    m_file = std::fopen(path.c_str(), "wb");
    if (m_file == nullptr) {
        throw CipherError(Describe("cannot create", path, errno));
    }
    m_path = path;
    m_created = true;
    EnlargeBuffer(m_file);
    if (!m_pending.empty()) {
        std::vector<std::uint8_t> pending;
        pending.swap(m_pending);
        Write(pending.data(), pending.size());
        CryptoPP::SecureWipeBuffer(pending.data(), pending.size());
    }
}

void TargetFile::Write(const std::uint8_t* data, std::size_t length)
{
    // Filters signal the end of a message with an empty put whose pointer may be null.
    if (length == 0) {
        return;
    }
    if (m_file == nullptr) {
        m_pending.insert(m_pending.end(), data, data + length);
        return;
    }
    if (std::fwrite(data, 1, length, m_file) != length) {
        throw CipherError(Describe("cannot write", m_path, errno));
    }
}

void TargetFile::Finish()
{
    Close();
    m_kept = true;
}

void TargetFile::KeepPartial()
{
    m_kept = true;
    if (m_file != nullptr) {
        std::fclose(m_file);
        m_file = nullptr;
    }
}

void TargetFile::Close()
{
    if (m_file == nullptr) {
        return;
    }
    const bool flushed = std::fflush(m_file) == 0;
    const int flushError = errno;
    const bool closed = std::fclose(m_file) == 0;
    m_file = nullptr;
    if (!flushed || !closed) {
        throw CipherError(Describe("cannot write", m_path, flushed ? errno : flushError));
    }
}

void TargetFile::WipePending()
{
    CryptoPP::SecureWipeBuffer(m_pending.data(), m_pending.size());
    m_pending.clear();
}

std::size_t TargetSink::Put2(const CryptoPP::byte* inString, std::size_t length, int, bool)
{
    m_file.Write(inString, length);
    return 0;
}

} // namespace cipherwell
