// Writes the golden bundles into the folder given: tree.wdv (a folder tree for an owner and a permitted
// user) and lone.wdv (one file behind a file password). Run it only to add a bundle; the committed ones
// must keep opening as they are.
#include "GoldenContent.h"

#include "bundle/BundleJob.h"

#include <cstdlib>
#include <iostream>
#include <unistd.h>

namespace golden = deskwarden::test::golden;
namespace bundle = deskwarden::bundle;
namespace fs = std::filesystem;

namespace {

bool Pack(const std::vector<std::string>& marked, const fs::path& out, const bundle::HeaderValues& header,
    const fs::path& temp)
{
    bundle::SilentObserver observer;
    std::atomic<int> continueFlag {1};
    bundle::BundleJob job(
        bundle::EncryptRequest {marked, out.string(), false, header, temp.string()}, observer, continueFlag);
    if (job.Run() != bundle::kJobSucceeded) {
        std::cerr << "make_golden_bundles: " << out.string() << ": " << job.ErrorText() << "\n";
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: make_golden_bundles FOLDER\n";
        return 2;
    }
    std::string pattern = (fs::temp_directory_path() / "golden-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        return 1;
    }
    const fs::path work(pattern);
    golden::WriteFiles(work, golden::TreeFiles());
    golden::WriteFiles(work, {golden::LoneFile()});
    const fs::path out(argv[1]);
    const bool ok = Pack({(work / "tree").string()}, out / "tree.wdv", golden::TreeHeader(), work / "tmp")
        && Pack({(work / golden::LoneFile().path).string()}, out / "lone.wdv", golden::LoneHeader(), work / "tmp");
    fs::remove_all(work);
    return ok ? 0 : 1;
}
