// Archives checked against Info-ZIP: what CZipper writes, zip and unzip read; what zip writes, CUnzipper
// extracts; what DeleteFileFromZIP and RemoveFile leave, unzip tests and lists.
#include "services/zip/unzipper.h"
#include "services/zip/zipper.h"

#include "tests/services/zip/zip_test_support.h"
#include "tests/support/shell.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <string>

namespace {

using testing_support::readFile;
using testing_support::runShell;
using testing_support::shellQuoted;
using zip_testing::ArchiveFolder;

// Info-ZIP reads and writes names as UTF-8 only under a UTF-8 locale.
testing_support::ShellResult infoZip(const std::string& command) {
    return runShell("LC_ALL=C.UTF-8 " + command + " 2>&1");
}

// Every regular file below `folder` with its bytes, by path relative to it.
std::map<std::string, std::string> filesBelow(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& item : std::filesystem::recursive_directory_iterator(folder))
        if (item.is_regular_file())
            files[std::filesystem::relative(item.path(), folder).string()] = readFile(item.path().string());
    return files;
}

long modifiedSeconds(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 ? static_cast<long>(st.st_mtime) : -1;
}

// The CRC and compressed size column of `unzip -v` for each entry name.
// The names of a file map, to show what differs.
std::string namesOf(const std::map<std::string, std::string>& files) {
    std::string names;
    for (const auto& [name, bytes] : files)
        names += name + " (" + std::to_string(bytes.size()) + ") ";
    return names;
}

std::map<std::string, std::string> crcAndSizes(const std::string& zip) {
    std::map<std::string, std::string> rows;
    const std::string listing = infoZip("unzip -v " + shellQuoted(zip)).output;
    std::size_t at = 0;
    while (at < listing.size()) {
        const std::size_t end = listing.find('\n', at);
        const std::string line = listing.substr(at, end - at);
        at = end == std::string::npos ? listing.size() : end + 1;
        char method[16], crc[16], name[300];
        long length, size;
        int percent;
        char date[16], time[16];
        if (std::sscanf(line.c_str(), "%ld %15s %ld %d%% %15s %15s %15s %299s", &length, method, &size,
                        &percent, date, time, crc, name) == 8)
            rows[name] = std::string(crc) + " " + std::to_string(size);
    }
    return rows;
}

TEST(ZipInfoZip, WhatCZipperWritesUnzipTestsAndExtracts) {
    ArchiveFolder w;
    w.write("src/top.txt", "top\n");
    w.write("src/empty.dat", "");
    w.write("src/n1/n2/big.bin", zip_testing::noise(5 * 1024 * 1024));
    w.write("src/n1/\xe9t\xe9.txt", "accent");
    // Seconds kept even: DOS times have two-second steps.
    std::filesystem::last_write_time(w.host("src/top.txt"),
                                     std::filesystem::last_write_time(w.host("src/top.txt")) -
                                         std::chrono::hours(50));
    ASSERT_TRUE(CZipper::ZipFolder(w.system("src").c_str()));

    const auto tested = infoZip("unzip -t " + shellQuoted(w.host("src.zip")));
    EXPECT_EQ(tested.exitCode, 0) << tested.output;
    const auto extracted =
        infoZip("unzip -q " + shellQuoted(w.host("src.zip")) + " -d " + shellQuoted(w.host("out")));
    ASSERT_EQ(extracted.exitCode, 0) << extracted.output;

    auto expected = filesBelow(w.host("src"));
    const std::string accented = "n1/\xe9t\xe9.txt";
    expected["n1/\xc3\xa9t\xc3\xa9.txt"] = expected[accented];
    expected.erase(accented);
    const auto unzipped = filesBelow(w.host("out/src"));
    EXPECT_TRUE(unzipped == expected) << "names in UTF-8, bytes unchanged: " << namesOf(unzipped);
    for (const char* name : {"top.txt", "n1/n2/big.bin"})
        EXPECT_LE(
            std::abs(modifiedSeconds(w.host("out/src/") + name) - modifiedSeconds(w.host("src/") + name)), 1)
            << name;
}

TEST(ZipInfoZip, WhatZipWritesCUnzipperExtracts) {
    ArchiveFolder w;
    w.write("tree/a.txt", std::string(20000, 'z'));
    w.write("tree/sub/b.bin", zip_testing::noise(100000));
    w.write("tree/sub/empty", "");
    const auto source = filesBelow(w.host("tree"));
    const std::map<std::string, std::string> options = {
        {"stored", "-0"}, {"deflated", "-9"}, {"zip64", "-fz"}};
    for (const auto& [kind, option] : options) {
        const auto made =
            infoZip("cd " + shellQuoted(w.host()) + " && zip -q -r " + option + " " + kind + ".zip tree");
        ASSERT_EQ(made.exitCode, 0) << made.output;
        ASSERT_TRUE(CUnzipper::Unzip(w.system(kind + ".zip").c_str(), w.system(kind).c_str())) << kind;
        const auto extracted = filesBelow(w.host(kind + "/tree"));
        EXPECT_TRUE(extracted == source) << kind << ": " << namesOf(extracted);
    }
}

TEST(ZipInfoZip, PrunedAndMarkedArchivesStayReadable) {
    ArchiveFolder w;
    w.write("p/a.txt", std::string(30000, 'a'));
    w.write("p/b.bin", zip_testing::noise(40000));
    w.write("p/c.txt", "c");
    ASSERT_EQ(infoZip("cd " + shellQuoted(w.host("p")) + " && zip -q ../p.zip a.txt b.bin c.txt").exitCode,
              0);
    const auto before = crcAndSizes(w.host("p.zip"));
    ASSERT_EQ(before.size(), 3u);

    ASSERT_EQ(DeleteFileFromZIP(w.system("p.zip").c_str(), "b.bin"), 0);
    const auto tested = infoZip("unzip -t " + shellQuoted(w.host("p.zip")));
    EXPECT_EQ(tested.exitCode, 0) << tested.output;
    auto expected = before;
    expected.erase("b.bin");
    EXPECT_EQ(crcAndSizes(w.host("p.zip")), expected);

    CUnzipper update;
    ASSERT_TRUE(update.OpenZip(w.system("p.zip").c_str(), true));
    EXPECT_EQ(update.RemoveFile("c.txt", false), 1);
    update.CloseZip();
    const auto listed = infoZip("unzip -Z1 " + shellQuoted(w.host("p.zip")));
    EXPECT_NE(listed.output.find("~.txt"), std::string::npos) << listed.output;
    EXPECT_NE(listed.output.find("a.txt"), std::string::npos) << listed.output;
}

} // namespace
