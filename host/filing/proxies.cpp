#include "host/filing/proxies.h"

#include <algorithm>
#include <stdexcept>

#include "host/db/database.h"
#include "host/filing/dwg_filer.h"
#include "host/filing/dxf_filer.h"
#include "host/filing/group_binary.h"
#include "host/filing/text_codec.h"
#include "host/graphics/proxy_graphics_reader.h"

HOST_DEFINE_MEMBERS(AcDbProxyObject, AcDbObject, L"ACAD_PROXY_OBJECT")
HOST_DEFINE_MEMBERS(AcDbProxyEntity, AcDbEntity, L"ACAD_PROXY_ENTITY")

bool AcDbProxyEntity::subWorldDraw(AcGiWorldDraw* draw) {
    if (!draw) return true;
    const host::Bytes image = host::proxyGraphicsImage(content());
    host::drawProxyGraphics(image.data(), image.size(), *draw, database());
    return true;
}

namespace host {
namespace {

// A sane bound on a kept record, so a damaged length cannot ask for the whole memory.
constexpr Adesk::UInt32 kMaxRecordSize = 1u << 28;

// Files the real object in from what the proxy kept.
Acad::ErrorStatus fileIn(AcDbObject* real, const ProxyContent& content, std::vector<Group> xdata) {
    if (content.fromDxf) {
        std::vector<Group> groups = content.groups;
        groups.insert(groups.end(), xdata.begin(), xdata.end());
        DxfGroupFiler filer(AcDb::kFileFiler, real->database(), std::move(groups));
        return real->dxfIn(&filer);
    }
    DwgMemoryFiler filer(AcDb::kFileFiler, real->database(), content.record);
    filer.setDrawingVersion(content.recordVersion);
    Acad::ErrorStatus es = real->dwgIn(&filer);
    return es == Acad::eOk ? filer.filerStatus() : es;
}

AcRxClass* registeredClassOf(const ProxyContent& content) {
    if (AcRxClass* c = content.className.empty() ? nullptr : acrxFindAcRxClass(content.className.c_str()))
        return c;
    return content.dxfName.empty() ? nullptr : findClassByDxfName(content.dxfName);
}

// Puts an object of the proxy's class in the proxy's place; false when the class is of another kind.
bool restore(AcDbObject* proxy, AcRxClass* c) {
    AcRxObject* made = c->create();
    AcDbObject* real = AcDbObject::cast(made);
    if (!real || (AcDbEntity::cast(real) != nullptr) != (AcDbEntity::cast(proxy) != nullptr) ||
        proxy->openAs(AcDb::kForWrite) != Acad::eOk) {
        delete made;
        return false;
    }
    const ProxyContent content = *proxyContent(proxy);
    std::vector<Group> xdata = proxy->xdataGroups();
    const AcDbHandle handle = proxy->handle();
    proxy->handOverTo(real);
    delete proxy;
    Acad::ErrorStatus es = fileIn(real, content, std::move(xdata));
    real->close();
    if (es != Acad::eOk)
        throw std::runtime_error("object " + toUtf8(handle.text()) + " of class " +
                                 toUtf8(content.shownName()) + " cannot be read (" + statusName(es) + ")");
    return true;
}

} // namespace

Acad::ErrorStatus writeProxyRecord(AcDbDwgFiler* filer, const ProxyContent& content) {
    filer->writeString(content.className);
    filer->writeString(content.dxfName);
    filer->writeString(content.appName);
    filer->writeInt32(content.proxyFlags);
    filer->writeBool(content.fromDxf);
    if (content.fromDxf) return writeGroups(filer, content.groups);
    // Copies and undo images carry the image too; a drawing file keeps a binary proxy's record instead.
    filer->writeUInt32(content.recordVersion);
    for (const Bytes* bytes : {&content.record, &content.graphics}) {
        filer->writeUInt32(static_cast<Adesk::UInt32>(bytes->size()));
        filer->writeBytes(bytes->data(), bytes->size());
    }
    return filer->filerStatus();
}

Acad::ErrorStatus readProxyRecord(AcDbDwgFiler* filer, ProxyContent& content) {
    filer->readString(content.className);
    filer->readString(content.dxfName);
    filer->readString(content.appName);
    filer->readInt32(&content.proxyFlags);
    filer->readBool(&content.fromDxf);
    if (content.fromDxf) return readObjectGroups(filer, content.groups);
    filer->readUInt32(&content.recordVersion);
    if (content.recordVersion < 1 || content.recordVersion > kDrawingVersion) return Acad::eFilerError;
    for (Bytes* bytes : {&content.record, &content.graphics}) {
        Adesk::UInt32 size = 0;
        if (filer->readUInt32(&size) != Acad::eOk || size > kMaxRecordSize) return Acad::eFilerError;
        if (Acad::ErrorStatus es = readByteBlock(filer, size, *bytes); es != Acad::eOk) return es;
    }
    return Acad::eOk;
}

bool namesItsHandle(const ProxyContent& content) {
    return std::any_of(content.groups.begin(), content.groups.end(),
                       [](const Group& g) { return g.code == AcDb::kDxfHandle || g.code == 105; });
}

namespace {

// The proxy form's class numbers: 498 for every proxy entity, 499 for every other proxy object.
constexpr Adesk::Int32 kProxyEntityClass = 498, kProxyObjectClass = 499;
// The format of the record kept: this host's binary drawing (in the low word), as it filed the object.
constexpr Adesk::Int32 kRecordFormat = 3;

const wchar_t* proxySubclass(bool entity) {
    return entity ? L"AcDbProxyEntity" : L"AcDbProxyObject";
}

} // namespace

// The groups after the object's (and the entity's): those the file gave, or the proxy form of DXF holding
// the binary record: the proxy class, the class's number (given by the file's writer), the proxy graphics by
// size and chunks, the record by size in bits and chunks, no object ids (the record keeps its references),
// the format of the record, and 0 for a record of the binary filer.
Acad::ErrorStatus writeProxyGroups(AcDbDxfFiler* filer, const ProxyContent& content, bool entity,
                                   AcDbHandle own) {
    if (content.fromDxf) {
        // A damaged drawing may have kept another object's handle there: the file would name it twice.
        for (const Group& g : content.groups)
            filer->writeGroup(g.code == AcDb::kDxfHandle || g.code == 105 ? Group{g.code, own} : g);
        return filer->filerStatus();
    }
    filer->writeString(AcDb::kDxfSubclass, proxySubclass(entity));
    filer->writeInt32(90, entity ? kProxyEntityClass : kProxyObjectClass);
    filer->writeInt32(kProxyClassNumberCode, 0);
    if (entity) {
        filer->writeInt32(92, static_cast<Adesk::Int32>(content.graphics.size()));
        for (const Group& chunk : binaryChunkGroups(310, content.graphics))
            filer->writeGroup(chunk);
    }
    filer->writeInt32(93, static_cast<Adesk::Int32>(8 * content.record.size()));
    for (const Group& chunk : binaryChunkGroups(310, content.record))
        filer->writeGroup(chunk);
    filer->writeInt32(94, 0);
    filer->writeInt32(95, kRecordFormat);
    filer->writeInt16(70, 0);
    return filer->filerStatus();
}

// The proxy form: the chunks after a group 92 are the proxy graphics, those after a group 93 the record, of
// as many bits as it says.
Acad::ErrorStatus readProxyGroups(AcDbDxfFiler* filer, ProxyContent& content, bool entity) {
    if (content.fromDxf) return Acad::eOk; // the reader gave the groups
    if (!filer->atSubclassData(proxySubclass(entity))) return Acad::eBadDxfSequence;
    content.graphics.clear();
    content.record.clear();
    resbuf rb;
    Acad::ErrorStatus es;
    Bytes* target = nullptr;
    std::size_t recordBits = 0;
    while ((es = filer->readItem(&rb)) == Acad::eOk) {
        if (rb.restype == 310) {
            if (target && rb.resval.rbinary.buf && rb.resval.rbinary.clen > 0)
                target->insert(target->end(), rb.resval.rbinary.buf,
                               rb.resval.rbinary.buf + rb.resval.rbinary.clen);
            continue;
        }
        target = rb.restype == 92 ? &content.graphics : rb.restype == 93 ? &content.record : nullptr;
        if (rb.restype == 93) recordBits = static_cast<Adesk::UInt32>(rb.resval.rlong);
        if (rb.restype == kProxyClassNumberCode) content.classNumber = rb.resval.rlong;
    }
    if (es != Acad::eEndOfFile) return es;
    return content.record.size() == (recordBits + 7) / 8 ? Acad::eOk : Acad::eBadDxfSequence;
}

Bytes proxyGraphicsImage(const ProxyContent& content) {
    if (!content.fromDxf) return content.graphics;
    Bytes image;
    const auto entityGroups = std::find_if(content.groups.begin(), content.groups.end(), [](const Group& g) {
        return g.code == AcDb::kDxfSubclass && g.text() == L"AcDbEntity";
    });
    for (auto g = entityGroups; g != content.groups.end(); ++g) {
        if (g != entityGroups && g->code == AcDb::kDxfSubclass) break;
        if (const Bytes* chunk = std::get_if<Bytes>(&g->value); chunk && g->code == 310)
            image.insert(image.end(), chunk->begin(), chunk->end());
    }
    return image;
}

const ProxyContent* proxyContent(const AcDbObject* object) {
    if (auto* entity = AcDbProxyEntity::cast(object)) return &entity->content();
    if (auto* other = AcDbProxyObject::cast(object)) return &other->content();
    return nullptr;
}

ProxyContent* proxyContent(AcDbObject* object) {
    return const_cast<ProxyContent*>(proxyContent(static_cast<const AcDbObject*>(object)));
}

AcDbObject* makeProxy(bool entity, ProxyContent content) {
    if (entity) {
        auto* proxy = new AcDbProxyEntity;
        proxy->content() = std::move(content);
        return proxy;
    }
    auto* proxy = new AcDbProxyObject;
    proxy->content() = std::move(content);
    return proxy;
}

void restoreProxies(AcDbDatabase& database) {
    for (ObjectStub* stub : database.stubs())
        if (const ProxyContent* content = proxyContent(stub->object))
            if (AcRxClass* c = registeredClassOf(*content)) restore(stub->object, c);
}

int proxyCount(const AcDbDatabase& database) {
    int count = 0;
    for (ObjectStub* stub : database.stubs())
        if (!stub->erased && proxyContent(stub->object)) ++count;
    return count;
}

} // namespace host
