#pragma once
// One DXF group (code and typed value): the unit of DXF filing, extended data and xrecords.
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "host/db/db_object_id.h"
#include "host/db/resbuf.h"
#include "host/ge/ge.h"

namespace host {

using Bytes = std::vector<std::uint8_t>;
using GroupValue = std::variant<std::monostate, double, AcGePoint3d, Adesk::Int16, Adesk::Int32, Adesk::Int64,
                                std::wstring, Bytes, AcDbHandle>;

// Default precision: as many digits as the value needs to read back exactly.
constexpr int kDefaultPrecision = -1;

struct Group {
    short code = 0;
    GroupValue value;
    int precision = kDefaultPrecision;
    // A point written with x and y only (2-D points of lightweight polylines and hatches).
    bool planar = false;

    double real() const;
    AcGePoint3d point() const;
    // Any integer kind, widened.
    Adesk::Int64 integer() const;
    std::wstring text() const;
    AcDbHandle handle() const;
    bool operator==(const Group& g) const { return code == g.code && value == g.value; }
};

// The value kind a group code carries, as an empty value of that kind (monostate for unknown codes).
GroupValue emptyValueFor(int code);

// Binary data as DXF writers cut it: groups `code` of at most 127 bytes each.
std::vector<Group> binaryChunkGroups(short code, const Bytes& data);

// Conversions to and from result buffers. Object references (330-369 and the like) travel in result buffers
// as entity names of `database`; a null database leaves such references null.
resbuf* toResbuf(const Group& group, AcDbDatabase* database);
// The same into a result buffer the caller holds: a text or bytes value is allocated, for the caller to
// release; numbers and points need nothing released.
void setResbufValue(resbuf& item, const Group& group, AcDbDatabase* database);
resbuf* toResbufChain(const std::vector<Group>& groups, AcDbDatabase* database);
Group fromResbuf(const resbuf& rb);
std::vector<Group> fromResbufChain(const resbuf* rb);

} // namespace host
