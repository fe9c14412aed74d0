// Archives as a download or a user gives them: whatever the archive holds, extraction writes nothing outside
// its folder, and every entry read to memory is either read whole or refused with nothing.
#include "platform/files/path_map.h"
#include "services/zip/unzipper.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/support/temp_folder.h"

#include <filesystem>
#include <set>

namespace {

namespace fs = std::filesystem;

// Every path below `folder`, links not followed.
std::set<std::string> pathsBelow(const std::string& folder) {
    std::set<std::string> paths;
    for (const fs::directory_entry& item : fs::recursive_directory_iterator(folder))
        paths.insert(item.path().string());
    return paths;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const testing_support::TempFolder root;
    const std::string archive = root / "archive.zip";
    const std::string destination = root / "out";
    testing_support::writeFile(archive, fuzz::bytes(data, size));
    fs::create_directories(root / "beside");
    const std::set<std::string> before = pathsBelow(root.path());
    {
        CUnzipper unzipper;
        if (!unzipper.OpenZip(platform::systemPath(archive).c_str(), false)) return 0;
        const int count = unzipper.GetFileCount();
        for (int i = 0; i < count && i < 64; ++i) {
            if (!unzipper.GotoFile(i)) continue;
            char buffer[4096];
            int length = sizeof buffer;
            if (!unzipper.UnzipToStr(buffer, length)) fuzz::check(length == 0, "an entry refused with bytes");
            unzipper.UnzipFile(platform::systemPath(destination).c_str(), false);
        }
    }
    for (const std::string& path : pathsBelow(root.path()))
        if (!before.contains(path))
            fuzz::check((path == destination || path.starts_with(destination + "/")) && !fs::is_symlink(path),
                        "extraction wrote outside its folder: " + path);
    return 0;
}
