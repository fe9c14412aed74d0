#include "geometry/points/point3d_array.h"

#include <gtest/gtest.h>

#include <climits>

#ifndef __SANITIZE_ADDRESS__
#include <sys/resource.h>
#endif

namespace {

CPoint3dArray arrayOf(int n) {
    CPoint3dArray a;
    for (int i = 0; i < n; ++i)
        a.append(CPoint3d(i, 10 * i, 100 * i));
    return a;
}

} // namespace

TEST(Point3dArray, GrowsByItsStepOrAQuarter) {
    CPoint3dArray small(10, 8);
    EXPECT_EQ(small.physicalLength(), 10);
    ASSERT_TRUE(small.setLogicalLength(20));
    EXPECT_EQ(small.physicalLength(), 20) << "10 + max(8, 2) is still too small";
    CPoint3dArray large(100, 8);
    ASSERT_TRUE(large.setLogicalLength(101));
    EXPECT_EQ(large.physicalLength(), 125);
    EXPECT_EQ(large.logicalLength(), 101);
    EXPECT_EQ(large[100], CPoint3d()) << "grown points are zero-filled";
    CPoint3dArray fresh;
    EXPECT_EQ(fresh.growLength(), 8);
    fresh.append(CPoint3d(1, 2, 3));
    EXPECT_EQ(fresh.physicalLength(), 8);
    EXPECT_TRUE(fresh.setLogicalLength(-3));
    EXPECT_TRUE(fresh.isEmpty());
}

TEST(Point3dArray, InsertRemoveAndAppendKeepOrder) {
    CPoint3dArray a = arrayOf(4);
    EXPECT_EQ(a.insertAt(1, CPoint3d(-1, -1, -1)), true);
    EXPECT_EQ(a.length(), 5);
    EXPECT_EQ(a[1], CPoint3d(-1, -1, -1));
    EXPECT_EQ(a[2], CPoint3d(1, 10, 100));
    a.removeAt(1);
    EXPECT_EQ(a[1], CPoint3d(1, 10, 100));
    a.removeFirst();
    EXPECT_EQ(a.at(0), CPoint3d(1, 10, 100));
    a.removeLast();
    EXPECT_EQ(a.last(), CPoint3d(2, 20, 200));
    EXPECT_EQ(a.length(), 2);
    const CPoint3d block[] = {{7, 7, 7}, {8, 8, 8}};
    EXPECT_EQ(a.append(block, 2), 4);
    EXPECT_EQ(a.append(block, 0), 0);
    EXPECT_EQ(a.append(arrayOf(3)), 7);
    EXPECT_EQ(a[6], CPoint3d(2, 20, 200));
    a.setAt(0, CPoint3d(5, 5, 5));
    EXPECT_EQ(*a.first(), CPoint3d(5, 5, 5));
    a.removeAll();
    EXPECT_TRUE(a.isEmpty());
    a.removeLast();
    EXPECT_EQ(a.length(), 0);
}

// Appending an array to itself or inserting one of its own points reads storage that moves as it grows.
TEST(Point3dArray, AppendsItsOwnPointsWhileGrowing) {
    CPoint3dArray a(3, 0);
    a.append(CPoint3d(1, 1, 1));
    a.append(CPoint3d(2, 2, 2));
    a.append(CPoint3d(3, 3, 3));
    EXPECT_EQ(a.append(a), 6);
    EXPECT_EQ(a[5], CPoint3d(3, 3, 3));
    EXPECT_EQ(a.append(a[0]), 6);
    EXPECT_EQ(a[6], CPoint3d(1, 1, 1));
    EXPECT_TRUE(a.insertAt(0, a[6]));
    EXPECT_EQ(a[0], CPoint3d(1, 1, 1));
}

TEST(Point3dArray, PhysicalLengthCutsTheLogicalOne) {
    CPoint3dArray a = arrayOf(10);
    EXPECT_TRUE(a.setPhysicalLength(4));
    EXPECT_EQ(a.length(), 4);
    EXPECT_EQ(a[3], CPoint3d(3, 30, 300));
    EXPECT_TRUE(a.setPhysicalLength(0));
    EXPECT_EQ(a.first(), nullptr);
    EXPECT_EQ(a.length(), 0);
}

TEST(Point3dArray, CopiesOwnTheirStorage) {
    CPoint3dArray a = arrayOf(5);
    CPoint3dArray b(a);
    EXPECT_NE(b.first(), a.first());
    EXPECT_EQ(b.physicalLength(), a.physicalLength());
    EXPECT_EQ(b[4], a[4]);
    CPoint3dArray c(2, 3);
    c = a;
    EXPECT_EQ(c.growLength(), 8);
    EXPECT_EQ(c.length(), 5);
    a[0] = CPoint3d(9, 9, 9);
    EXPECT_EQ(c[0], CPoint3d());
    CPoint3dArray& same = c; // a self-assignment as code makes it unknowingly, through another name
    c = same;
    EXPECT_EQ(c.length(), 5);
}

TEST(Point3dArray, FindsPointsOnChosenCoordinates) {
    CPoint3dArray a = arrayOf(4);
    a.append(CPoint3d(1, 10, 999));
    EXPECT_EQ(a.findFrom(CPoint3d(1, 10, 999)), 4);
    EXPECT_EQ(a.findFrom(CPoint3d(1, 10, 999), CPoint3dArray::kIgnoreZ), 1);
    EXPECT_EQ(a.findFrom(CPoint3d(1, 10, 999), CPoint3dArray::kIgnoreZ | 2), 4);
    EXPECT_EQ(a.findFrom(CPoint3d(-5, 20, -5), CPoint3dArray::kIgnoreX | CPoint3dArray::kIgnoreZ), 2);
    EXPECT_EQ(a.findFrom(CPoint3d(3, 30, 300), 4), -1);
    EXPECT_TRUE(a.contains(CPoint3d(3, 30, 300)));
    EXPECT_TRUE(a.remove(CPoint3d(2, 20, 200)));
    EXPECT_FALSE(a.remove(CPoint3d(2, 20, 200)));
    EXPECT_EQ(a.length(), 4);
}

TEST(Point3dArray, AreaOfItsRing) {
    CPoint3dArray a;
    for (const CPoint3d& p : {CPoint3d(0, 0, 0), CPoint3d(0, 2, 0), CPoint3d(2, 2, 0), CPoint3d(2, 0, 0)})
        a.append(p);
    EXPECT_DOUBLE_EQ(a.getArea(), 4.0);
}

// A growth the allocator refuses must not throw the points away.
TEST(Point3dArray, KeepsItsPointsWhenStorageCannotGrow) {
#ifndef __SANITIZE_ADDRESS__
    // Without the sanitizer's allocation limit the address space is what refuses.
    rlimit limit{4ull << 30, 4ull << 30};
    ASSERT_EQ(setrlimit(RLIMIT_AS, &limit), 0);
#endif
    CPoint3dArray a = arrayOf(3);
    const CPoint3d* storage = a.first();
    EXPECT_FALSE(a.setPhysicalLength(INT_MAX));
    EXPECT_FALSE(a.setLogicalLength(INT_MAX));
    EXPECT_EQ(a.first(), storage);
    EXPECT_EQ(a.length(), 3);
    EXPECT_EQ(a.physicalLength(), 8);
    EXPECT_EQ(a[2], CPoint3d(2, 20, 200));
    const CPoint3d one(1, 1, 1);
    CPoint3dArray full(0, INT_MAX);
    EXPECT_EQ(full.append(one), -1);
    EXPECT_TRUE(full.isEmpty());
}
