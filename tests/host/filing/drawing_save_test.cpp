// Saving drawings over files: racing writers, writers killed mid-save, permissions, read-only files and
// links, the longest names; opening what is no plain file.
#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <set>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>

#include "host/db/database.h"
#include "host/db/symbol_tables.h"
#include "host/editor/menus.h"
#include "host/entities/lw_polyline.h"
#include "host/filing/dxf_file.h"
#include "host/filing/file_bytes.h"
#include "host/filing/text_codec.h"
#include "tests/host/host_test_support.h"
#include "tests/host/sample_drawing.h"
#include "tests/platform/child_process.h"
#include "tests/support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ChildProcess;
using testing_support::readFile;
using testing_support::TempFolder;

std::set<std::string> namesIn(const std::string& folder) {
    std::set<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

bool save(const std::string& path, const std::string& bytes, std::string* reason = nullptr) {
    return host::writeFileBytes(host::fromUtf8(path), bytes, reason);
}

// Runs save_loop over `target`, slowed down by the write shim when `slow`.
ChildProcess saveLoop(const std::string& drawing, const std::string& target, int count, bool slow) {
    return ChildProcess([=] {
        if (slow) {
            setenv("LD_PRELOAD", SLOW_WRITE_SHIM, 1);
            // The sanitizer's runtime is no longer first among the preloaded libraries; that is meant here.
            const char* options = getenv("ASAN_OPTIONS");
            setenv("ASAN_OPTIONS",
                   (std::string(options ? options : "") + ":verify_asan_link_order=0").c_str(), 1);
        }
        execl(SAVE_LOOP_PROGRAM, SAVE_LOOP_PROGRAM, drawing.c_str(), target.c_str(),
              std::to_string(count).c_str(), static_cast<char*>(nullptr));
        return 127;
    });
}

// True while the child has not ended; it is left to be waited for.
bool running(const ChildProcess& child) {
    siginfo_t info{};
    return waitid(P_PID, static_cast<id_t>(child.pid()), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
           info.si_pid == 0;
}

} // namespace

TEST(DrawingSave, RacingWritersLeaveOneDrawingWholeAtEveryMoment) {
    TempFolder folder;
    host::test::WorkingDatabase small;
    AcDbDatabase large;
    host::test::buildSampleDrawing(large);
    const std::string smallSource = folder / "small-source.dxf", largeSource = folder / "large-source.dxf";
    ASSERT_EQ(host::writeDxfFile(*small.db, host::fromUtf8(smallSource)), Acad::eOk);
    ASSERT_EQ(host::writeDxfFile(large, host::fromUtf8(largeSource)), Acad::eOk);
    // What each writer saves, once alone.
    std::string expected[2];
    const std::string sources[2] = {smallSource, largeSource};
    for (int i = 0; i < 2; ++i) {
        const std::string alone = folder / ("alone" + std::to_string(i) + ".dxf");
        ASSERT_EQ(saveLoop(sources[i], alone, 1, false).wait(), 0);
        expected[i] = readFile(alone);
        AcDbDatabase reopened(false);
        EXPECT_EQ(host::readDxf(reopened, expected[i]), Acad::eOk) << reopened.lastFileError();
    }
    ASSERT_NE(expected[0], expected[1]);

    const std::string target = folder / "shared.dxf";
    ChildProcess fast = saveLoop(smallSource, target, 100, false);
    ChildProcess slow = saveLoop(largeSource, target, 100, true);
    int checked = 0;
    std::set<int> seen;
    auto check = [&] {
        std::ifstream in(target, std::ios::binary);
        if (!in) return; // before the first save
        const std::string now{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        const int which = now == expected[0] ? 0 : now == expected[1] ? 1 : -1;
        ASSERT_NE(which, -1) << "a mixed or partial drawing of " << now.size() << " bytes";
        seen.insert(which);
        ++checked;
    };
    while (running(fast) || running(slow)) {
        check();
        if (HasFatalFailure()) return;
    }
    EXPECT_EQ(fast.wait(), 0);
    EXPECT_EQ(slow.wait(), 0);
    check();
    EXPECT_GT(checked, 10);
    EXPECT_EQ(seen.size(), 2u) << "the reader saw both writers' drawings";
    EXPECT_EQ(namesIn(folder.path()), (std::set<std::string>{"alone0.dxf", "alone1.dxf", "large-source.dxf",
                                                             "shared.dxf", "small-source.dxf"}))
        << "no temporary left";
}

TEST(DrawingSave, AWriterKilledMidSaveLeavesTheOldDrawingAndItsTemporaryGoesLater) {
    TempFolder folder;
    const std::string target = folder / "plan.zdw";
    const std::string oldDrawing(1'000'000, 'o'), newDrawing(2'000'000, 'n');
    ASSERT_TRUE(save(target, oldDrawing));
    host::test::Random random(30);
    for (int trial = 0; trial < 20; ++trial) {
        ChildProcess writer([&] {
            for (;;)
                save(target, newDrawing);
            return 0;
        });
        std::this_thread::sleep_for(std::chrono::microseconds(random.below(40'000)));
        writer.kill(SIGKILL);
        const std::string found = readFile(target);
        EXPECT_TRUE(found == oldDrawing || found == newDrawing) << "trial " << trial << ": " << found.size();
        ASSERT_TRUE(save(target, oldDrawing));
        EXPECT_EQ(namesIn(folder.path()), std::set<std::string>{"plan.zdw"}) << "trial " << trial;
    }
}

TEST(DrawingSave, ASaveThatFailsWhileWritingLeavesTheOldDrawingAndNoTemporary) {
    TempFolder folder;
    const std::string target = folder / "plan.dxf";
    ASSERT_TRUE(save(target, "old"));
    // The content stops, after megabytes written, with an exception: it reaches the caller.
    EXPECT_THROW(host::writeFileBytes(host::fromUtf8(target),
                                      [](const host::ByteWriter& write) {
                                          write(std::string(3 << 20, 'x'));
                                          throw std::runtime_error("cannot be written");
                                      }),
                 std::runtime_error);
    EXPECT_EQ(readFile(target), "old");
    EXPECT_EQ(namesIn(folder.path()), std::set<std::string>{"plan.dxf"});

    // The disk fills up (a file size limit) after the first blocks of a drawing of several megabytes.
    ChildProcess child([&] {
        AcDbDatabase db;
        auto* outline = new AcDbPolyline;
        for (unsigned int i = 0; i < 200'000; ++i)
            outline->addVertexAt(i, AcGePoint2d(652000.0 + i * 0.37, 6234000.0 - i * 0.11));
        AcDbBlockTableRecord* model = nullptr;
        AcDbObjectId id;
        if (acdbOpenObject(model, db.modelSpaceId(), AcDb::kForWrite) != Acad::eOk ||
            model->appendAcDbEntity(id, outline) != Acad::eOk)
            return 2;
        outline->close();
        model->close();
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{1 << 20, 1 << 20};
        setrlimit(RLIMIT_FSIZE, &limit);
        if (host::writeDxfFile(db, host::fromUtf8(target)) != Acad::eFileAccessErr) return 3;
        return db.lastFileError() == "cannot write " + target + ": File too large" ? 0 : 4;
    });
    EXPECT_EQ(child.wait(), 0);
    EXPECT_EQ(readFile(target), "old");
    EXPECT_EQ(namesIn(folder.path()), std::set<std::string>{"plan.dxf"});
}

TEST(DrawingSave, OpeningADrawingRemovesWhatDeadWritersLeft) {
    TempFolder folder;
    host::test::WorkingDatabase w;
    const std::string target = folder / "plan.zdw";
    ASSERT_EQ(w.db->saveAs(host::fromUtf8(target).c_str()), Acad::eOk);
    ChildProcess dead([] { return 0; });
    dead.wait();
    const std::string stale = folder / (".plan.zdw." + std::to_string(dead.pid()) + ".a1B2c3");
    const std::string ours = folder / (".plan.zdw." + std::to_string(getpid()) + ".a1B2c3");
    const std::string unrelated = folder / (".plan.zdw." + std::to_string(dead.pid()) + ".tmp");
    for (const std::string& path : {stale, ours, unrelated})
        testing_support::writeFile(path, "partial");
    AcDbDatabase reopened(false);
    ASSERT_EQ(reopened.readDwgFile(host::fromUtf8(target).c_str()), Acad::eOk);
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(ours)) << "a living writer's temporary";
    EXPECT_TRUE(fs::exists(unrelated)) << "not a name a save makes";
}

TEST(DrawingSave, PermissionsReadOnlyFilesLinksAndReasons) {
    TempFolder folder;
    const std::string target = folder / "plan.dxf";
    ASSERT_TRUE(save(target, "first"));
    chmod(target.c_str(), 0640);
    ASSERT_TRUE(save(target, "second"));
    struct stat st;
    ASSERT_EQ(stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u) << "the mode kept";

    chmod(target.c_str(), 0444);
    std::string reason;
    EXPECT_FALSE(save(target, "third", &reason)) << "refused even for root";
    EXPECT_EQ(reason, "the file is read-only");
    EXPECT_EQ(readFile(target), "second");
    chmod(target.c_str(), 0644);

    const std::string link = folder / "link.dxf";
    fs::create_symlink("plan.dxf", link);
    ASSERT_TRUE(save(link, "through the link"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(readFile(target), "through the link");
    const std::string dangling = folder / "later.dxf";
    fs::create_symlink("new.dxf", dangling);
    ASSERT_TRUE(save(dangling, "new"));
    EXPECT_EQ(readFile(folder / "new.dxf"), "new");

    EXPECT_FALSE(save(folder / "missing/plan.dxf", "x", &reason));
    EXPECT_EQ(reason, "No such file or directory");
    EXPECT_FALSE(save(folder.path(), "x", &reason));
    EXPECT_EQ(reason, "not a plain file");

    AcDbDatabase db;
    chmod(target.c_str(), 0444);
    EXPECT_EQ(host::writeDxfFile(db, host::fromUtf8(target)), Acad::eFileAccessErr);
    EXPECT_EQ(db.lastFileError(), "cannot write " + target + ": the file is read-only");
    EXPECT_EQ(namesIn(folder.path()),
              (std::set<std::string>{"link.dxf", "later.dxf", "new.dxf", "plan.dxf"}));
}

// A device or a pipe never ends: opening one, or loading it as a menu, is refused at once. A name as long
// as the file system allows saves, its temporary fitting beside it.
TEST(DrawingSave, DevicesAndPipesAreRefusedAndTheLongestNamesSave) {
    TempFolder folder;
    const std::string pipe = folder / "pipe.dxf";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    for (const std::string& path : {std::string("/dev/zero"), pipe}) {
        AcDbDatabase db(false);
        EXPECT_EQ(db.readDwgFile(host::fromUtf8(path).c_str()), Acad::eFileNotFound);
        EXPECT_EQ(db.lastFileError(), "cannot read " + path + ": not a plain file");
        std::wstring group, error;
        EXPECT_FALSE(host::loadMenuFile(host::fromUtf8(path), group, error));
        EXPECT_EQ(error, L"the menu file \"" + host::fromUtf8(path) + L"\" is not a plain file");
    }
    fs::remove(pipe);
    const std::string longest = folder / (std::string(NAME_MAX - 4, 'p') + ".dxf");
    ASSERT_TRUE(save(longest, "first"));
    ASSERT_TRUE(save(longest, "second"));
    EXPECT_EQ(readFile(longest), "second");
    EXPECT_EQ(namesIn(folder.path()).size(), 1u) << "no temporary left";
}
