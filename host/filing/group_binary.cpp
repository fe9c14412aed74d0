#include "host/filing/group_binary.h"

#include <algorithm>

#include "host/db/database.h"
#include "host/filing/dxf_filer.h"

namespace host {

Acad::ErrorStatus readByteBlock(AcDbDwgFiler* filer, std::size_t size, Bytes& bytes) {
    bytes.clear();
    std::uint8_t chunk[4096];
    for (std::size_t done = 0; done < size;) {
        const std::size_t n = std::min(sizeof chunk, size - done);
        if (filer->readBytes(chunk, n) != Acad::eOk) break;
        bytes.insert(bytes.end(), chunk, chunk + n);
        done += n;
    }
    return filer->filerStatus();
}

Acad::ErrorStatus writeGroup(AcDbDwgFiler* filer, const Group& group) {
    filer->writeInt16(group.code);
    // The kind byte: the value's index, with the high bit for a point written with x and y only.
    filer->writeUInt8(static_cast<Adesk::UInt8>(group.value.index() | (group.planar ? 0x80 : 0)));
    std::visit(
        [filer](const auto& v) {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, double>)
                filer->writeDouble(v);
            else if constexpr (std::is_same_v<T, AcGePoint3d>)
                filer->writePoint3d(v);
            else if constexpr (std::is_same_v<T, Adesk::Int16>)
                filer->writeInt16(v);
            else if constexpr (std::is_same_v<T, Adesk::Int32>)
                filer->writeInt32(v);
            else if constexpr (std::is_same_v<T, Adesk::Int64>)
                filer->writeInt64(v);
            else if constexpr (std::is_same_v<T, std::wstring>)
                filer->writeString(v);
            else if constexpr (std::is_same_v<T, Bytes>) {
                filer->writeInt32(static_cast<Adesk::Int32>(v.size()));
                filer->writeBytes(v.data(), v.size());
            } else if constexpr (std::is_same_v<T, AcDbHandle>)
                filer->writeAcDbHandle(v);
        },
        group.value);
    return filer->filerStatus();
}

Acad::ErrorStatus readGroup(AcDbDwgFiler* filer, Group& group) {
    Adesk::Int16 code = 0;
    Adesk::UInt8 kind = 0;
    filer->readInt16(&code);
    filer->readUInt8(&kind);
    group = Group{code, {}, kDefaultPrecision};
    group.planar = kind & 0x80;
    switch (kind & 0x7F) {
    case 0:
        break;
    case 1: {
        double v = 0;
        filer->readDouble(&v);
        group.value = v;
        break;
    }
    case 2: {
        AcGePoint3d p;
        filer->readPoint3d(&p);
        group.value = p;
        break;
    }
    case 3: {
        Adesk::Int16 v = 0;
        filer->readInt16(&v);
        group.value = v;
        break;
    }
    case 4: {
        Adesk::Int32 v = 0;
        filer->readInt32(&v);
        group.value = v;
        break;
    }
    case 5: {
        Adesk::Int64 v = 0;
        filer->readInt64(&v);
        group.value = v;
        break;
    }
    case 6: {
        std::wstring s;
        filer->readString(s);
        group.value = std::move(s);
        break;
    }
    case 7: {
        Adesk::Int32 n = 0;
        filer->readInt32(&n);
        if (n < 0 || n > (1 << 24)) return Acad::eFilerError;
        Bytes bytes;
        readByteBlock(filer, static_cast<std::size_t>(n), bytes);
        group.value = std::move(bytes);
        break;
    }
    case 8: {
        AcDbHandle h;
        filer->readAcDbHandle(&h);
        group.value = h;
        break;
    }
    default:
        filer->setFilerStatus(Acad::eFilerError);
    }
    // A code carries values of one kind; any other could not be written to a DXF file and read back. So
    // could no handle at or above the limit.
    const AcDbHandle* handle = std::get_if<AcDbHandle>(&group.value);
    if (filer->filerStatus() == Acad::eOk && handle && handle->value() >= AcDbDatabase::kHandleLimit)
        filer->refuseValue(
            ("group " + std::to_string(code) + " with a handle that cannot be followed").c_str());
    if (filer->filerStatus() == Acad::eOk &&
        (group.value.index() == 0 || group.value.index() != emptyValueFor(code).index() ||
         (group.planar && !std::holds_alternative<AcGePoint3d>(group.value))))
        filer->refuseValue(("group " + std::to_string(code) + " with a value of kind " +
                            std::to_string(kind) + " it cannot hold")
                               .c_str());
    return filer->filerStatus();
}

Acad::ErrorStatus writeGroups(AcDbDwgFiler* filer, const std::vector<Group>& groups) {
    filer->writeInt32(static_cast<Adesk::Int32>(groups.size()));
    for (const Group& g : groups)
        writeGroup(filer, g);
    return filer->filerStatus();
}

Acad::ErrorStatus readGroups(AcDbDwgFiler* filer, std::vector<Group>& groups) {
    groups.clear();
    Adesk::Int32 n = 0;
    filer->readInt32(&n);
    for (Adesk::Int32 i = 0; i < n && filer->filerStatus() == Acad::eOk; ++i) {
        Group g;
        if (readGroup(filer, g) == Acad::eOk) groups.push_back(std::move(g));
    }
    return filer->filerStatus();
}

Acad::ErrorStatus readObjectGroups(AcDbDwgFiler* filer, std::vector<Group>& groups) {
    if (readGroups(filer, groups) == Acad::eOk &&
        std::any_of(groups.begin(), groups.end(),
                    [](const Group& g) { return g.code == 0 || g.code >= AcDb::kDxfRegAppName; }))
        filer->refuseValue("a kept group that ends its object or starts its extended data");
    return filer->filerStatus();
}

} // namespace host

static_assert(std::variant_size_v<host::GroupValue> == 9, "readGroup knows each value kind by its index");
