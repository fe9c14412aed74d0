// Writing, listing, extracting and pruning archives through CZipper, CUnzipper and DeleteFileFromZIP.
#include "services/zip/unzipper.h"
#include "services/zip/zipper.h"

#include "tests/services/zip/zip_test_support.h"
#include "tests/support/shell.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <ctime>
#include <filesystem>
#include <string>
#include <type_traits>
#include <vector>

namespace {

using testing_support::readFile;
using testing_support::runShell;
using testing_support::shellQuoted;
using zip_testing::ArchiveFolder;

static_assert(!std::is_copy_constructible_v<CUnzipper> && std::is_move_constructible_v<CUnzipper>);
static_assert(!std::is_copy_assignable_v<CZipper> && std::is_move_assignable_v<CZipper>);

std::vector<std::string> entryNames(const std::string& zip) {
    CUnzipper archive(zip.c_str());
    std::vector<std::string> names;
    UZ_FileInfo info;
    for (bool more = archive.GotoFirstFile(); more; more = archive.GotoNextFile())
        if (archive.GetFileInfo(info)) names.push_back(info.szFileName);
    return names;
}

TEST(ZipArchives, WhatIsZippedExtractsByteForByte) {
    ArchiveFolder w;
    const std::string big = zip_testing::noise(300000);
    w.write("src/a.txt", "alpha\n");
    w.write("src/empty.bin", "");
    w.write("src/sub/deeper/big.bin", big);
    w.write("src/caf\xe9.txt", "accent");
    ASSERT_TRUE(CZipper::ZipFolder(w.system("src").c_str()));
    EXPECT_EQ(entryNames(w.host("src.zip")),
              (std::vector<std::string>{"src\\", "src\\a.txt", "src\\caf\xe9.txt", "src\\empty.bin",
                                        "src\\sub\\", "src\\sub\\deeper\\", "src\\sub\\deeper\\big.bin"}));

    ASSERT_TRUE(CUnzipper::Unzip(w.system("src.zip").c_str(), w.system("out").c_str()));
    EXPECT_EQ(readFile(w.host("out/src/a.txt")), "alpha\n");
    EXPECT_EQ(readFile(w.host("out/src/caf\xe9.txt")), "accent");
    EXPECT_TRUE(std::filesystem::is_regular_file(w.host("out/src/empty.bin")));
    EXPECT_EQ(readFile(w.host("out/src/sub/deeper/big.bin")), big);

    CUnzipper archive(w.system("src.zip").c_str());
    UZ_FileInfo info;
    ASSERT_TRUE(archive.GotoFile("SRC\\SUB\\DEEPER\\BIG.BIN", false));
    ASSERT_TRUE(archive.GetFileInfo(info));
    EXPECT_EQ(info.dwUncompressedSize, big.size());
    EXPECT_EQ(info.dwCompressionMethod, 8u);
    EXPECT_FALSE(info.bFolder);
    ASSERT_TRUE(archive.GetFileInfo(0, info));
    EXPECT_TRUE(info.bFolder);
    char text[16];
    int length = sizeof text;
    ASSERT_TRUE(archive.GotoFile("big.bin", true)) << "found by name and extension";
    ASSERT_TRUE(archive.GotoFile("a.txt", true));
    ASSERT_TRUE(archive.UnzipToStr(text, length));
    EXPECT_EQ(std::string(text, static_cast<size_t>(length)), "alpha\n");
    EXPECT_FALSE(archive.GotoFile("a.txt", false));
}

TEST(ZipArchives, CountersAndStoredNamesOfAddedFiles) {
    ArchiveFolder w;
    w.write("root/one.txt", "12345");
    w.write("root/two.txt", "678");
    w.write("outside.txt", "x");
    CZipper zipper((w.system("root") + "\\a.zip").c_str());
    EXPECT_TRUE(zipper.AddFileToZip("one.txt"));
    EXPECT_TRUE(zipper.AddFileToZip(".\\two.txt"));
    EXPECT_TRUE(zipper.AddFileToZip((w.system("root") + "\\one.txt").c_str(), "docs"));
    EXPECT_FALSE(zipper.AddFileToZip("..\\outside.txt")) << "a path above the root is refused";
    EXPECT_TRUE(zipper.AddFileToZip("..\\outside.txt", true)) << "stored by its name alone";
    EXPECT_FALSE(zipper.AddFileToZip(w.system("outside.txt").c_str())) << "a full path outside the root";
    EXPECT_FALSE(zipper.AddFileToZip("one.txt", "C:\\docs"));
    EXPECT_FALSE(zipper.AddFileToZip("missing.txt"));
    EXPECT_FALSE(zipper.AddFileToZip(std::string(300, 'n').c_str())) << "too long, never cut";
    Z_FileInfo counters;
    zipper.GetFileInfo(counters);
    EXPECT_EQ(counters.nFileCount, 4);
    EXPECT_EQ(counters.dwUncompressedSize, 5u + 3u + 5u + 1u);
    ASSERT_TRUE(zipper.CloseZip());
    EXPECT_EQ(entryNames(w.host("root/a.zip")),
              (std::vector<std::string>{"one.txt", "two.txt", "docs\\one.txt", "outside.txt"}));

    CZipper appended((w.system("root") + "\\a.zip").c_str(), nullptr, true);
    EXPECT_TRUE(appended.AddFileToZip("two.txt", "more\\"));
    appended.CloseZip();
    EXPECT_EQ(entryNames(w.host("root/a.zip")).back(), "more\\two.txt");
}

TEST(ZipArchives, OutputFolderExtensionsAndFolderEntries) {
    ArchiveFolder w;
    w.write("data/in/A.TXT", "a");
    w.write("data/in/b.dat", "b");
    w.write("data/in/c.Txt", "c");
    std::filesystem::create_directories(w.host("data/in/hollow"));
    {
        CZipper zipper((w.system("data") + "\\x.zip").c_str(), (w.system("data") + "\\in").c_str());
        ASSERT_TRUE(zipper.AddFileToZip("b.dat"));
        ASSERT_TRUE(zipper.AddFileToZip("A.TXT"));
        ASSERT_TRUE(zipper.AddFileToZip("c.Txt"));
        ASSERT_TRUE(zipper.AddFolderToZip("hollow"));
    }
    CUnzipper archive(w.system("data/x.zip").c_str());
    UZ_FileInfo info;
    ASSERT_TRUE(archive.GotoFirstFile(".txt"));
    ASSERT_TRUE(archive.GetFileInfo(info));
    EXPECT_STREQ(info.szFileName, "A.TXT");
    ASSERT_TRUE(archive.GotoNextFile(".txt"));
    ASSERT_TRUE(archive.GetFileInfo(info));
    EXPECT_STREQ(info.szFileName, "c.Txt");
    EXPECT_FALSE(archive.GotoNextFile(".txt"));

    ASSERT_TRUE(archive.Unzip()) << "into the archive's path without its extension";
    EXPECT_EQ(readFile(w.host("data/x/b.dat")), "b");
    EXPECT_TRUE(std::filesystem::is_directory(w.host("data/x/hollow")));
    ASSERT_TRUE(archive.UnzipTo(w.system("elsewhere").c_str()));
    EXPECT_TRUE(std::filesystem::is_directory(w.host("elsewhere/hollow")));

    w.write("plain", "not a folder");
    EXPECT_FALSE(archive.SetOutputFolder(w.system("plain").c_str()));
    ASSERT_TRUE(archive.SetOutputFolder(w.system("chosen\\deep").c_str()));
    EXPECT_TRUE(archive.Unzip(true));
    EXPECT_EQ(readFile(w.host("chosen/deep/c.Txt")), "c");
}

TEST(ZipArchives, MarkingDeletedNeedsAnUpdateOpen) {
    ArchiveFolder w;
    w.write("keep.txt", "k");
    w.write("gone.txt", "g");
    {
        CZipper zipper(w.system("m.zip").c_str());
        zipper.AddFileToZip("keep.txt");
        zipper.AddFileToZip("gone.txt");
    }
    const std::string before = readFile(w.host("m.zip"));
    {
        CUnzipper readOnly;
        ASSERT_TRUE(readOnly.OpenZip(w.system("m.zip").c_str(), false));
        EXPECT_EQ(readOnly.RemoveFile("gone.txt", false), 0);
    }
    EXPECT_EQ(readFile(w.host("m.zip")), before) << "nothing written";
    {
        CUnzipper update;
        ASSERT_TRUE(update.OpenZip(w.system("m.zip").c_str(), true));
        EXPECT_EQ(update.RemoveFile("GONE.TXT", false), 1);
        EXPECT_EQ(update.RemoveFile("gone.txt", false), 0) << "already marked";
    }
    EXPECT_EQ(entryNames(w.host("m.zip")), (std::vector<std::string>{"keep.txt", "~one.txt"}));
}

TEST(ZipArchives, DeletingAnEntryKeepsTheOthersAsTheyWere) {
    ArchiveFolder w;
    w.write("a.txt", std::string(5000, 'a'));
    w.write("b.bin", zip_testing::noise(7000));
    w.write("c.txt", "c");
    {
        CZipper zipper(w.system("d.zip").c_str());
        zipper.AddFileToZip("a.txt");
        zipper.AddFileToZip("b.bin");
        zipper.AddFileToZip("c.txt");
    }
    auto infoOf = [&](const char* name) {
        CUnzipper archive(w.system("d.zip").c_str());
        UZ_FileInfo info{};
        EXPECT_TRUE(archive.GotoFile(name, false) && archive.GetFileInfo(info)) << name;
        return info;
    };
    const UZ_FileInfo a = infoOf("a.txt");
    const UZ_FileInfo c = infoOf("c.txt");
    const std::string before = readFile(w.host("d.zip"));
    EXPECT_EQ(DeleteFileFromZIP(w.system("d.zip").c_str(), "missing.txt"), -1);
    EXPECT_EQ(readFile(w.host("d.zip")), before);
    EXPECT_FALSE(std::filesystem::exists(w.host("d.zip.tmp")));

    EXPECT_EQ(DeleteFileFromZIP(w.system("d.zip").c_str(), "B.BIN"), 0);
    EXPECT_EQ(entryNames(w.host("d.zip")), (std::vector<std::string>{"a.txt", "c.txt"}));
    for (const auto& [name, old] : {std::pair{"a.txt", a}, std::pair{"c.txt", c}}) {
        const UZ_FileInfo now = infoOf(name);
        EXPECT_EQ(now.dwCRC, old.dwCRC);
        EXPECT_EQ(now.dwCompressedSize, old.dwCompressedSize);
        EXPECT_EQ(now.dwDosDate, old.dwDosDate);
        EXPECT_EQ(now.dwExternalAttrib, old.dwExternalAttrib);
    }
    ASSERT_TRUE(CUnzipper::Unzip(w.system("d.zip").c_str(), w.system("out").c_str()));
    EXPECT_EQ(readFile(w.host("out/a.txt")), std::string(5000, 'a'));

    EXPECT_EQ(DeleteFileFromZIP(w.system("d.zip").c_str(), "a.txt"), 0);
    EXPECT_EQ(DeleteFileFromZIP(w.system("d.zip").c_str(), "c.txt"), 0);
    EXPECT_FALSE(std::filesystem::exists(w.host("d.zip"))) << "an archive left empty is removed";
    EXPECT_EQ(DeleteFileFromZIP(w.system("d.zip").c_str(), "c.txt"), -1);
}

TEST(ZipArchives, Zip64EntriesReportTheirRealSizes) {
    ArchiveFolder w;
    w.write("a.txt", std::string(20000, 'z'));
    // Info-ZIP's forced zip64 marks the uncompressed size and keeps it in the zip64 extra field.
    ASSERT_EQ(
        runShell("cd " + shellQuoted(w.host()) + " && zip -q -fz z64.zip a.txt && zip -q plain.zip a.txt")
            .exitCode,
        0);
    UZ_FileInfo plain, info;
    ASSERT_TRUE(CUnzipper(w.system("plain.zip").c_str()).GetFileInfo(0, plain));
    ASSERT_TRUE(CUnzipper(w.system("z64.zip").c_str()).GetFileInfo(0, info));
    EXPECT_EQ(info.dwUncompressedSize, 20000u);
    EXPECT_EQ(info.dwCompressedSize, plain.dwCompressedSize);

    // The central directory's zip64 size made 4 GiB larger: too large for the field, it shows as the mark.
    std::string bytes = readFile(w.host("z64.zip"));
    const std::size_t at =
        bytes.find(std::string("\x01\x00\x08\x00\x20\x4e\x00\x00", 8), bytes.find("PK\x01\x02"));
    ASSERT_NE(at, std::string::npos);
    bytes[at + 8] = 1;
    testing_support::writeFile(w.host("z64.zip"), bytes);
    ASSERT_TRUE(CUnzipper(w.system("z64.zip").c_str()).GetFileInfo(0, info));
    EXPECT_EQ(info.dwUncompressedSize, 0xFFFFFFFFu);
    EXPECT_EQ(info.dwCompressedSize, plain.dwCompressedSize);

    // Pruning copies the entries it keeps with their real sizes and their other extra blocks whole, so
    // Info-ZIP still reads the archive.
    w.write("b.txt", "b");
    ASSERT_EQ(runShell("cd " + shellQuoted(w.host()) + " && zip -q -fz pruned.zip a.txt b.txt").exitCode, 0);
    ASSERT_EQ(DeleteFileFromZIP(w.system("pruned.zip").c_str(), "b.txt"), 0);
    ASSERT_TRUE(CUnzipper(w.system("pruned.zip").c_str()).GetFileInfo(0, info));
    EXPECT_EQ(info.dwUncompressedSize, 20000u);
    EXPECT_EQ(runShell("unzip -tq " + shellQuoted(w.host("pruned.zip"))).exitCode, 0);
}

TEST(ZipArchives, FileTimesAreSetFromTheDosDate) {
    ArchiveFolder w;
    const std::string file = w.write("t.txt", "t");
    // 2021-06-15 13:45:30 local time.
    const unsigned long dos = ((41ul << 9 | 6ul << 5 | 15ul) << 16) | (13ul << 11 | 45ul << 5 | 15ul);
    ASSERT_TRUE(CUnzipper::SetFileModTime(w.system("t.txt").c_str(), dos));
    struct stat st;
    ASSERT_EQ(stat(file.c_str(), &st), 0);
    std::tm local{};
    localtime_r(&st.st_mtime, &local);
    EXPECT_EQ(local.tm_year, 121);
    EXPECT_EQ(local.tm_mon, 5);
    EXPECT_EQ(local.tm_mday, 15);
    EXPECT_EQ(local.tm_hour, 13);
    EXPECT_EQ(local.tm_min, 45);
    EXPECT_EQ(local.tm_sec, 30);
    EXPECT_FALSE(CUnzipper::SetFileModTime(w.system("absent.txt").c_str(), dos));
    EXPECT_FALSE(CUnzipper::CreateFolder(w.system("t.txt").c_str())) << "a file stands there";
    EXPECT_FALSE(CUnzipper::CreateFolder(""));
    EXPECT_TRUE(CUnzipper::CreateFilePath((w.system("p\\q\\r.txt")).c_str()));
    EXPECT_TRUE(std::filesystem::is_directory(w.host("p/q")));
}

TEST(ZipArchives, MovedObjectsOwnTheHandle) {
    ArchiveFolder w;
    w.write("a.txt", "a");
    CZipper first(w.system("m.zip").c_str());
    CZipper second = std::move(first);
    EXPECT_FALSE(first.AddFileToZip("a.txt"));
    EXPECT_TRUE(second.AddFileToZip("a.txt"));
    EXPECT_TRUE(second.CloseZip());
    CUnzipper reader(w.system("m.zip").c_str());
    CUnzipper taken;
    taken = std::move(reader);
    EXPECT_EQ(reader.GetFileCount(), 0);
    EXPECT_EQ(taken.GetFileCount(), 1);
}

} // namespace
