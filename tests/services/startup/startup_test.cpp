#include "platform/ipc/shared_segment.h"
#include "services/output/output_mode.h"
#include "services/startup/exchange_buffer.h"
#include "services/startup/shared_records.h"
#include "services/startup/startup.h"
#include "services/startup/window_messages.h"
#include "tests/services/probe_process.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <future>
#include <string>
#include <sys/mman.h>

namespace {

using testing_support::ProbeProcess;

std::string run(std::vector<std::string> arguments, const std::string& subNamespace = "") {
    ProbeProcess probe(std::move(arguments), subNamespace);
    EXPECT_EQ(probe.finish(), 0) << probe.output;
    return probe.output;
}

TEST(Startup, PointersLeadIntoTheGeneralSegment) {
    ASSERT_NE(g_pZortaGenSeg, nullptr);
    const auto* base = reinterpret_cast<const char*>(g_pZortaGenSeg);
    EXPECT_EQ(reinterpret_cast<const char*>(pvg), base + 8);
    EXPECT_EQ(reinterpret_cast<const char*>(g_pSystemVar), base + 2144);
    EXPECT_EQ(reinterpret_cast<const char*>(g_pTpadG), base + 2200);
    EXPECT_EQ(g_pZortaGenSeg->size, 3248);
    EXPECT_EQ(pvg->size, 2136);
    ASSERT_NE(g_pSZortaTAVRO, nullptr);
    EXPECT_EQ(g_pSZortaTAVRO->size, 56);
    EXPECT_EQ(SelectAcAdInputEnCours, 0);
}

TEST(Startup, CalledAgainChangesNothing) {
    ZortaGenSeg* segment = g_pZortaGenSeg;
    EXPECT_EQ(InitZortaGen(), 2);
    EXPECT_EQ(g_pZortaGenSeg, segment);
}

TEST(Startup, ScreenMetricsFillTheSegment) {
    EXPECT_EQ(g_pSystemVar->thirty, 30);
    EXPECT_EQ(g_pSystemVar->screenRight - g_pSystemVar->screenLeft, 1920);
    EXPECT_FLOAT_EQ(g_pSystemVar->mouseScaleX, 65535.0f / 1919.0f);
    EXPECT_EQ(g_pSystemVar->mouseStepX, 8); // 34.15... * 0.25
    EXPECT_EQ(g_pSystemVar->clipBottom, 1080);
}

TEST(SecondProcess, FindsBothSegmentsWithTheirSizesAndDoesNotZeroThem) {
    const std::uint64_t word = 0xfeedu;
    ASSERT_EQ(vbbuf_write(&word, 0, sizeof word, 1), 8);
    const std::string output = run({"report"});
    EXPECT_NE(output.find("sizes 3248 2136 56"), std::string::npos) << output;
    EXPECT_NE(output.find("word feed"), std::string::npos) << output;
    EXPECT_NE(output.find(std::string("install ") + pvg->installFolder), std::string::npos) << output;
    EXPECT_EQ(output.find("Probleme"), std::string::npos) << output;
}

TEST(SecondProcess, RegistersTheSameMessageIdentifiers) {
    char expected[64];
    std::snprintf(expected, sizeof expected, "%u %u %u %u", wm_Tavro, wm_TavroMem, wm_ZortaMouse,
                  wm_ZortaPalet);
    EXPECT_GE(wm_Tavro, 0xC000u);
    EXPECT_NE(run({"messages"}).find(expected), std::string::npos);
}

TEST(LastProcess, LeavingLetsTheNextStartZeroFilled) {
    EXPECT_NE(run({"mark", "77"}, "alone_").find("word 4d"), std::string::npos);
    EXPECT_NE(run({"report"}, "alone_").find("word 0\n"), std::string::npos);

    ProbeProcess holder({"hold"}, "alone_");
    holder.readUntil("local");
    EXPECT_NE(run({"mark", "78"}, "alone_").find("word 4e"), std::string::npos);
    EXPECT_NE(run({"report"}, "alone_").find("word 4e"), std::string::npos); // the holder keeps it
    EXPECT_EQ(holder.finish(), 0);
    EXPECT_NE(run({"report"}, "alone_").find("word 0\n"), std::string::npos);
}

TEST(LastProcess, StaleSegmentWithoutUsersIsMadeAnew) {
    // What a crashed last user leaves: the segment, with no process holding its users file.
    const std::string name = platform::segmentObjectName("stale_GlobalZortaGenSeg");
    const int fd = shm_open(name.c_str(), O_RDWR | O_CREAT, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(ftruncate(fd, 3248), 0);
    const std::int32_t wrongSize = 1234;
    ASSERT_EQ(pwrite(fd, &wrongSize, sizeof wrongSize, 0), 4);
    close(fd);
    const std::string output = run({"report"}, "stale_");
    EXPECT_NE(output.find("sizes 3248 2136 56"), std::string::npos) << output;
    EXPECT_EQ(output.find("Probleme"), std::string::npos) << output;
}

TEST(BadSegments, WrongSizeFieldsAreReportedAndLeftAsTheyAre) {
    platform::SharedSegment held("wrong_GlobalZortaGenSeg", sizeof(ZortaGenSeg));
    auto* segment = static_cast<ZortaGenSeg*>(held.data());
    segment->size = 1234;
    segment->general.size = 99;
    platform::SharedSegment qolmex("wrong_GlobalZortaQolmexSeg", sizeof(SZortaTAVRO));
    static_cast<SZortaTAVRO*>(qolmex.data())->size = 55;

    const std::string output = run({"report"}, "wrong_");
    EXPECT_NE(output.find("Probleme de taille de 'ZortaGenSeg' 1234 au lieu de 3248"), std::string::npos)
        << output;
    EXPECT_NE(output.find("Probleme de taille de 'ZortaGenSeg' 99 au lieu de 2136"), std::string::npos)
        << output;
    EXPECT_NE(output.find("'SZortaTAVRO' Incoh\xc3\xa9rante entre TAVRO et ZORTA 55 au lieu de 56"),
              std::string::npos)
        << output;
    EXPECT_EQ(segment->size, 1234);
    EXPECT_EQ(segment->general.size, 99);
}

TEST(BadSegments, ASegmentTooSmallIsNotMappedAndNothingBreaks) {
    platform::SharedSegment tooSmall("small_GlobalZortaGenSeg", 100);
    std::memset(tooSmall.data(), 0x5A, 100);
    const std::string output = run({"report"}, "small_");
    EXPECT_NE(output.find("Segment 'GlobalZortaGenSeg' indisponible"), std::string::npos) << output;
    EXPECT_NE(output.find("no segment"), std::string::npos) << output;
    EXPECT_EQ(static_cast<unsigned char*>(tooSmall.data())[99], 0x5A);
}

TEST(ExchangeBuffer, CopiesNeverLeaveTheBuffer) {
    unsigned char data[100];
    std::memset(data, 0x11, sizeof data);
    EXPECT_EQ(vbbuf_write(data, 1000, 100, 1), 24);
    unsigned char back[100] = {};
    EXPECT_EQ(vbbuf_read(back, 1000, 100, 0), 24);
    EXPECT_EQ(back[23], 0x11);
    EXPECT_EQ(back[24], 0);
    EXPECT_EQ(vbbuf_read(back, 1024, 10, 0), 0);
    EXPECT_EQ(vbbuf_read(back, 2000, 10, 0), 0);
    EXPECT_EQ(vbbuf_read(back, 0, 0, 1), 0);
    EXPECT_EQ(vbbuf_read(nullptr, 0, 10, 1), 0);
    EXPECT_EQ(vbbuf_write(nullptr, 0, 10, 1), 0);
}

TEST(ExchangeBuffer, ConcurrentWritersNeverMixUnderTheMutex) {
    const unsigned char uniform[1024] = {}; // what earlier tests left is not one writer's buffer
    ASSERT_EQ(vbbuf_write(uniform, 0, sizeof uniform, 1), 1024);
    ProbeProcess first({"writer", "3000", "1"});
    ProbeProcess second({"writer", "3000", "101"});
    ProbeProcess reader({"reader", "3000"});
    EXPECT_EQ(first.finish(), 0);
    EXPECT_EQ(second.finish(), 0);
    EXPECT_EQ(reader.finish(), 0) << "exit code 3: a read mixed two writers' buffers";
}

TEST(ExchangeBuffer, AHolderKilledWhileHoldingTheMutexDoesNotBlockOthers) {
    ProbeProcess holder({"hold-mutex"});
    ASSERT_NE(holder.readUntil("held").find("held"), std::string::npos);
    holder.kill(SIGKILL);
    auto write = std::async(std::launch::async, [] {
        const char text[] = "after";
        return vbbuf_write(text, 0, sizeof text, 1);
    });
    if (write.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
        ADD_FAILURE() << "vbbuf_write still waits for the dead holder's mutex";
        std::_Exit(1); // the waiting thread cannot be stopped
    }
    EXPECT_EQ(write.get(), 6);
}

TEST(ExchangeBuffer, AMutexHeldByALiveProcessFailsTheCopyAfterABoundedWait) {
    ProbeProcess holder({"hold-mutex"});
    ASSERT_NE(holder.readUntil("held").find("held"), std::string::npos);
    auto read = std::async(std::launch::async, [] {
        char text[8] = "intact";
        const int copied = vbbuf_read(text, 0, sizeof text, 1);
        return std::pair{copied, std::string(text)};
    });
    if (read.wait_for(std::chrono::seconds(60)) != std::future_status::ready) {
        ADD_FAILURE() << "vbbuf_read still waits for a mutex that is never released";
        std::_Exit(1); // the waiting thread cannot be stopped
    }
    const auto [copied, text] = read.get();
    EXPECT_EQ(copied, 0);
    EXPECT_EQ(text, "intact");
    holder.kill(SIGKILL);
}

TEST(BusyWord, IModeChangesNothingWhileAnotherProcessHoldsItAndRecoversWhenItDies) {
    services::resetOutputMode();
    ProbeProcess holder({"hold-busy"});
    ASSERT_NE(holder.readUntil("held").find("held"), std::string::npos);
    char digits[] = "101";
    EXPECT_EQ(i_mode(digits), 1);
    EXPECT_EQ(Mode[2], 0);
    holder.kill(SIGKILL);
    EXPECT_EQ(i_mode(digits), 1);
    EXPECT_EQ(Mode[2], 1);
    EXPECT_EQ(g_pZortaGenSeg->busyWord, 0);
    services::resetOutputMode();
}

TEST(BusyWord, ABitSetByAnOutsideProgramIsRespected) {
    services::resetOutputMode();
    g_pZortaGenSeg->busyWord = 2; // written directly, as another family's program may do
    char digits[] = "001";
    EXPECT_EQ(i_mode(digits), 1);
    EXPECT_EQ(Mode[2], 0);
    g_pZortaGenSeg->busyWord = 0;
    EXPECT_EQ(i_mode(digits), 1);
    EXPECT_EQ(Mode[2], 1);
    services::resetOutputMode();
}

} // namespace
