#include "host/filing/group.h"

#include <algorithm>
#include <cstring>

#include "host/db/database.h"
#include "host/db/db_object.h"

namespace host {

double Group::real() const {
    if (auto* d = std::get_if<double>(&value)) return *d;
    return static_cast<double>(integer());
}

AcGePoint3d Group::point() const {
    auto* p = std::get_if<AcGePoint3d>(&value);
    return p ? *p : AcGePoint3d();
}

Adesk::Int64 Group::integer() const {
    if (auto* v = std::get_if<Adesk::Int16>(&value)) return *v;
    if (auto* v = std::get_if<Adesk::Int32>(&value)) return *v;
    if (auto* v = std::get_if<Adesk::Int64>(&value)) return *v;
    return 0;
}

std::wstring Group::text() const {
    if (auto* s = std::get_if<std::wstring>(&value)) return *s;
    if (auto* h = std::get_if<AcDbHandle>(&value)) return h->text();
    return {};
}

AcDbHandle Group::handle() const {
    if (auto* h = std::get_if<AcDbHandle>(&value)) return *h;
    if (auto* s = std::get_if<std::wstring>(&value)) return AcDbHandle(s->c_str());
    return {};
}

std::vector<Group> binaryChunkGroups(short code, const Bytes& data) {
    constexpr std::size_t kChunk = 127;
    std::vector<Group> groups;
    for (std::size_t at = 0; at < data.size(); at += kChunk) {
        const auto first = data.begin() + static_cast<std::ptrdiff_t>(at);
        const std::size_t size = std::min(kChunk, data.size() - at);
        groups.push_back({code, Bytes(first, first + static_cast<std::ptrdiff_t>(size))});
    }
    return groups;
}

GroupValue emptyValueFor(int code) {
    switch (acdbGroupCodeToType(code)) {
    case AcDb::kDwgReal:
        return 0.0;
    case AcDb::kDwg3Real:
        return AcGePoint3d();
    case AcDb::kDwgInt16:
    case AcDb::kDwgInt8:
        return Adesk::Int16(0);
    case AcDb::kDwgInt32:
        return Adesk::Int32(0);
    case AcDb::kDwgInt64:
        return Adesk::Int64(0);
    case AcDb::kDwgText:
        return std::wstring();
    case AcDb::kDwgBChunk:
        return Bytes();
    case AcDb::kDwgHandle:
    case AcDb::kDwgHardOwnershipId:
    case AcDb::kDwgSoftOwnershipId:
    case AcDb::kDwgHardPointerId:
    case AcDb::kDwgSoftPointerId:
        return AcDbHandle();
    default:
        return std::monostate();
    }
}

resbuf* toResbuf(const Group& group, AcDbDatabase* database) {
    resbuf* rb = acutNewRb(group.code);
    setResbufValue(*rb, group, database);
    return rb;
}

void setResbufValue(resbuf& item, const Group& group, AcDbDatabase* database) {
    resbuf* rb = &item;
    rb->restype = group.code;
    switch (resbufValueType(group.code)) {
    case RTREAL:
        rb->resval.rreal = group.real();
        break;
    case RT3DPOINT: {
        AcGePoint3d p = group.point();
        rb->resval.rpoint[0] = p.x;
        rb->resval.rpoint[1] = p.y;
        rb->resval.rpoint[2] = p.z;
        break;
    }
    case RTSHORT:
        rb->resval.rint = static_cast<short>(group.integer());
        break;
    case RTLONG:
        rb->resval.rlong = static_cast<Adesk::Int32>(group.integer());
        break;
    case RTINT64:
        rb->resval.mnInt64 = group.integer();
        break;
    case RTSTR:
        rb->resval.rstring = acutNewString(group.text().c_str());
        break;
    case kRtBinaryChunk: {
        const Bytes* bytes = std::get_if<Bytes>(&group.value);
        std::size_t n = bytes ? bytes->size() : 0;
        void* p = nullptr;
        acutNewBuffer(p, n);
        if (n) std::memcpy(p, bytes->data(), n);
        rb->resval.rbinary = {static_cast<short>(n), static_cast<char*>(p)};
        break;
    }
    case RTENAME: {
        AcDbObjectId id;
        if (database) database->getAcDbObjectId(id, true, group.handle());
        rb->resval.rlname[0] = id.asOldId();
        rb->resval.rlname[1] = 0;
        break;
    }
    default:
        break;
    }
}

resbuf* toResbufChain(const std::vector<Group>& groups, AcDbDatabase* database) {
    resbuf* head = nullptr;
    resbuf** tail = &head;
    for (const Group& g : groups) {
        *tail = toResbuf(g, database);
        tail = &(*tail)->rbnext;
    }
    return head;
}

Group fromResbuf(const resbuf& rb) {
    Group g{rb.restype, {}, kDefaultPrecision};
    switch (resbufValueType(rb.restype)) {
    case RTREAL:
        g.value = rb.resval.rreal;
        break;
    case RT3DPOINT:
        g.value = AcGePoint3d(rb.resval.rpoint[0], rb.resval.rpoint[1], rb.resval.rpoint[2]);
        break;
    case RTSHORT:
        g.value = Adesk::Int16(rb.resval.rint);
        break;
    case RTLONG:
        g.value = Adesk::Int32(rb.resval.rlong);
        break;
    case RTINT64:
        g.value = Adesk::Int64(rb.resval.mnInt64);
        break;
    case RTSTR: {
        std::wstring s = rb.resval.rstring ? rb.resval.rstring : L"";
        if (acdbGroupCodeToType(rb.restype) == AcDb::kDwgHandle)
            g.value = AcDbHandle(s.c_str());
        else
            g.value = std::move(s);
        break;
    }
    case kRtBinaryChunk: {
        const ads_binary& b = rb.resval.rbinary;
        g.value = b.buf && b.clen > 0 ? Bytes(b.buf, b.buf + b.clen) : Bytes();
        break;
    }
    case RTENAME: {
        AcDbObjectId id;
        if (acdbGetObjectId(id, rb.resval.rlname) == Acad::eOk)
            g.value = id.handle();
        else
            g.value = AcDbHandle();
        break;
    }
    default:
        break;
    }
    return g;
}

std::vector<Group> fromResbufChain(const resbuf* rb) {
    std::vector<Group> groups;
    for (; rb; rb = rb->rbnext)
        groups.push_back(fromResbuf(*rb));
    return groups;
}

} // namespace host
