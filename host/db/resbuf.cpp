#include "host/db/resbuf.h"

#include <array>
#include <cstdlib>
#include <cstring>
#include <cwchar>

void acutNewBuffer(void*& buffer, std::size_t size) {
    buffer = std::calloc(1, size ? size : 1);
}

void acutDelBuffer(void*& buffer) {
    std::free(buffer);
    buffer = nullptr;
}

ACHAR* acutNewString(const ACHAR* text) {
    if (!text) return nullptr;
    std::size_t n = std::wcslen(text) + 1;
    void* p = nullptr;
    acutNewBuffer(p, n * sizeof(ACHAR));
    std::wmemcpy(static_cast<ACHAR*>(p), text, n);
    return static_cast<ACHAR*>(p);
}

void acutDelString(ACHAR*& text) {
    void* p = text;
    acutDelBuffer(p);
    text = nullptr;
}

resbuf* acutNewRb(int type) {
    void* p = nullptr;
    acutNewBuffer(p, sizeof(resbuf));
    auto* rb = static_cast<resbuf*>(p);
    rb->restype = static_cast<short>(type);
    return rb;
}

int acutRelRb(resbuf* rb) {
    while (rb) {
        resbuf* next = rb->rbnext;
        short type = host::resbufValueType(rb->restype);
        if (type == RTSTR)
            acutDelString(rb->resval.rstring);
        else if (type == kRtBinaryChunk) {
            void* p = rb->resval.rbinary.buf;
            acutDelBuffer(p);
        }
        void* node = rb;
        acutDelBuffer(node);
        rb = next;
    }
    return RTNORM;
}

namespace {

AcDb::DwgDataType classifyGroupCode(int code) {
    using namespace AcDb;
    auto in = [code](int lo, int hi) { return code >= lo && code <= hi; };
    if (in(0, 4) || in(6, 9) || code == 100 || code == 101 || code == 102 || in(300, 309) || in(410, 419) ||
        in(430, 439) || in(470, 479) || code == 999 || in(1000, 1003) || code == -4 || code == 1 || code == 3)
        return kDwgText;
    if (code == 5 || code == 105 || code == 1005 || in(320, 329)) return kDwgHandle;
    if (in(10, 17) || in(110, 112) || code == 210 || in(1010, 1013)) return kDwg3Real;
    if (in(18, 59) || in(111, 149) || in(211, 239) || in(460, 469) || in(1014, 1059)) return kDwgReal;
    if (in(60, 79) || in(170, 179) || in(270, 289) || in(370, 389) || in(400, 409) || in(1060, 1070))
        return code >= 280 && code <= 289 ? kDwgInt8 : kDwgInt16;
    if (in(290, 299)) return kDwgInt8;
    if (in(90, 99) || in(420, 429) || in(440, 459) || code == 1071) return kDwgInt32;
    if (in(160, 169)) return kDwgInt64;
    if (in(310, 319) || code == 1004) return kDwgBChunk;
    if (in(330, 339) || in(390, 399) || code == -1 || code == -2) return kDwgSoftPointerId;
    if (in(340, 349)) return kDwgHardPointerId;
    if (in(350, 359)) return kDwgSoftOwnershipId;
    if (in(360, 369) || in(480, 481)) return kDwgHardOwnershipId;
    return kDwgNotRecognized;
}

constexpr int kLowestCode = -4, kHighestCode = 1071;

} // namespace

// Asked for every group of every file read or written: the codes' kinds are looked up, not worked out.
AcDb::DwgDataType acdbGroupCodeToType(int code) {
    static const auto kinds = [] {
        std::array<AcDb::DwgDataType, kHighestCode - kLowestCode + 1> table{};
        for (int c = kLowestCode; c <= kHighestCode; ++c)
            table[static_cast<std::size_t>(c - kLowestCode)] = classifyGroupCode(c);
        return table;
    }();
    if (code < kLowestCode || code > kHighestCode) return AcDb::kDwgNotRecognized;
    return kinds[static_cast<std::size_t>(code - kLowestCode)];
}

namespace {

// The value type of a group code, worked out from its kind.
short groupValueType(int code) {
    switch (acdbGroupCodeToType(code)) {
    case AcDb::kDwgReal:
        return RTREAL;
    case AcDb::kDwg3Real:
        return RT3DPOINT;
    case AcDb::kDwgInt16:
    case AcDb::kDwgInt8:
        return RTSHORT;
    case AcDb::kDwgInt32:
        return RTLONG;
    case AcDb::kDwgInt64:
        return RTINT64;
    case AcDb::kDwgText:
    case AcDb::kDwgHandle:
        return RTSTR;
    case AcDb::kDwgBChunk:
        return kRtBinaryChunk;
    case AcDb::kDwgHardOwnershipId:
    case AcDb::kDwgSoftOwnershipId:
    case AcDb::kDwgHardPointerId:
    case AcDb::kDwgSoftPointerId:
        return RTENAME;
    default:
        return RTNONE;
    }
}

} // namespace

namespace host {

short resbufValueType(int code) {
    switch (code) {
    case RTREAL:
    case RTANG:
    case RTORINT:
        return RTREAL;
    case RTPOINT:
    case RT3DPOINT:
        return RT3DPOINT;
    case RTSHORT:
        return RTSHORT;
    case RTLONG:
        return RTLONG;
    case RTINT64:
        return RTINT64;
    case RTSTR:
        return RTSTR;
    case RTENAME:
    case RTPICKS:
        return RTENAME;
    case kRtBinaryChunk:
        return kRtBinaryChunk;
    default:
        break;
    }
    if (code >= 5000) return RTNONE;
    // Asked for every group of every entity list that travels to LISP: the group codes' types are looked
    // up, not worked out.
    static const auto groupTypes = [] {
        std::array<short, kHighestCode - kLowestCode + 1> table{};
        for (int c = kLowestCode; c <= kHighestCode; ++c)
            table[static_cast<std::size_t>(c - kLowestCode)] = groupValueType(c);
        return table;
    }();
    if (code >= kLowestCode && code <= kHighestCode)
        return groupTypes[static_cast<std::size_t>(code - kLowestCode)];
    return groupValueType(code);
}

resbuf* copyResbufChain(const resbuf* rb) {
    resbuf* head = nullptr;
    resbuf** tail = &head;
    for (; rb; rb = rb->rbnext) {
        resbuf* node = acutNewRb(rb->restype);
        node->resval = rb->resval;
        short type = resbufValueType(rb->restype);
        if (type == RTSTR)
            node->resval.rstring = acutNewString(rb->resval.rstring);
        else if (type == kRtBinaryChunk) {
            void* p = nullptr;
            acutNewBuffer(p, rb->resval.rbinary.clen > 0 ? rb->resval.rbinary.clen : 0);
            if (rb->resval.rbinary.clen > 0 && rb->resval.rbinary.buf)
                std::memcpy(p, rb->resval.rbinary.buf, rb->resval.rbinary.clen);
            node->resval.rbinary.buf = static_cast<char*>(p);
        }
        *tail = node;
        tail = &node->rbnext;
    }
    return head;
}

} // namespace host
