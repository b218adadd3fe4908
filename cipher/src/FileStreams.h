#pragma once

#include <cryptopp/simple.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <vector>

namespace cipherwell {

// Raises CipherError when both paths name the same existing file: truncating the target would destroy the
// source before it was read.
void RefuseSameFile(const std::filesystem::path& source, const std::filesystem::path& target);

// A plain file read front to back.
class SourceFile
{
public:
    // Raises CipherError when the file cannot be opened.
    explicit SourceFile(const std::filesystem::path& path);
    ~SourceFile();
    SourceFile(const SourceFile&) = delete;
    SourceFile& operator=(const SourceFile&) = delete;

    // Fills up to capacity bytes; returns fewer only at the end of the file. Raises CipherError when
    // reading fails (a folder, an I/O error).
    [[nodiscard]] std::size_t Read(std::uint8_t* buffer, std::size_t capacity);

private:
    std::FILE* m_file;
};

// The file a job writes. Until Open it keeps what it is given in memory (decryption learns only after the
// first input whether it may create the file at all). Unless Finish or KeepPartial is called, the
// destructor removes the file again, so a failed job leaves nothing half-written behind.
class TargetFile
{
public:
    TargetFile() = default;
    ~TargetFile();
    TargetFile(const TargetFile&) = delete;
    TargetFile& operator=(const TargetFile&) = delete;

    // Creates or truncates the file and writes what was kept so far. Raises CipherError on failure.
    void Open(const std::filesystem::path& path);
    // Raises CipherError when the file cannot take the bytes.
    void Write(const std::uint8_t* data, std::size_t length);
    // Closes the file for good. Raises CipherError when the last bytes cannot be written.
    void Finish();
    // Closes the file and leaves what was written, for the caller to deal with.
    void KeepPartial();

private:
    void Close();
    void WipePending();

    std::FILE* m_file = nullptr;
    std::filesystem::path m_path;
    std::vector<std::uint8_t> m_pending;
    bool m_created = false;
    bool m_kept = false;
};

// The end of a filter chain, handing every output byte to a TargetFile.
class TargetSink : public CryptoPP::Bufferless<CryptoPP::Sink>
{
public:
    explicit TargetSink(TargetFile& file)
        : m_file(file)
    {
    }

    std::size_t Put2(const CryptoPP::byte* inString, std::size_t length, int messageEnd, bool blocking) override;

private:
    TargetFile& m_file;
};

} // namespace cipherwell
