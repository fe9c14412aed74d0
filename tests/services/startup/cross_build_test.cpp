// The 64-bit and the 32-bit library share the segments: each build's probe, in both start orders (the first
// one started creates the segments), reads what the other wrote byte for byte, takes the same message ids,
// and shares "vb_mutex" and the busy word with it.
#include "tests/services/probe_process.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

using testing_support::ProbeProcess;

constexpr const char* kProbe64 = PROBE_PATH;
constexpr const char* kProbe32 = PROBE_32_PATH;

struct Order {
    const char* creator;
    const char* other;
    const char* name;
};

class CrossBuild : public ::testing::TestWithParam<Order> {
protected:
    void SetUp() override {
        ASSERT_TRUE(std::filesystem::exists(kProbe32))
            << kProbe32 << " is missing: build the 32-bit library first (cmake --preset i386 && "
            << "cmake --build --preset i386)";
        static int scenario = 0;
        space_ = "cross" + std::to_string(++scenario) + "_";
        creator_ =
            std::make_unique<ProbeProcess>(std::vector<std::string>{"hold"}, space_, GetParam().creator);
        ASSERT_NE(creator_->readUntil("local ").find("local "), std::string::npos) << creator_->output;
    }
    void TearDown() override {
        if (creator_) {
            EXPECT_EQ(creator_->finish(), 0);
        }
    }

    // Runs one probe of the given build in this scenario's namespace; its output, once it ended with 0.
    std::string run(const char* program, std::vector<std::string> arguments) {
        ProbeProcess probe(std::move(arguments), space_, program);
        EXPECT_EQ(probe.finish(), 0) << program << " " << probe.output;
        return probe.output;
    }

    std::string space_;
    std::unique_ptr<ProbeProcess> creator_;
};

TEST_P(CrossBuild, SegmentsHaveOneLayoutAndEveryFieldReadsBackInTheOtherBuild) {
    const Order order = GetParam();
    EXPECT_NE(creator_->output.find("sizes 3248 2136 56"), std::string::npos) << creator_->output;
    EXPECT_NE(run(order.other, {"report"}).find("sizes 3248 2136 56"), std::string::npos);

    int seed = 11;
    for (const char* writer : {order.creator, order.other}) {
        const std::string before = run(writer, {"dump"});
        run(writer, {"fill", std::to_string(seed++)});
        const std::string seenByCreator = run(order.creator, {"dump"});
        const std::string seenByOther = run(order.other, {"dump"});
        EXPECT_NE(seenByCreator, before) << "the fill changed nothing";
        EXPECT_EQ(seenByCreator, seenByOther) << "written by " << writer;
        EXPECT_EQ(seenByCreator.size(), 2 * (3248 + 56) + 2);
    }
    EXPECT_EQ(run(order.creator, {"messages"}), run(order.other, {"messages"}));
}

TEST_P(CrossBuild, ExchangeBufferIsNeverTornBetweenBuilds) {
    const Order order = GetParam();
    ProbeProcess writer({"writer", "20000", "1"}, space_, order.creator);
    ProbeProcess reader({"reader", "20000"}, space_, order.other);
    ProbeProcess otherWriter({"writer", "20000", "128"}, space_, order.other);
    ProbeProcess otherReader({"reader", "20000"}, space_, order.creator);
    EXPECT_EQ(writer.finish(), 0);
    EXPECT_EQ(reader.finish(), 0) << "exit code 3: a buffer read half written";
    EXPECT_EQ(otherWriter.finish(), 0);
    EXPECT_EQ(otherReader.finish(), 0) << "exit code 3: a buffer read half written";
}

TEST_P(CrossBuild, HolderKilledLeavesTheMutexAbandonedToTheOtherBuild) {
    const Order order = GetParam();
    for (auto [holderBuild, waiterBuild] :
         {std::pair{order.creator, order.other}, {order.other, order.creator}}) {
        ProbeProcess holder({"hold-mutex"}, space_, holderBuild);
        ASSERT_NE(holder.readUntil("held").find("held"), std::string::npos);
        EXPECT_EQ(run(waiterBuild, {"try-mutex", "200"}), "timed out\n");
        holder.kill(SIGKILL);
        EXPECT_EQ(run(waiterBuild, {"try-mutex", "1000"}), "abandoned\n");
        EXPECT_EQ(run(waiterBuild, {"try-mutex", "1000"}), "acquired\n");
    }
}

TEST_P(CrossBuild, BusyWordIsSeenByTheOtherBuild) {
    const Order order = GetParam();
    ProbeProcess holder({"hold-busy"}, space_, order.creator);
    ASSERT_NE(holder.readUntil("held").find("held"), std::string::npos);
    EXPECT_EQ(run(order.other, {"try-busy"}), "busy\n");
    holder.kill(SIGKILL);
    EXPECT_EQ(run(order.other, {"try-busy"}), "free\n") << "a dead holder's bit is taken back";
}

INSTANTIATE_TEST_SUITE_P(BothStartOrders, CrossBuild,
                         ::testing::Values(Order{kProbe64, kProbe32, "Created64"},
                                           Order{kProbe32, kProbe64, "Created32"}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
