#pragma once
// Binary filing of objects: files, copies between objects and undo images all go through this interface.
#include <string>
#include <vector>

#include "host/db/acdb.h"
#include "host/db/db_object_id.h"
#include "host/ge/ge.h"
#include "host/rx/acad_status.h"
#include "host/rx/rx.h"

namespace host {
// The version of the host's binary drawing. 2 tells entities from other objects, so that objects of classes
// not loaded are kept as proxies of the right kind; 3 adds each object's proxy-graphics image, so that a host
// without the module can still show the entity; 4 adds the attributes a block reference owns; 5 adds each
// object's extension dictionary and the version each record was filed in (a proxy's record keeps the one it
// came in); 6 adds a block's marker flags, external reference path and description.
constexpr Adesk::UInt32 kDrawingVersion = 6;
} // namespace host

class AcDbDwgFiler : public AcRxObject {
    HOST_DECLARE_MEMBERS(AcDbDwgFiler)
public:
    virtual AcDb::FilerType filerType() const = 0;
    // The version of the binary drawing whose records are read: the current one but for a file's.
    virtual Adesk::UInt32 drawingVersion() const { return host::kDrawingVersion; }
    virtual Acad::ErrorStatus filerStatus() const = 0;
    virtual void setFilerStatus(Acad::ErrorStatus status) = 0;
    void resetFilerStatus() { setFilerStatus(Acad::eOk); }
    virtual AcDbDatabase* database() const = 0;

    // Raw bytes; every typed item below is built on them, little-endian.
    virtual Acad::ErrorStatus readBytes(void* buffer, std::size_t size) = 0;
    virtual Acad::ErrorStatus writeBytes(const void* buffer, std::size_t size) = 0;

    Acad::ErrorStatus readInt8(Adesk::Int8* v) { return readBytes(v, 1); }
    Acad::ErrorStatus readInt16(Adesk::Int16* v) { return readBytes(v, 2); }
    Acad::ErrorStatus readInt32(Adesk::Int32* v) { return readBytes(v, 4); }
    Acad::ErrorStatus readInt64(Adesk::Int64* v) { return readBytes(v, 8); }
    Acad::ErrorStatus readUInt8(Adesk::UInt8* v) { return readBytes(v, 1); }
    Acad::ErrorStatus readUInt16(Adesk::UInt16* v) { return readBytes(v, 2); }
    Acad::ErrorStatus readUInt32(Adesk::UInt32* v) { return readBytes(v, 4); }
    Acad::ErrorStatus readUInt64(Adesk::UInt64* v) { return readBytes(v, 8); }
    Acad::ErrorStatus readBool(bool* v);
    // A file's doubles are finite and its texts hold Unicode characters other than NUL: a value no other
    // format could write is refused (see refuseValue) rather than kept.
    Acad::ErrorStatus readDouble(double* v);
    Acad::ErrorStatus readPoint2d(AcGePoint2d* p) { return readDoubles(&p->x, &p->y); }
    Acad::ErrorStatus readPoint3d(AcGePoint3d* p) { return readDoubles(&p->x, &p->y, &p->z); }
    Acad::ErrorStatus readVector2d(AcGeVector2d* v) { return readDoubles(&v->x, &v->y); }
    Acad::ErrorStatus readVector3d(AcGeVector3d* v) { return readDoubles(&v->x, &v->y, &v->z); }
    Acad::ErrorStatus readScale3d(AcGeScale3d* s) { return readDoubles(&s->sx, &s->sy, &s->sz); }
    // The text is allocated with acutNewString; the caller frees it with acutDelString.
    Acad::ErrorStatus readString(ACHAR** text);
    Acad::ErrorStatus readString(std::wstring& text);
    Acad::ErrorStatus readAcDbHandle(AcDbHandle* h);
    Acad::ErrorStatus readHardOwnershipId(AcDbObjectId* id) { return readObjectId(id); }
    Acad::ErrorStatus readHardPointerId(AcDbObjectId* id) { return readObjectId(id); }
    Acad::ErrorStatus readSoftPointerId(AcDbObjectId* id) { return readObjectId(id); }

    Acad::ErrorStatus writeInt8(Adesk::Int8 v) { return writeBytes(&v, 1); }
    Acad::ErrorStatus writeInt16(Adesk::Int16 v) { return writeBytes(&v, 2); }
    Acad::ErrorStatus writeInt32(Adesk::Int32 v) { return writeBytes(&v, 4); }
    Acad::ErrorStatus writeInt64(Adesk::Int64 v) { return writeBytes(&v, 8); }
    Acad::ErrorStatus writeUInt8(Adesk::UInt8 v) { return writeBytes(&v, 1); }
    Acad::ErrorStatus writeUInt16(Adesk::UInt16 v) { return writeBytes(&v, 2); }
    Acad::ErrorStatus writeUInt32(Adesk::UInt32 v) { return writeBytes(&v, 4); }
    Acad::ErrorStatus writeUInt64(Adesk::UInt64 v) { return writeBytes(&v, 8); }
    Acad::ErrorStatus writeBool(bool v) { return writeUInt8(v ? 1 : 0); }
    Acad::ErrorStatus writeDouble(double v) { return writeBytes(&v, 8); }
    Acad::ErrorStatus writePoint2d(const AcGePoint2d& p) { return writeDoubles(p.x, p.y); }
    Acad::ErrorStatus writePoint3d(const AcGePoint3d& p) { return writeDoubles(p.x, p.y, p.z); }
    Acad::ErrorStatus writeVector2d(const AcGeVector2d& v) { return writeDoubles(v.x, v.y); }
    Acad::ErrorStatus writeVector3d(const AcGeVector3d& v) { return writeDoubles(v.x, v.y, v.z); }
    Acad::ErrorStatus writeScale3d(const AcGeScale3d& s) { return writeDoubles(s.sx, s.sy, s.sz); }
    Acad::ErrorStatus writeString(const ACHAR* text);
    Acad::ErrorStatus writeString(const std::wstring& text) { return writeString(text.c_str()); }
    Acad::ErrorStatus writeAcDbHandle(const AcDbHandle& h) { return writeUInt64(h.value()); }
    Acad::ErrorStatus writeHardOwnershipId(const AcDbObjectId& id) { return writeAcDbHandle(id.handle()); }
    Acad::ErrorStatus writeHardPointerId(const AcDbObjectId& id) { return writeAcDbHandle(id.handle()); }
    Acad::ErrorStatus writeSoftPointerId(const AcDbObjectId& id) { return writeAcDbHandle(id.handle()); }

    // Marks the item just read as one no drawing holds (eInvalidInput); `what` says what it was.
    virtual void refuseValue(const char* what);

    // A list of ids: its length, then each id.
    Acad::ErrorStatus writeIdList(const std::vector<AcDbObjectId>& ids);
    Acad::ErrorStatus readIdList(std::vector<AcDbObjectId>& ids);

private:
    // A handle read back as the id of the filer's database (null without one).
    Acad::ErrorStatus readObjectId(AcDbObjectId* id);
    // Points, vectors and scales are their coordinates in order; the status is that of the last.
    template <typename... D> Acad::ErrorStatus readDoubles(D*... values) {
        Acad::ErrorStatus es = Acad::eOk;
        ((es = readDouble(values)), ...);
        return es;
    }
    template <typename... D> Acad::ErrorStatus writeDoubles(D... values) {
        Acad::ErrorStatus es = Acad::eOk;
        ((es = writeDouble(values)), ...);
        return es;
    }
};

namespace host {

// The binary filer over a byte buffer in memory. Reading past the end answers eEndOfFile and zeros.
class DwgMemoryFiler : public AcDbDwgFiler {
public:
    DwgMemoryFiler(AcDb::FilerType type, AcDbDatabase* database, std::vector<std::uint8_t> bytes = {})
        : m_type(type), m_database(database), m_bytes(std::move(bytes)) {}

    AcDb::FilerType filerType() const override { return m_type; }
    Adesk::UInt32 drawingVersion() const override { return m_version; }
    void setDrawingVersion(Adesk::UInt32 version) { m_version = version; }
    Acad::ErrorStatus filerStatus() const override { return m_status; }
    void setFilerStatus(Acad::ErrorStatus status) override { m_status = status; }
    AcDbDatabase* database() const override { return m_database; }
    Acad::ErrorStatus readBytes(void* buffer, std::size_t size) override;
    Acad::ErrorStatus writeBytes(const void* buffer, std::size_t size) override;
    void refuseValue(const char* what) override;

    // What was refused and where, as "a number that is not finite at byte 120"; empty when nothing was.
    const std::string& fault() const { return m_fault; }
    const std::vector<std::uint8_t>& bytes() const { return m_bytes; }
    std::size_t position() const { return m_position; }
    void rewind() { m_position = 0; }
    bool atEnd() const { return m_position >= m_bytes.size(); }

private:
    AcDb::FilerType m_type;
    AcDbDatabase* m_database;
    std::vector<std::uint8_t> m_bytes;
    std::size_t m_position = 0;
    Adesk::UInt32 m_version = kDrawingVersion;
    Acad::ErrorStatus m_status = Acad::eOk;
    std::string m_fault;
};

} // namespace host
