// Archives that try to write outside the destination, that lie about their content, or that are broken.
#include "services/zip/unzipper.h"
#include "services/zip/zipper.h"

#include "tests/services/zip/zip_test_support.h"
#include "tests/support/shell.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <random>
#include <string>

namespace {

using testing_support::readFile;
using testing_support::runShell;
using testing_support::shellQuoted;
using zip_testing::ArchiveFolder;

// Files directly in `folder`, recursively, other than the archives and what is below `except`.
std::size_t filesOutside(const std::string& folder, const std::string& except) {
    std::size_t count = 0;
    for (const auto& item : std::filesystem::recursive_directory_iterator(folder)) {
        const std::string path = item.path().string();
        if (item.is_regular_file() && !path.starts_with(except) && !path.ends_with(".zip")) ++count;
    }
    return count;
}

// Exit code of the system's Python running `script` with `arguments`: it writes the archives this library
// would not make.
int runPython(const std::string& script, std::initializer_list<std::string> arguments) {
    std::string command = "/usr/bin/python3 -c " + shellQuoted(script);
    for (const std::string& argument : arguments)
        command += " " + shellQuoted(argument);
    return runShell(command).exitCode;
}

TEST(BadArchives, EntriesLeavingTheDestinationAreRefused) {
    ArchiveFolder w;
    const std::string script = "import zipfile,sys\n"
                               "z=zipfile.ZipFile(sys.argv[1],'w')\n"
                               "for n in sys.argv[2:]: z.writestr(zipfile.ZipInfo(n),'escaped')\n";
    const char* names[] = {"../x.txt",    "..\\\\x.txt",    "/abs.txt",
                           "C:\\\\c.txt", "a/../../up.txt", "ok/../fine.txt"};
    for (const char* name : names) {
        const std::string zip = w.host("slip.zip");
        ASSERT_EQ(runPython(script, {zip, name}), 0);
        for (const bool ignorePath : {false, true}) {
            CUnzipper archive(w.system("slip.zip").c_str());
            ASSERT_EQ(archive.GetFileCount(), 1) << name;
            EXPECT_FALSE(archive.UnzipFile(0, w.system("dest\\inner").c_str(), ignorePath)) << name;
        }
        EXPECT_EQ(filesOutside(w.host(), w.host("dest/inner/")), 0u) << name;
        EXPECT_FALSE(std::filesystem::exists(w.host("dest/inner/fine.txt"))) << "any \"..\" is refused";
    }
}

TEST(BadArchives, ACrcMismatchFailsTheEntry) {
    ArchiveFolder w;
    const std::string content = "the stored bytes of this entry";
    const std::string script = "import zipfile,sys\n"
                               "z=zipfile.ZipFile(sys.argv[1],'w',zipfile.ZIP_STORED)\n"
                               "z.writestr('s.txt',sys.argv[2])\n";
    ASSERT_EQ(runPython(script, {w.host("c.zip"), content}), 0);
    std::string bytes = readFile(w.host("c.zip"));
    const std::size_t at = bytes.find(content);
    ASSERT_NE(at, std::string::npos);
    bytes[at + 4] ^= 0x20;
    testing_support::writeFile(w.host("c.zip"), bytes);

    CUnzipper archive(w.system("c.zip").c_str());
    EXPECT_FALSE(archive.UnzipFile(0, w.system("out").c_str(), false));
    char buffer[100];
    int length = sizeof buffer;
    EXPECT_FALSE(archive.UnzipToStr(buffer, length));
    EXPECT_EQ(length, 0);
}

TEST(BadArchives, DataThatEndsEarlyOrIsDamagedFailsAndLeavesNoFile) {
    ArchiveFolder w;
    // The entry's deflated data replaced by that of its first 2,176 bytes, padded to the same size: the
    // data ends cleanly before the declared size; then two bytes flipped inside the data.
    const std::string script =
        "import zipfile,zlib,sys\n"
        "text=b''.join(b'line %d of the entry\\n' % i for i in range(300))[:5000]\n"
        "z=zipfile.ZipFile(sys.argv[1],'w',zipfile.ZIP_DEFLATED); z.writestr('e.txt',text); z.close()\n"
        "b=bytearray(open(sys.argv[1],'rb').read())\n"
        "size=int.from_bytes(b[18:22],'little'); at=30+int.from_bytes(b[26:28],'little')+"
        "int.from_bytes(b[28:30],'little')\n"
        "c=zlib.compressobj(9,zlib.DEFLATED,-15); short=c.compress(text[:2176])+c.flush()\n"
        "cut=bytearray(b); cut[at:at+size]=short+bytes(size-len(short)); open(sys.argv[2],'wb').write(cut)\n"
        "b[at+size//2]^=0x55; b[at+size//2+1]^=0xAA; open(sys.argv[3],'wb').write(b)\n";
    ASSERT_EQ(runPython(script, {w.host("good.zip"), w.host("cut.zip"), w.host("flipped.zip")}), 0);
    ASSERT_TRUE(CUnzipper::Unzip(w.system("good.zip").c_str(), w.system("good").c_str()));
    EXPECT_EQ(readFile(w.host("good/e.txt")).size(), 5000u);
    for (const char* zip : {"cut.zip", "flipped.zip"}) {
        EXPECT_FALSE(CUnzipper::Unzip(w.system(zip).c_str(), w.system("out").c_str())) << zip;
        EXPECT_FALSE(std::filesystem::exists(w.host("out/e.txt"))) << zip << ": the partial file is removed";
        CUnzipper archive(w.system(zip).c_str());
        std::string buffer(6000, '\0');
        int length = static_cast<int>(buffer.size());
        EXPECT_FALSE(archive.UnzipToStr(buffer.data(), length)) << zip;
        EXPECT_EQ(length, 0) << zip;
    }
    CUnzipper archive(w.system("cut.zip").c_str());
    char start[100];
    int length = sizeof start;
    EXPECT_TRUE(archive.UnzipToStr(start, length)) << "a buffer shorter than the entry takes its start";
    EXPECT_EQ(length, 100);
}

TEST(BadArchives, LinksInsideTheDestinationAreNotFollowed) {
    ArchiveFolder w;
    w.write("elsewhere/kept.txt", "kept");
    w.write("src/d/evil.txt", "evil");
    w.write("src/d/sub/deep.txt", "deep");
    w.write("src/f.txt", "through the link");
    ASSERT_TRUE(CZipper::ZipFolder(w.system("src").c_str()));
    std::filesystem::create_directories(w.host("dest/src"));
    std::filesystem::create_directory_symlink(w.host("elsewhere"), w.host("dest/src/D"));
    std::filesystem::create_symlink(w.host("elsewhere/kept.txt"), w.host("dest/src/f.txt"));

    CUnzipper archive(w.system("src.zip").c_str());
    for (int i = 0; i < archive.GetFileCount(); ++i)
        archive.UnzipFile(i, w.system("dest").c_str(), false);
    EXPECT_EQ(readFile(w.host("elsewhere/kept.txt")), "kept");
    std::size_t outside = 0;
    for (const auto& item : std::filesystem::recursive_directory_iterator(w.host("elsewhere")))
        outside += item.path().filename() != "kept.txt" ? 1 : 0;
    EXPECT_EQ(outside, 0u) << "nothing is written or made through a link";
    EXPECT_TRUE(std::filesystem::is_symlink(w.host("dest/src/f.txt")));
    EXPECT_TRUE(archive.UnzipTo(w.system("fresh").c_str())) << "without links the same archive extracts";
    EXPECT_EQ(readFile(w.host("fresh/src/d/sub/deep.txt")), "deep");
}

TEST(BadArchives, TruncatedAndMutatedArchivesFailQuietly) {
    ArchiveFolder w;
    w.write("src/a.txt", std::string(3000, 'a') + "tail");
    w.write("src/d/b.bin", zip_testing::noise(2000));
    ASSERT_TRUE(CZipper::ZipFolder(w.system("src").c_str()));
    const std::string good = readFile(w.host("src.zip"));
    const std::string zip = w.host("m.zip");

    for (std::size_t cut : {std::size_t{0}, std::size_t{10}, good.size() / 2, good.size() - 23}) {
        testing_support::writeFile(zip, good.substr(0, cut));
        EXPECT_FALSE(CUnzipper::Unzip(w.system("m.zip").c_str(), w.system("cut").c_str())) << cut;
    }

    std::mt19937 random(28);
    std::uniform_int_distribution<std::size_t> position(0, good.size() - 1);
    std::uniform_int_distribution<int> value(0, 255);
    int extracted = 0;
    for (int round = 0; round < 10000; ++round) {
        std::string bytes = good;
        const int changes = 1 + round % 4;
        for (int i = 0; i < changes; ++i)
            bytes[position(random)] = static_cast<char>(value(random));
        testing_support::writeFile(zip, bytes);
        CUnzipper archive;
        if (!archive.OpenZip(w.system("m.zip").c_str(), false)) continue;
        UZ_FileInfo info;
        for (int i = 0; i < archive.GetFileCount() && i < 8; ++i)
            archive.GetFileInfo(i, info);
        extracted += archive.UnzipTo(w.system("mut\\dest").c_str()) ? 1 : 0;
    }
    EXPECT_GT(extracted, 0) << "mutations outside the data leave an archive that still extracts";
    EXPECT_EQ(filesOutside(w.host(), w.host("mut/dest/")), 2u) << "only the two source files";
    EXPECT_FALSE(std::filesystem::exists(w.host("cut")) && !std::filesystem::is_empty(w.host("cut")));
}

TEST(BadArchives, MissingArchivesAndClosedObjects) {
    ArchiveFolder w;
    CUnzipper none;
    UZ_FileInfo info;
    EXPECT_FALSE(none.OpenZip(w.system("absent.zip").c_str(), false));
    EXPECT_FALSE(none.OpenZip("", false));
    EXPECT_FALSE(none.GetFileInfo(info));
    EXPECT_FALSE(none.UnzipFile(w.system("o").c_str(), false));
    EXPECT_EQ(none.RemoveFile("a", true), 0);
    EXPECT_FALSE(none.CloseZip());
    CZipper zipper;
    EXPECT_FALSE(zipper.AddFileToZip("a.txt"));
    EXPECT_FALSE(zipper.AddFolderToZip(w.system("").c_str()));
    EXPECT_FALSE(CZipper::ZipFolder(w.system("absent").c_str()));
}

TEST(BadArchives, NamesTooLongForTheSystemAreRefused) {
    ArchiveFolder w;
    const std::string script = "import zipfile,sys\n"
                               "z=zipfile.ZipFile(sys.argv[1],'w')\n"
                               "z.writestr('d/'+'n'*300,'long')\n";
    ASSERT_EQ(runPython(script, {w.host("long.zip")}), 0);
    CUnzipper archive(w.system("long.zip").c_str());
    UZ_FileInfo info;
    EXPECT_FALSE(archive.GetFileInfo(0, info)) << "never cut into the field";
    EXPECT_FALSE(archive.UnzipTo(w.system("out").c_str()));
    EXPECT_FALSE(std::filesystem::exists(w.host("out/d")));
}

TEST(BadArchives, UnflaggedNamesStayAsTheyStandAndDeleteByTheirOemMeaning) {
    ArchiveFolder w;
    const std::string script = "import zipfile,sys\n"
                               "z=zipfile.ZipFile(sys.argv[1],'w')\n"
                               "z.writestr('cafX.txt','oem')\n"
                               "i=zipfile.ZipInfo('other.txt'); i.comment=b'see a/b'\n"
                               "z.writestr(i,'kept')\n";
    ASSERT_EQ(runPython(script, {w.host("oem.zip")}), 0);
    // "caf" and the OEM (850) byte of "e acute", in the local and the central header alike.
    std::string bytes = readFile(w.host("oem.zip"));
    for (std::size_t at = bytes.find("cafX"); at != std::string::npos; at = bytes.find("cafX", at))
        bytes[at + 3] = '\x82';
    testing_support::writeFile(w.host("oem.zip"), bytes);
    {
        CUnzipper archive(w.system("oem.zip").c_str());
        UZ_FileInfo info;
        ASSERT_TRUE(archive.GetFileInfo(0, info));
        EXPECT_STREQ(info.szFileName, "caf\x82.txt") << "kept as it stands";
    }
    EXPECT_EQ(DeleteFileFromZIP(w.system("oem.zip").c_str(), "caf\x82.txt"), -1) << "compared by its meaning";
    EXPECT_EQ(DeleteFileFromZIP(w.system("oem.zip").c_str(), "CAF\xe9.TXT"), 0);
    CUnzipper archive(w.system("oem.zip").c_str());
    EXPECT_EQ(archive.GetFileCount(), 1);
    UZ_FileInfo info;
    ASSERT_TRUE(archive.GotoFile("other.txt", false) && archive.GetFileInfo(info));
    EXPECT_STREQ(info.szComment, "see a/b") << "a comment is no path";
}

} // namespace
