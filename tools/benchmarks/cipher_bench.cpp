// Throughput of file encryption and decryption through libCipherWell against the raw DES-EDE2-CBC cipher
// over the same data, and the peak resident memory for a small and a large file.
//
// The work is single-threaded, so the figures are given in processor time of this process as well as in
// wall time: on a loaded machine wall time measures the scheduler more than the code. Each measurement is
// repeated in interleaved rounds and the best round is kept.
//
// Usage: cipher_bench [--size MIB (default 256)] [--folder DIR (default: the system temp folder)]
//                     [--rounds N (default 3)]

#include <CipherWell.h>

#include "ArgumentParser.h"

#include <cryptopp/des.h>
#include <cryptopp/modes.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kMiB = 1024 * 1024;
constexpr std::size_t kSmallMiB = 4;
constexpr const char* kPassPhrase = "benchmark pass phrase";

struct Duration
{
    double wall = 1e300;
    double cpu = 1e300;

    void KeepBest(const Duration& other)
    {
        wall = std::min(wall, other.wall);
        cpu = std::min(cpu, other.cpu);
    }
};

class Stopwatch
{
public:
    Stopwatch()
        : m_wall(WallNow())
        , m_cpu(CpuNow())
    {
    }
    Duration Elapsed() const { return {WallNow() - m_wall, CpuNow() - m_cpu}; }

private:
    static double WallNow()
    {
        return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
    }
    static double CpuNow()
    {
        timespec now {};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
        return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
    }

    double m_wall;
    double m_cpu;
};

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

struct LibraryRun
{
    Duration encrypt;
    Duration decrypt;
    bool ok = false;
};

LibraryRun RunThroughLibrary(const fs::path& plain, const fs::path& sealed, const fs::path& opened)
{
    LibraryRun run;
    int flag = 1;
    Stopwatch encryptWatch;
    const int encrypted = EncryptFileStream(nullptr, 0, plain.c_str(), sealed.c_str(), kPassPhrase, &flag, 200);
    run.encrypt = encryptWatch.Elapsed();
    Stopwatch decryptWatch;
    const int decrypted = DecryptFileStream(nullptr, 0, sealed.c_str(), opened.c_str(), kPassPhrase, &flag, 200);
    run.decrypt = decryptWatch.Elapsed();
    run.ok = encrypted == 1 && decrypted == 1 && fs::file_size(plain) == fs::file_size(opened);
    return run;
}

// The raw cipher alone over the file's data, read in 1 MiB pieces (the reading is not timed).
template<typename Mode> Duration RawCipher(const fs::path& path)
{
    const CryptoPP::byte key[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    const CryptoPP::byte iv[8] = {8, 7, 6, 5, 4, 3, 2, 1};
    Mode mode(key, sizeof(key), iv);
    std::vector<CryptoPP::byte> in(kMiB), out(kMiB);
    std::ifstream file(path, std::ios::binary);
    Duration total {0, 0};
    while (file.read(reinterpret_cast<char*>(in.data()), static_cast<std::streamsize>(in.size()))) {
        Stopwatch watch;
        mode.ProcessData(out.data(), in.data(), in.size());
        const Duration piece = watch.Elapsed();
        total.wall += piece.wall;
        total.cpu += piece.cpu;
    }
    return total;
}

void PrintRate(const char* what, std::size_t mebibytes, const Duration& duration)
{
    std::printf("%-26s %7.1f MiB/s processor time   %7.1f MiB/s wall time\n", what, double(mebibytes) / duration.cpu,
        double(mebibytes) / duration.wall);
}

void PrintRatio(const char* what, const Duration& raw, const Duration& library)
{
    std::printf("%-26s %7.1f %%  processor time       %7.1f %%  wall time\n", what, 100.0 * raw.cpu / library.cpu,
        100.0 * raw.wall / library.wall);
}

} // namespace

int main(int argc, char** argv)
{
    int sizeMiB = 256;
    std::string workFolder = fs::temp_directory_path().string();
    int rounds = 3;
    std::string error;
    if (!tools::ArgumentParser()
             .Integer("size", static_cast<int>(kSmallMiB), 1 << 20, &sizeMiB)
             .Text("folder", &workFolder)
             .Integer("rounds", 1, 1000, &rounds)
             .Parse(tools::CommandLineWords(argc, argv), error))
        return tools::ReportUsageError("cipher_bench", error);
    const std::size_t mebibytes = static_cast<std::size_t>(sizeMiB);
    const fs::path folder = fs::path(workFolder) / "cipher_bench";
    fs::create_directories(folder);
    const fs::path small = folder / "small", large = folder / "large";
    const fs::path sealed = folder / "sealed", opened = folder / "opened";
    if (!WriteRandomFile(small, kSmallMiB) || !WriteRandomFile(large, mebibytes)) {
        std::fprintf(stderr, "cannot write the test files in %s\n", folder.c_str());
        return 1;
    }

    // Memory first, before the raw cipher's own buffers can raise the peak.
    const long baseKiB = PeakResidentKiB();
    bool ok = RunThroughLibrary(small, sealed, opened).ok;
    const long smallPeakKiB = PeakResidentKiB();
    LibraryRun best = RunThroughLibrary(large, sealed, opened);
    ok = ok && best.ok;
    const long largePeakKiB = PeakResidentKiB();

    using RawEncryption = CryptoPP::CBC_Mode<CryptoPP::DES_EDE2>::Encryption;
    using RawDecryption = CryptoPP::CBC_Mode<CryptoPP::DES_EDE2>::Decryption;
    Duration rawEncrypt, rawDecrypt;
    for (int round = 0; round < rounds; ++round) {
        rawEncrypt.KeepBest(RawCipher<RawEncryption>(large));
        rawDecrypt.KeepBest(RawCipher<RawDecryption>(large));
        if (round + 1 < rounds) {
            const LibraryRun run = RunThroughLibrary(large, sealed, opened);
            best.encrypt.KeepBest(run.encrypt);
            best.decrypt.KeepBest(run.decrypt);
            ok = ok && run.ok;
        }
    }

    std::printf("file size %zu MiB, best of %d rounds\n", mebibytes, rounds);
    PrintRate("raw DES-EDE2-CBC encrypt", mebibytes, rawEncrypt);
    PrintRate("raw DES-EDE2-CBC decrypt", mebibytes, rawDecrypt);
    PrintRate("EncryptFileStream", mebibytes, best.encrypt);
    PrintRate("DecryptFileStream", mebibytes, best.decrypt);
    PrintRatio("encrypt / raw", rawEncrypt, best.encrypt);
    PrintRatio("decrypt / raw", rawDecrypt, best.decrypt);
    std::printf("peak resident before the runs     %ld KiB\n", baseKiB);
    std::printf("peak resident after %3zu MiB        %ld KiB\n", kSmallMiB, smallPeakKiB);
    std::printf("peak resident after %3zu MiB        %ld KiB\n", mebibytes, largePeakKiB);
    std::printf("round trips                       %s\n", ok ? "ok" : "FAILED");

    fs::remove_all(folder);
    return ok ? 0 : 1;
}
