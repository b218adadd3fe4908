// Throughput of file encryption and decryption through libCipherWell against the raw DES-EDE2-CBC cipher
// over the same data, and the peak resident memory for a small and a large file.
//
// Usage: cipher_bench [MiB (default 256)] [work folder (default: the system temp folder)]

#include <CipherWell.h>

#include <cryptopp/des.h>
#include <cryptopp/modes.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr std::size_t kMiB = 1024 * 1024;
constexpr const char* kPassPhrase = "benchmark pass phrase";

double SecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Peak resident set of this process in KiB, from the kernel's own accounting.
long PeakResidentKiB()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::strtol(line.c_str() + 6, nullptr, 10);
        }
    }
    return -1;
}

bool WriteRandomFile(const fs::path& path, std::size_t mebibytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    std::vector<std::uint64_t> chunk(kMiB / sizeof(std::uint64_t));
    std::uint64_t state = 0x9E3779B97F4A7C15ull;
    for (std::size_t m = 0; m < mebibytes; ++m) {
        for (auto& word : chunk) {
            state ^= state << 13;
            state ^= state >> 7;
            state ^= state << 17;
            word = state;
        }
        out.write(reinterpret_cast<const char*>(chunk.data()), static_cast<std::streamsize>(kMiB));
    }
    return out.good();
}

struct FileRun
{
    double encryptSeconds = 0;
    double decryptSeconds = 0;
    bool ok = false;
};

FileRun RunThroughLibrary(const fs::path& plain, const fs::path& sealed, const fs::path& opened)
{
    FileRun run;
    int flag = 1;
    auto start = Clock::now();
    const int encrypted = EncryptFileStream(
        nullptr, 0, plain.c_str(), sealed.c_str(), kPassPhrase, &flag, 200);
    run.encryptSeconds = SecondsSince(start);
    start = Clock::now();
    const int decrypted = DecryptFileStream(
        nullptr, 0, sealed.c_str(), opened.c_str(), kPassPhrase, &flag, 200);
    run.decryptSeconds = SecondsSince(start);
    run.ok = encrypted == 1 && decrypted == 1 && fs::file_size(plain) == fs::file_size(opened);
    return run;
}

// Time spent in the raw cipher alone over the file's data, read in 1 MiB pieces (reading not counted).
template<typename Mode>
double RawCipherSeconds(const fs::path& path)
{
    const CryptoPP::byte key[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    const CryptoPP::byte iv[8] = {8, 7, 6, 5, 4, 3, 2, 1};
    Mode mode(key, sizeof(key), iv);
    std::vector<CryptoPP::byte> in(kMiB), out(kMiB);
    std::ifstream file(path, std::ios::binary);
    double seconds = 0;
    while (file.read(reinterpret_cast<char*>(in.data()), static_cast<std::streamsize>(in.size()))) {
        const auto start = Clock::now();
        mode.ProcessData(out.data(), in.data(), in.size());
        seconds += SecondsSince(start);
    }
    return seconds;
}

void PrintRate(const char* what, std::size_t mebibytes, double seconds)
{
    std::printf("%-34s %8.1f MiB/s  (%.2f s)\n", what, double(mebibytes) / seconds, seconds);
}

} // namespace

int main(int argc, char** argv)
{
    const std::size_t mebibytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 256;
    const fs::path folder = (argc > 2 ? fs::path(argv[2]) : fs::temp_directory_path()) / "cipher_bench";
    constexpr std::size_t kSmallMiB = 4;
    if (mebibytes < kSmallMiB) {
        std::fprintf(stderr, "size must be at least %zu MiB\n", kSmallMiB);
        return 2;
    }
    fs::create_directories(folder);
    const fs::path small = folder / "small", large = folder / "large";
    const fs::path sealed = folder / "sealed", opened = folder / "opened";
    if (!WriteRandomFile(small, kSmallMiB) || !WriteRandomFile(large, mebibytes)) {
        std::fprintf(stderr, "cannot write the test files in %s\n", folder.c_str());
        return 1;
    }
    const long baseKiB = PeakResidentKiB();

    const FileRun smallRun = RunThroughLibrary(small, sealed, opened);
    const long smallPeakKiB = PeakResidentKiB();
    const FileRun largeRun = RunThroughLibrary(large, sealed, opened);
    const long largePeakKiB = PeakResidentKiB();

    const double rawEncrypt = RawCipherSeconds<CryptoPP::CBC_Mode<CryptoPP::DES_EDE2>::Encryption>(large);
    const double rawDecrypt = RawCipherSeconds<CryptoPP::CBC_Mode<CryptoPP::DES_EDE2>::Decryption>(large);

    std::printf("file size                          %zu MiB\n", mebibytes);
    PrintRate("raw DES-EDE2-CBC encrypt", mebibytes, rawEncrypt);
    PrintRate("raw DES-EDE2-CBC decrypt", mebibytes, rawDecrypt);
    PrintRate("EncryptFileStream", mebibytes, largeRun.encryptSeconds);
    PrintRate("DecryptFileStream", mebibytes, largeRun.decryptSeconds);
    std::printf("ratio encrypt / raw                %.1f %%\n", 100.0 * rawEncrypt / largeRun.encryptSeconds);
    std::printf("ratio decrypt / raw                %.1f %%\n", 100.0 * rawDecrypt / largeRun.decryptSeconds);
    std::printf("peak resident before runs          %ld KiB\n", baseKiB);
    std::printf("peak resident after %3zu MiB run    %ld KiB\n", kSmallMiB, smallPeakKiB);
    std::printf("peak resident after %3zu MiB run    %ld KiB\n", mebibytes, largePeakKiB);
    std::printf("round trips                        %s\n", smallRun.ok && largeRun.ok ? "ok" : "FAILED");

    fs::remove_all(folder);
    return smallRun.ok && largeRun.ok ? 0 : 1;
}
