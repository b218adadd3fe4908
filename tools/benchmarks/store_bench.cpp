// Store figures: a user dictionary of 1000 users (load, lookup, one change) and the voice slot search
// over 1000 slots. Prints timings; asserts nothing about speed.
#include "AppUserDic.h"
#include "AppUserVoiceDic.h"
#include "AtomicFile.h"
#include "StoreCipher.h"
#include "UserDicFormat.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kUsers = 1000;

std::string BenchFolder()
{
    static const std::string folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "warden-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        ::setenv("WARDEN_ROOT", pattern.c_str(), 1);
        return pattern;
    }();
    return folder;
}

std::string UserId(int i)
{
    return "user" + std::to_string(i);
}

const std::string& UserDicPath()
{
    static const std::string path = [] {
        const std::string p = BenchFolder() + "/halvoxuid.dat";
        std::vector<std::string> ciphers;
        for (int i = 0; i < kUsers; ++i) {
            const std::string record = UserId(i) + ";Name " + std::to_string(i) + ";password;1;0123456789AB" + UserId(i)
                + ";110;" + (i % 2 ? "aaj,abj" : "acj") + ";";
            ciphers.push_back(talk::store_cipher::Encipher(record));
        }
        std::string bytes;
        std::string error;
        if (!talk::user_dic_format::Encode(ciphers, bytes) || !talk::ReplaceFileAtomically(p, bytes, error)) {
            std::abort();
        }
        return p;
    }();
    return path;
}

void BM_UserDicLoad(benchmark::State& state)
{
    const std::string& path = UserDicPath();
    for (auto _ : state) {
        CAppUserDic dic;
        benchmark::DoNotOptimize(dic.SetUserDicFilePath(path));
    }
}
BENCHMARK(BM_UserDicLoad)->Unit(benchmark::kMillisecond);

void BM_UserDicLookupLast(benchmark::State& state)
{
    CAppUserDic dic;
    dic.SetUserDicFilePath(UserDicPath());
    const std::string last = "USER" + std::to_string(kUsers - 1);
    for (auto _ : state) {
        benchmark::DoNotOptimize(dic.VerifyPassWord(last, "password"));
    }
}
BENCHMARK(BM_UserDicLookupLast)->Unit(benchmark::kMicrosecond);

void BM_UserDicOneChange(benchmark::State& state)
{
    CAppUserDic dic;
    dic.SetUserDicFilePath(UserDicPath());
    int round = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(dic.SetPassWord(UserId(500), "pw" + std::to_string(round++)));
    }
}
BENCHMARK(BM_UserDicOneChange)->Unit(benchmark::kMillisecond);

const std::string& VoiceFolder()
{
    static const std::string folder = [] {
        const std::string f = BenchFolder() + "/voices";
        std::filesystem::create_directories(f + "/work");
        CAppUserVoiceDic dic;
        dic.SetVoiceDicPath(f);
        for (int i = 0; i < kUsers; ++i) {
            dic.AddUser(UserId(i), "0123456789AB" + UserId(i));
        }
        return f;
    }();
    return folder;
}

void BM_FindIDPosLastOf1000(benchmark::State& state)
{
    CAppUserVoiceDic dic;
    dic.SetVoiceDicPath(VoiceFolder());
    const std::string id = UserId(kUsers - 1);
    const std::string key = "0123456789AB" + id;
    for (auto _ : state) {
        benchmark::DoNotOptimize(dic.FindIDPos(id, key, dic.GetVoiceDicPath()));
    }
}
BENCHMARK(BM_FindIDPosLastOf1000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ignored;
    std::filesystem::remove_all(BenchFolder(), ignored);
    return 0;
}
