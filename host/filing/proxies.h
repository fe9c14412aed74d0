#pragma once
// Objects of classes no loaded module defines, kept as the file gave them so that a save writes them back
// unchanged: the groups of a DXF file or the record of a binary drawing, with the class's names, handle,
// owner and extended data. When the drawing is opened again with the class's module, they become objects
// of that class.
//
// A proxy read from one format and saved to the other is written in the proxy form of that format
// (ACAD_PROXY_ENTITY or ACAD_PROXY_OBJECT in DXF, the proxy class in the binary drawing), which holds what
// the first format gave.
#include <string>
#include <type_traits>
#include <vector>

#include "host/entities/entity.h"
#include "host/filing/dwg_filer.h"
#include "host/filing/dxf_filer.h"
#include "host/filing/group.h"

namespace host {

struct ProxyContent {
    std::wstring className; // the C++ name, when the file gave it
    std::wstring dxfName;   // the DXF name, when the file gave it
    std::wstring appName;   // from a DXF file's class entry: the application and its proxy flags
    int proxyFlags = 0;
    bool fromDxf = false;
    std::vector<Group> groups; // from a DXF file: the groups after group 0 up to the extended data
    Bytes record;              // from a binary drawing: the object's whole record
    Adesk::UInt32 recordVersion = kDrawingVersion; // the binary drawing version the record was filed in
    Bytes graphics;      // from a binary drawing: the entity's proxy-graphics image, when it had one
    int classNumber = 0; // read from a DXF proxy form: its class's number in CLASSES, until named
    std::wstring shownName() const { return dxfName.empty() ? className : dxfName; }
};

} // namespace host

namespace host {

Acad::ErrorStatus readProxyRecord(AcDbDwgFiler* filer, ProxyContent& content);
Acad::ErrorStatus writeProxyRecord(AcDbDwgFiler* filer, const ProxyContent& content);
Acad::ErrorStatus readProxyGroups(AcDbDxfFiler* filer, ProxyContent& content, bool entity);
// Whether the groups a DXF file gave hold the object's handle.
bool namesItsHandle(const ProxyContent& content);
// The groups of the proxy of the object `own` is the handle of; the groups a DXF file gave name that handle
// where they name the object's.
Acad::ErrorStatus writeProxyGroups(AcDbDxfFiler* filer, const ProxyContent& content, bool entity,
                                   AcDbHandle own);
// The class number group 91 of a proxy form holds: the writer of the file gives the class's number there.
constexpr int kProxyClassNumberCode = 91;
// Numbers of the CLASSES section: the first class is numbered 500, the next 501, and so on.
constexpr int kFirstClassNumber = 500;

// The filing both proxies share. The owner, reactors and extended data are the object's own. A proxy entity
// keeps its entity fields among what the file gave; in the proxy form of DXF it writes them as its own, as
// DXF readers expect, and reads them back.
template <typename Base> class ProxyOf : public Base {
    static constexpr bool kEntity = std::is_same_v<Base, AcDbEntity>;

public:
    ProxyContent& content() { return m_content; }
    const ProxyContent& content() const { return m_content; }

    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override {
        if (Acad::ErrorStatus es = AcDbObject::dwgInFields(filer); es != Acad::eOk) return es;
        return readProxyRecord(filer, m_content);
    }
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override {
        if (Acad::ErrorStatus es = AcDbObject::dwgOutFields(filer); es != Acad::eOk) return es;
        return writeProxyRecord(filer, m_content);
    }
    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override {
        // The reader gave the groups of a class it does not know as a list, read here up to its subclasses.
        const Acad::ErrorStatus es =
            m_content.fromDxf ? AcDbObject::dxfInFields(filer) : Base::dxfInFields(filer);
        return es != Acad::eOk ? es : readProxyGroups(filer, m_content, kEntity);
    }
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override {
        if (!m_content.fromDxf) {
            if (Acad::ErrorStatus es = Base::dxfOutFields(filer); es != Acad::eOk) return es;
        } else if (!namesItsHandle(m_content)) {
            // The handle the reader gave it, so that the next reading gives the same one.
            filer->writeAcDbHandle(AcDb::kDxfHandle, this->handle());
        }
        return writeProxyGroups(filer, m_content, kEntity, this->handle());
    }

private:
    ProxyContent m_content;
};

} // namespace host

class AcDbProxyObject : public host::ProxyOf<AcDbObject> {
    HOST_DECLARE_MEMBERS(AcDbProxyObject)
};

class AcDbProxyEntity : public host::ProxyOf<AcDbEntity> {
    HOST_DECLARE_MEMBERS(AcDbProxyEntity)
public:
    // Draws the proxy graphics the file kept with the entity, when it kept some.
    bool subWorldDraw(AcGiWorldDraw* draw) override;
};

namespace host {

// The proxy graphics kept with the entity: those a binary drawing gave, or those among the entity groups of a
// DXF file (groups 310 of the AcDbEntity subclass); empty when there are none.
Bytes proxyGraphicsImage(const ProxyContent& content);
// The proxy's content; null when the object is no proxy.
const ProxyContent* proxyContent(const AcDbObject* object);
ProxyContent* proxyContent(AcDbObject* object);
// A new proxy entity or object holding `content`.
AcDbObject* makeProxy(bool entity, ProxyContent content);
// Replaces every proxy whose class is now registered by an object of that class, filed in from what the proxy
// kept. Throws std::runtime_error naming the object when its class refuses that data.
void restoreProxies(AcDbDatabase& database);
// How many objects of the database are proxies.
int proxyCount(const AcDbDatabase& database);

} // namespace host
