#pragma once
// P_Vertex: the node of a doubly linked 3-D polyline with its surveying attributes.
//
// The plug-in keeps its vertex lists as these nodes and reads and writes the fields directly, so the
// record is packed: 68 bytes, the 64-bit tag at byte 60. The tag is not 8-byte aligned: read and write
// it by value, never through a reference or a pointer. Nodes are 4-byte aligned; a node placed on a 4-byte
// boundary has its pointers, point and bulge misaligned as well, so whoever stores nodes in arrays keeps
// them on 8-byte boundaries.
//
// f39 (a height) and f40 (a width) are kept as integers: the value times 100,000 truncated toward zero,
// the empty value _RVIDE as 0.
#include "geometry/points/point3d.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

#pragma pack(push, 4)
class P_Vertex {
public:
    P_Vertex* pVB;      // previous vertex, null at the head
    P_Vertex* pVN;      // next vertex, null at the tail
    CPoint3d pt;        // the vertex point
    double bulge;       // bulge of the segment starting here, 0 for a straight one
    std::int16_t flags; // bit 0 clear: a hard vertex
    signed char tef1;   // vertex kind: low byte of the vertex code
    signed char tef2;   // qualifier: high byte of the vertex code
    std::int32_t i39;   // f39 * 100,000
    std::int32_t i40;   // f40 * 100,000
    std::int64_t tag;

    // Point only zeroed; the links are left for whoever links the node.
    P_Vertex() = default;
    // Everything from the point to the tag zeroed; links left as they are.
    explicit P_Vertex(int);
    // Each field from its argument; the tag is sign-extended from 32 bits. Links left as they are.
    P_Vertex(const CPoint3d& point, double bulgeValue, double f40Value, short flagWord, char kind,
             char qualifier, std::int32_t tagValue, double f39Value);
    P_Vertex(const P_Vertex&) = default;

    // Same arguments and effect as the full constructor.
    void set(const CPoint3d& point, double bulgeValue, double f40Value, short flagWord, char kind,
             char qualifier, std::int32_t tagValue, double f39Value);
    // Zeroes everything but the links (inline: every node taken from the pool is cleared).
    void init();
    // Copy everything but the links; a null node copies nothing.
    P_Vertex& operator=(const P_Vertex* other);
    P_Vertex& operator=(const P_Vertex& other);

    // Walking the list. The node itself must exist; N(n) stops with null at the end of the list.
    P_Vertex* N() const { return pVN; }
    P_Vertex* B() const { return pVB; }
    // n > 0: n next links; n < 0: -n previous links; 0: this node.
    P_Vertex* N(int n);
    void SetpVB(P_Vertex* v) { pVB = v; }
    void SetpVN(P_Vertex* v) { pVN = v; }
    void* data() { return &pt; }

    // 1 for a hard vertex (bit 0 of flags clear).
    int dur() const { return (flags & 1) == 0; }
    // The 16-bit vertex code, tef1 in its low byte.
    short tefs() const;
    short tefs(short code);

    double f39() const;
    void f39(double v);
    double f40() const;
    void f40(double v);
    // Stores v; with `flag` non-zero the hundreds digit of the stored integer becomes the kind and its
    // tens digit the qualifier.
    void f40(double v, int flag);
    // flag 0: the f40 value; otherwise the value cut to two decimals with the kind in the third decimal
    // and the qualifier in the fourth.
    double f40(int flag) const;
    // On a node that is not const, f40(1) would otherwise be as near to the setter f40(double).
    double f40(int flag) { return static_cast<const P_Vertex*>(this)->f40(flag); }

    // Text of a vertex code (-1: this node's code) in Windows-1252, in a static buffer that the next call
    // overwrites.
    const char* tefascii(short code = -1) const;
    // Bit set of this node's code (display and drawing behaviour).
    int tefsbits() const;
};
#pragma pack(pop)

inline void P_Vertex::init() {
    // Every field after the links is zero as all bits zero (the fixed-point 0 included).
    std::memset(static_cast<void*>(&pt), 0, sizeof(P_Vertex) - offsetof(P_Vertex, pt));
}

// A node lives inside one process: its two links take the native pointer width (68 bytes in the 64-bit
// build, 60 in the 32-bit one), and every field after them moves with them.
constexpr std::size_t kVertexLinks = 2 * sizeof(void*);
static_assert(sizeof(P_Vertex) == (sizeof(void*) == 8 ? 68 : 60));
static_assert(offsetof(P_Vertex, pVB) == 0 && offsetof(P_Vertex, pVN) == sizeof(void*) &&
              offsetof(P_Vertex, pt) == kVertexLinks);
static_assert(offsetof(P_Vertex, bulge) == kVertexLinks + 24 &&
              offsetof(P_Vertex, flags) == kVertexLinks + 32);
static_assert(offsetof(P_Vertex, tef1) == kVertexLinks + 34 && offsetof(P_Vertex, tef2) == kVertexLinks + 35);
static_assert(offsetof(P_Vertex, i39) == kVertexLinks + 36 && offsetof(P_Vertex, i40) == kVertexLinks + 40 &&
              offsetof(P_Vertex, tag) == kVertexLinks + 44);
