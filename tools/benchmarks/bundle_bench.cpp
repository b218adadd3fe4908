// Packing and unpacking a bundle: a given amount of data as many files and as one file, with one cipher
// thread and with one per core. Prints MiB/s (wall and processor time) beside the cipher library's own
// throughput on one file, the speed-up the cipher threads give, and each run's peak resident memory.
//
// Each run happens in a child process of its own, so that its peak memory is its own (wait4's maximum
// resident set). Figures only; nothing here asserts a speed.
//
// Usage: bundle_bench [--size MIB (default 1024)] [--files N (default 100)] [--folder DIR] [--threads N]

#include "bundle/BundleJob.h"

#include "ArgumentParser.h"
#include "Crypto.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
namespace bundle = deskwarden::bundle;

constexpr std::uint64_t kMiB = 1024 * 1024;

struct Figures
{
    double wall = 0;
    double cpu = 0; // this process and its threads
    long peakKiB = 0;
    bool ok = false;
};

double WallNow()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

double CpuNow()
{
    timespec now {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

/** Runs `work` in a child process. @return its wall and processor time, peak memory and success. */
template<typename Work> Figures InChild(Work&& work)
{
    int channel[2];
    if (::pipe(channel) != 0) {
        return {};
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        const double wall = WallNow();
        const double cpu = CpuNow();
        Figures figures;
        figures.ok = work();
        figures.wall = WallNow() - wall;
        figures.cpu = CpuNow() - cpu;
        [[maybe_unused]] const auto written = ::write(channel[1], &figures, sizeof figures);
        ::_exit(0);
    }
    ::close(channel[1]);
    Figures figures;
    const bool got = ::read(channel[0], &figures, sizeof figures) == static_cast<ssize_t>(sizeof figures);
    ::close(channel[0]);
    int status = 0;
    rusage usage {};
    ::wait4(child, &status, 0, &usage);
    figures.ok = got && figures.ok && WIFEXITED(status);
    figures.peakKiB = usage.ru_maxrss;
    return figures;
}

void WriteData(const fs::path& path, std::uint64_t bytes, std::uint64_t seed)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    std::vector<std::uint64_t> chunk(kMiB / sizeof(std::uint64_t));
    std::uint64_t state = 0x9E3779B97F4A7C15ull ^ seed;
    for (std::uint64_t written = 0; written < bytes; written += kMiB) {
        for (auto& word : chunk) {
            state ^= state << 13;
            state ^= state >> 7;
            state ^= state << 17;
            word = state;
        }
        out.write(
            reinterpret_cast<const char*>(chunk.data()), static_cast<std::streamsize>(std::min(kMiB, bytes - written)));
    }
}

bool Pack(const std::vector<std::string>& marked, const fs::path& out, const fs::path& temp, unsigned threads)
{
    bundle::SilentObserver observer;
    std::atomic<int> continueFlag {1};
    bundle::BundleJob job(
        bundle::EncryptRequest {marked, out.string(), false, {"", {"bench", "bench-key"}, {}}, temp.string()}, observer,
        continueFlag);
    job.SetCipherThreads(threads);
    return job.Run() == bundle::kJobSucceeded;
}

bool Unpack(const fs::path& in, const fs::path& out, const fs::path& temp, unsigned threads)
{
    fs::remove_all(out);
    fs::create_directories(out);
    bundle::SilentObserver observer;
    std::atomic<int> continueFlag {1};
    bundle::BundleJob job(bundle::DecryptRequest {in.string(), out.string(), temp.string()}, observer, continueFlag);
    job.SetCipherThreads(threads);
    return job.Run() == bundle::kJobSucceeded;
}

void Print(const char* what, std::uint64_t mebibytes, const Figures& f, double baseline = 0)
{
    std::printf("%-34s %7.1f MiB/s wall %7.1f MiB/s cpu  peak %6.1f MiB", what, double(mebibytes) / f.wall,
        double(mebibytes) / f.cpu, double(f.peakKiB) / 1024.0);
    if (baseline > 0) {
        std::printf("  speed-up %.2fx", baseline / f.wall);
    }
    std::printf("%s\n", f.ok ? "" : "  FAILED");
}

} // namespace

int main(int argc, char** argv)
{
    int sizeMiB = 1024;
    int fileCount = 100;
    int threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    std::string folderText = fs::temp_directory_path().string();
    std::string error;
    if (!tools::ArgumentParser()
             .Integer("size", 1, 1 << 20, &sizeMiB)
             .Integer("files", 1, 100000, &fileCount)
             .Integer("threads", 1, 256, &threads)
             .Text("folder", &folderText)
             .Parse(tools::CommandLineWords(argc, argv), error)) {
        return tools::ReportUsageError("bundle_bench", error);
    }
    std::string pattern = (fs::path(folderText) / "bundle-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::fprintf(stderr, "bundle_bench: cannot make a folder in %s\n", folderText.c_str());
        return 1;
    }
    const fs::path work(pattern);
    const std::uint64_t total = std::uint64_t(sizeMiB) * kMiB;
    fs::create_directories(work / "many");
    std::vector<std::string> many;
    for (int i = 0; i < fileCount; ++i) {
        const fs::path path = work / "many" / ("f" + std::to_string(i));
        WriteData(path, total / std::uint64_t(fileCount), std::uint64_t(i));
        many.push_back(path.string());
    }
    WriteData(work / "one", total, 99);
    const fs::path temp = work / "tmp";
    std::printf("%d MiB as %d files and as one file; %d cipher threads on %u cores\n", sizeMiB, fileCount, threads,
        std::thread::hardware_concurrency());

    const Figures cipher = InChild([&] {
        int flag = 1;
        const CCrypto crypto;
        return crypto.EncryptFileA(nullptr, 0, (work / "one").string(), (work / "sealed").string(),
                   CCrypto::GetProcessKey(), &flag, 200)
            == 1;
    });
    Print("cipher library, one file, encrypt", sizeMiB, cipher);
    const Figures decipher = InChild([&] {
        int flag = 1;
        const CCrypto crypto;
        return crypto.DecryptFileA(nullptr, 0, (work / "sealed").string(), (work / "opened").string(),
                   CCrypto::GetProcessKey(), &flag, 200)
            == 1;
    });
    Print("cipher library, one file, decrypt", sizeMiB, decipher);
    fs::remove(work / "sealed");
    fs::remove(work / "opened");

    const auto packRun = [&](const std::vector<std::string>& marked, unsigned n) {
        fs::remove(work / "b.wdv");
        return InChild([&] { return Pack(marked, work / "b.wdv", temp, n); });
    };
    const auto unpackRun
        = [&](unsigned n) { return InChild([&] { return Unpack(work / "b.wdv", work / "out", temp, n); }); };

    const Figures packOne = packRun({(work / "one").string()}, 1);
    Print("pack one file", sizeMiB, packOne);
    const Figures unpackOne = unpackRun(1);
    Print("unpack one file", sizeMiB, unpackOne);

    const Figures packMany1 = packRun(many, 1);
    Print("pack many files, 1 thread", sizeMiB, packMany1);
    const Figures packManyN = packRun(many, unsigned(threads));
    Print("pack many files, all threads", sizeMiB, packManyN, packMany1.wall);
    const Figures unpackMany1 = unpackRun(1);
    Print("unpack many files, 1 thread", sizeMiB, unpackMany1);
    const Figures unpackManyN = unpackRun(unsigned(threads));
    Print("unpack many files, all threads", sizeMiB, unpackManyN, unpackMany1.wall);

    fs::remove_all(work);
    return 0;
}
