#include "geometry/points/angle_units.h"
#include "geometry/points/vertex.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

namespace {

template <class T> T readAt(const unsigned char* bytes, std::size_t offset) {
    T value;
    std::memcpy(&value, bytes + offset, sizeof value);
    return value;
}

// Nodes are 4-byte aligned by layout; kept on 8-byte boundaries, as a node pool keeps them, their point and
// pointers are aligned for their own types.
struct alignas(8) Slot {
    P_Vertex v{0};
};

} // namespace

// The plug-in reads the node's bytes directly: every field must sit at its byte.
TEST(Vertex, FieldsSitAtTheirBytes) {
    // Two links of the build's pointer width, then the fields at fixed distances from them.
    constexpr std::size_t links = 2 * sizeof(void*);
    ASSERT_EQ(sizeof(P_Vertex), sizeof(void*) == 8 ? 68u : 60u);
    ASSERT_EQ(sizeof(CPoint3d), 24u);
    alignas(8) P_Vertex before(0);
    alignas(8) P_Vertex after(0);
    alignas(8) P_Vertex v(CPoint3d(1.5, -2.5, 3.25), 0.75, 1.23456, 0x1234, 3, -2, -7, -4.5);
    v.pVB = &before;
    v.pVN = &after;
    unsigned char bytes[sizeof(P_Vertex)];
    std::memcpy(bytes, &v, sizeof bytes);
    EXPECT_EQ(readAt<P_Vertex*>(bytes, 0), &before);
    EXPECT_EQ(readAt<P_Vertex*>(bytes, sizeof(void*)), &after);
    EXPECT_EQ(readAt<double>(bytes, links), 1.5);
    EXPECT_EQ(readAt<double>(bytes, links + 8), -2.5);
    EXPECT_EQ(readAt<double>(bytes, links + 16), 3.25);
    EXPECT_EQ(readAt<double>(bytes, links + 24), 0.75);
    EXPECT_EQ(readAt<std::int16_t>(bytes, links + 32), 0x1234);
    EXPECT_EQ(readAt<std::int8_t>(bytes, links + 34), 3);
    EXPECT_EQ(readAt<std::int8_t>(bytes, links + 35), -2);
    EXPECT_EQ(readAt<std::int32_t>(bytes, links + 36), -450000);
    EXPECT_EQ(readAt<std::int32_t>(bytes, links + 40), 123456);
    EXPECT_EQ(readAt<std::int64_t>(bytes, links + 44), -7) << "the tag is sign-extended";
    EXPECT_EQ(readAt<std::int16_t>(bytes, links + 34), v.tefs())
        << "kind in the low byte, qualifier in the high";
}

TEST(Vertex, ConstructorsAndCopiesLeaveTheLinks) {
    alignas(8) P_Vertex a(0);
    alignas(8) P_Vertex b(0);
    alignas(8) P_Vertex v(CPoint3d(1, 2, 3), 0.5, 2, 1, 4, 5, 99, 6);
    v.pVB = &a;
    v.pVN = &b;
    alignas(8) P_Vertex w(0);
    w.SetpVB(&b);
    w.SetpVN(&a);
    w = v;
    EXPECT_EQ(w.pVB, &b);
    EXPECT_EQ(w.pVN, &a);
    EXPECT_EQ(w.pt, v.pt);
    EXPECT_EQ(std::int64_t{w.tag}, 99);
    EXPECT_EQ(w.f39(), 6.0);
    EXPECT_EQ(w.dur(), 0);
    w = static_cast<const P_Vertex*>(nullptr);
    EXPECT_EQ(std::int64_t{w.tag}, 99) << "a null node copies nothing";
    w.init();
    EXPECT_EQ(w.pVB, &b);
    EXPECT_EQ(std::int64_t{w.tag}, 0);
    EXPECT_EQ(w.i40, 0);
    EXPECT_EQ(w.dur(), 1);
    alignas(8) P_Vertex fresh;
    EXPECT_EQ(CPoint3d(fresh.pt), CPoint3d());
}

TEST(Vertex, WalksTheListAndStopsAtItsEnds) {
    Slot slots[4];
    P_Vertex* nodes[4];
    for (int i = 0; i < 4; ++i)
        nodes[i] = &slots[i].v;
    for (int i = 0; i < 4; ++i) {
        nodes[i]->pVB = i > 0 ? nodes[i - 1] : nullptr;
        nodes[i]->pVN = i < 3 ? nodes[i + 1] : nullptr;
    }
    EXPECT_EQ(nodes[0]->N(), nodes[1]);
    EXPECT_EQ(nodes[2]->B(), nodes[1]);
    EXPECT_EQ(nodes[0]->N(3), nodes[3]);
    EXPECT_EQ(nodes[3]->N(-2), nodes[1]);
    EXPECT_EQ(nodes[1]->N(0), nodes[1]);
    EXPECT_EQ(nodes[1]->N(-2), nullptr) << "runs off the head";
    EXPECT_EQ(nodes[1]->N(5), nullptr) << "runs off the tail";
}

TEST(Vertex, FixedPointValues) {
    alignas(8) P_Vertex v(0);
    v.f40(1.23456, 1);
    EXPECT_EQ(v.i40, 123456);
    EXPECT_EQ(v.tef1, 4);
    EXPECT_EQ(v.tef2, 5);
    EXPECT_DOUBLE_EQ(v.f40(1), 1.2345);
    EXPECT_DOUBLE_EQ(v.f40(0), 1.23456);
    v.f39(-0.000019);
    EXPECT_EQ(v.i39, -1) << "truncated toward zero";
    v.f39(_RVIDE);
    EXPECT_EQ(v.i39, 0);
    EXPECT_EQ(v.f39(), 0.0);
    v.f40(std::nan(""));
    EXPECT_EQ(v.i40, 0);
}

// Beyond +-21,474.83647 the scaled value leaves the 32-bit range: it saturates instead of wrapping.
TEST(Vertex, FixedPointSaturatesOutsideItsRange) {
    alignas(8) P_Vertex v(0);
    v.f40(21474.8365);
    EXPECT_EQ(v.i40, INT32_MAX);
    v.f40(-21474.8365);
    EXPECT_EQ(v.i40, INT32_MIN);
    v.f40(1e12);
    EXPECT_EQ(v.i40, INT32_MAX);
    v.f39(-1e12);
    EXPECT_EQ(v.i39, INT32_MIN);
    v.f39(-std::numeric_limits<double>::infinity());
    EXPECT_EQ(v.i39, INT32_MIN);
}

TEST(Vertex, CodeTexts) {
    alignas(8) const P_Vertex v(0);
    EXPECT_EQ(std::string(v.tefascii(0x0201)), "Ecriture/Masqu\xE9"
                                               "Fort");
    EXPECT_EQ(std::string(v.tefascii(9)), "Inconnu");
    EXPECT_EQ(std::string(v.tefascii(0x0905)), "D\xE9sabille/Inconnu");
    EXPECT_EQ(std::string(v.tefascii(0x0607)), "Cour_inter/Impr\xE9"
                                               "cisMasqu\xE9");
    EXPECT_EQ(std::string(v.tefascii(-1)), "Normal") << "the node's own code";
    alignas(8) P_Vertex w(0);
    w.tefs(0x0308);
    EXPECT_EQ(std::string(w.tefascii()), "Bas_tal/AutreMasq.");
    // A negative code's qualifier is its signed division by 256.
    EXPECT_EQ(std::string(w.tefascii(static_cast<short>(-255))), "Ecriture");
}

TEST(Vertex, CodeBits) {
    alignas(8) P_Vertex v(0);
    const auto bits = [&v](short code) {
        v.tefs(code);
        return v.tefsbits();
    };
    EXPECT_EQ(bits(0x0402), 0x33) << "kind 2 ignores the qualifier";
    EXPECT_EQ(bits(0x0301), 0x47);
    EXPECT_EQ(bits(0x0506), 0x23);
    EXPECT_EQ(bits(0x0407), 0x23);
    EXPECT_EQ(bits(0x0707), 0x10);
    EXPECT_EQ(bits(0x0403), 0x33);
    EXPECT_EQ(bits(0x0900), 0x00) << "an unknown qualifier adds nothing";
}
