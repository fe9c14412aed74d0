#include "cadutil/resbuf/dxf_code_types.h"

#include <array>
#include <cstdio>

#include "cadutil/command_line/print.h"
#include "host/db/resbuf.h"

namespace {

struct Range {
    int first, last, type, size;
};

// The table of group codes (first, last, type, size); result types map to themselves.
constexpr Range kTable[] = {
    {0, 0, RTSTR, 9},
    {5, 5, RTSTR, 9},
    {1002, 1002, RTSTR, 9},
    {1005, 1005, RTSTR, 9},
    {1, 1, RTSTR, 0},
    {3, 4, RTSTR, 0},
    {820, 820, RTSTR, 0},
    {999, 1000, RTSTR, 0},
    {-4, -4, RTSTR, 0},
    {2, 2, RTSTR, 32},
    {6, 9, RTSTR, 32},
    {100, 100, RTSTR, 20},
    {102, 102, RTSTR, 20},
    {410, 410, RTSTR, 20},
    {822, 822, RTSTR, 3},
    {1001, 1001, RTSTR, 8},
    {1003, 1003, RTSTR, 31},
    {10, 19, RT3DPOINT, 24},
    {110, 112, RT3DPOINT, 24},
    {210, 213, RT3DPOINT, 24},
    {1010, 1013, RT3DPOINT, 24},
    {20, 23, RTREAL, 8},
    {30, 33, RTREAL, 8},
    {38, 49, RTREAL, 8},
    {140, 149, RTREAL, 8},
    {220, 223, RTREAL, 8},
    {230, 233, RTREAL, 8},
    {823, 823, RTREAL, 8},
    {850, 850, RTREAL, 8},
    {1020, 1023, RTREAL, 8},
    {1030, 1033, RTREAL, 8},
    {1040, 1042, RTREAL, 8},
    {50, 50, RTORINT, 8},
    {51, 53, RTANG, 8},
    {60, 79, RTSHORT, 2},
    {170, 179, RTSHORT, 2},
    {280, 281, RTSHORT, 2},
    {290, 290, RTSHORT, 2},
    {370, 370, RTSHORT, 2},
    {380, 380, RTSHORT, 2},
    {810, 814, RTSHORT, 2},
    {851, 851, RTSHORT, 2},
    {870, 870, RTSHORT, 2},
    {1070, 1070, RTSHORT, 2},
    {90, 93, RTLONG, 4},
    {97, 98, RTLONG, 4},
    {1071, 1071, RTLONG, 4},
    {330, 331, RTENAME, 8},
    {340, 340, RTENAME, 8},
    {350, 350, RTENAME, 8},
    {360, 360, RTENAME, 8},
    {390, 390, RTENAME, 8},
    {800, 806, RTENAME, 8},
    {860, 862, RTENAME, 8},
    {-2, -1, RTENAME, 8},
    {830, 830, RTBINARY, 0},
    {1004, 1004, RTBINARY, 0},
    {900, 900, RTBINARY, 4},
    {852, 853, RTFLOAT, 4},
    {855, 855, 5855, 8},
    {856, 856, 5856, 16},
    {857, 857, 5857, 2},
    // Result types.
    {5000, 5000, 5000, 0},
    {5001, 5001, 5001, 8},
    {5004, 5004, 5004, 8},
    {5006, 5008, -1, 8},
    {5014, 5014, 5014, 8},
    {5002, 5002, 5002, 24},
    {5009, 5009, 5009, 24},
    {5003, 5003, 5003, 2},
    {5005, 5005, 5005, 0},
    {5016, 5020, -1, 0},
    {RTBINARY, RTBINARY, RTBINARY, 0},
    {-3, -3, -3, 0},
    {5010, 5010, 5010, 4},
    {RTFLOAT, RTFLOAT, RTFLOAT, 4},
    {5855, 5855, 5855, 8},
    {5856, 5856, 5856, 16},
    {5857, 5857, 5857, 2},
};

// The host's value type of a code the table does not hold; false for one outside the types listed.
bool hostType(int code, int& type, int& size) {
    switch (acdbGroupCodeToType(code)) {
    case AcDb::kDwgNull:
        type = RTNONE, size = 0;
        return true;
    case AcDb::kDwgReal:
        type = RTREAL, size = 8;
        return true;
    case AcDb::kDwgInt32:
        type = RTLONG, size = 4;
        return true;
    case AcDb::kDwgInt16:
    case AcDb::kDwgInt8:
        type = RTSHORT, size = 2;
        return true;
    case AcDb::kDwgText:
        type = RTSTR, size = 0;
        return true;
    case AcDb::kDwgBChunk:
        type = RTBINARY, size = 0;
        return true;
    case AcDb::kDwg3Real:
        type = RT3DPOINT, size = 24;
        return true;
    case AcDb::kDwgHandle:
    case AcDb::kDwgHardOwnershipId:
    case AcDb::kDwgSoftOwnershipId:
    case AcDb::kDwgHardPointerId:
    case AcDb::kDwgSoftPointerId:
        type = RTENAME, size = 8;
        return true;
    default:
        return false;
    }
}

bool tableType(int code, int& type, int& size) {
    for (const Range& r : kTable)
        if (code >= r.first && code <= r.last) {
            type = r.type < 0 ? code : r.type;
            size = r.size;
            return true;
        }
    return false;
}

bool searchedType(int code, int& type, int& size) {
    return tableType(code, type, size) || hostType(code, type, size);
}

struct KnownType {
    int type = RTNONE, size = 0;
    bool known = false;
};

// The codes of entity lists and the result types, looked up once: every result buffer freed, copied or read
// as an argument asks for its code's type.
constexpr int kFirstGroup = -5, kLastGroup = 1071, kFirstResult = 5000, kLastResult = 5999;
constexpr std::size_t kListed = (kLastGroup - kFirstGroup + 1) + (kLastResult - kFirstResult + 1);

// The place of a code in the table; kListed when it has none.
std::size_t listedIndex(int code) {
    if (code >= kFirstGroup && code <= kLastGroup) return static_cast<std::size_t>(code - kFirstGroup);
    if (code >= kFirstResult && code <= kLastResult)
        return static_cast<std::size_t>(kLastGroup - kFirstGroup + 1 + code - kFirstResult);
    return kListed;
}

const std::array<KnownType, kListed>& listedTypes() {
    static const auto table = [] {
        std::array<KnownType, kListed> t{};
        for (int first : {kFirstGroup, kFirstResult})
            for (int code = first; code <= (first == kFirstGroup ? kLastGroup : kLastResult); ++code) {
                KnownType& k = t[listedIndex(code)];
                k.known = searchedType(code, k.type, k.size);
            }
        return t;
    }();
    return table;
}

} // namespace

bool dxfCodeType(int code, int& type, int& size) {
    const std::size_t index = listedIndex(code);
    if (index == kListed) return searchedType(code, type, size);
    const KnownType& k = listedTypes()[index];
    if (k.known) type = k.type, size = k.size;
    return k.known;
}

int dxfcode_rbtype(int code, int* size) {
    int type = RTNONE, bytes = 0;
    if (!tableType(code, type, bytes)) {
        g_printHook("\nCode DXF %d de type inconnu .. ", code);
        if (!hostType(code, type, bytes)) {
            char message[64];
            std::snprintf(message, sizeof message, "Code DXF %d inconnu (arr\xeat)... ", code);
            msgBox(message);
            type = RTNONE;
            bytes = 0;
        }
    }
    if (size) *size = bytes;
    return type;
}
