#pragma once
// DXF filing of objects: a sequence of groups (code and value), in drawing files and in entity lists.
#include <string>
#include <vector>

#include "host/db/acdb.h"
#include "host/filing/group.h"
#include "host/rx/acad_status.h"
#include "host/rx/rx.h"

namespace AcDb {
enum DxfCode {
    kDxfStart = 0,
    kDxfText = 1,
    kDxfHandle = 5,
    kDxfLinetypeName = 6,
    kDxfLayerName = 8,
    kDxfXCoord = 10,
    kDxfThickness = 39,
    kDxfReal = 40,
    kDxfInt16 = 70,
    kDxfInt32 = 90,
    kDxfSubclass = 100,
    kDxfNormalX = 210,
    kDxfSoftPointerId = 330,
    kDxfHardPointerId = 340,
    kDxfHardOwnershipId = 360,
    kDxfXdAsciiString = 1000,
    kDxfRegAppName = 1001,
};
constexpr int kDfltPrec = -1;
} // namespace AcDb

class AcDbDxfFiler : public AcRxObject {
    HOST_DECLARE_MEMBERS(AcDbDxfFiler)
public:
    virtual AcDb::FilerType filerType() const = 0;
    virtual Acad::ErrorStatus filerStatus() const = 0;
    virtual void setFilerStatus(Acad::ErrorStatus status) = 0;
    void resetFilerStatus() { setFilerStatus(Acad::eOk); }
    virtual AcDbDatabase* database() const = 0;

    // The next group of the current object. At the object's end (its next object, or its extended data)
    // the answer is eEndOfFile. A text value stays valid until the next read.
    virtual Acad::ErrorStatus readItem(resbuf* item) = 0;
    Acad::ErrorStatus readResBuf(resbuf* item) { return readItem(item); }
    // The last group read is delivered again by the next readItem.
    virtual Acad::ErrorStatus pushBackItem() = 0;
    // True, consuming it, when the next group is the subclass marker `name`.
    virtual bool atSubclassData(const ACHAR* name) = 0;
    virtual bool atEOF() const = 0;
    virtual bool atEndOfObject() const = 0;

    // The extended data of the current object (from its first 1001 group to its end), consumed.
    virtual std::vector<host::Group> takeExtendedData() = 0;
    // Host internal: the group the last readItem delivered, as the file gave it (a 2-D point stays one),
    // for what keeps groups it does not model; valid until the next read.
    virtual const host::Group& lastGroupRead() const = 0;

    virtual Acad::ErrorStatus writeGroup(const host::Group& group) = 0;
    Acad::ErrorStatus writeItem(const resbuf& item) { return writeGroup(host::fromResbuf(item)); }
    Acad::ErrorStatus writeResBuf(const resbuf& item) { return writeItem(item); }
    Acad::ErrorStatus writeInt8(int code, Adesk::Int8 v) {
        return writeGroup({short(code), Adesk::Int16(v)});
    }
    Acad::ErrorStatus writeInt16(int code, Adesk::Int16 v) { return writeGroup({short(code), v}); }
    Acad::ErrorStatus writeInt32(int code, Adesk::Int32 v) { return writeGroup({short(code), v}); }
    Acad::ErrorStatus writeInt64(int code, Adesk::Int64 v) { return writeGroup({short(code), v}); }
    Acad::ErrorStatus writeUInt16(int code, Adesk::UInt16 v) { return writeInt16(code, Adesk::Int16(v)); }
    Acad::ErrorStatus writeUInt32(int code, Adesk::UInt32 v) { return writeInt32(code, Adesk::Int32(v)); }
    Acad::ErrorStatus writeBool(int code, bool v) { return writeInt16(code, v ? 1 : 0); }
    Acad::ErrorStatus writeDouble(int code, double v, int precision = AcDb::kDfltPrec) {
        return writeGroup({short(code), v, precision});
    }
    Acad::ErrorStatus writeAngle(int code, double v, int precision = AcDb::kDfltPrec) {
        return writeDouble(code, v, precision);
    }
    Acad::ErrorStatus writePoint2d(int code, const AcGePoint2d& p, int precision = AcDb::kDfltPrec);
    Acad::ErrorStatus writePoint3d(int code, const AcGePoint3d& p, int precision = AcDb::kDfltPrec) {
        return writeGroup({short(code), p, precision});
    }
    Acad::ErrorStatus writeVector3d(int code, const AcGeVector3d& v, int precision = AcDb::kDfltPrec) {
        return writePoint3d(code, AcGePoint3d(v.x, v.y, v.z), precision);
    }
    Acad::ErrorStatus writeString(int code, const ACHAR* text) {
        return writeGroup({short(code), std::wstring(text ? text : L"")});
    }
    Acad::ErrorStatus writeString(int code, const std::wstring& text) {
        return writeGroup({short(code), text});
    }
    Acad::ErrorStatus writeObjectId(int code, const AcDbObjectId& id) {
        return writeGroup({short(code), id.handle()});
    }
    Acad::ErrorStatus writeAcDbHandle(int code, const AcDbHandle& h) { return writeGroup({short(code), h}); }
    Acad::ErrorStatus writeBytes(int code, const host::Bytes& bytes) {
        return writeGroup({short(code), bytes});
    }
};

namespace host {

// The reading rules every DXF filer keeps, whatever its groups come from: an object's groups run up to its
// next group 0 (which the owner of the groups handles), its extended data from its first 1001; the last
// group read can be delivered once more; a text or bytes item stays valid until the next read.
class DxfCursorFiler : public AcDbDxfFiler {
public:
    ~DxfCursorFiler() override;
    DxfCursorFiler(const DxfCursorFiler&) = delete;
    DxfCursorFiler& operator=(const DxfCursorFiler&) = delete;

    AcDb::FilerType filerType() const override { return m_type; }
    Acad::ErrorStatus filerStatus() const override { return m_status; }
    void setFilerStatus(Acad::ErrorStatus status) override { m_status = status; }
    AcDbDatabase* database() const override { return m_database; }
    Acad::ErrorStatus readItem(resbuf* item) override;
    Acad::ErrorStatus pushBackItem() override;
    bool atSubclassData(const ACHAR* name) override;
    bool atEOF() const override { return !upcoming(); }
    bool atEndOfObject() const override;
    std::vector<Group> takeExtendedData() override;
    const Group& lastGroupRead() const override { return *m_last; }

protected:
    DxfCursorFiler(AcDb::FilerType type, AcDbDatabase* database) : m_type(type), m_database(database) {}

    // The source's next group, null at its end (or where its next group cannot be read).
    virtual const Group* peekGroup() const = 0;
    // Takes the source's next group, which exists; the reference holds until the source moves again.
    virtual const Group& takeGroup() = 0;
    // Makes the group taken last the source's next again.
    virtual void untakeGroup() = 0;

private:
    // The next group of the current object, null past its end.
    const Group* upcoming() const;
    const Group& take();

    AcDb::FilerType m_type;
    AcDbDatabase* m_database;
    Acad::ErrorStatus m_status = Acad::eOk;
    bool m_canPushBack = false;   // a group was taken and not given back
    const Group* m_last = nullptr; // the group taken last
    resbuf* m_lastText = nullptr; // owns the text or bytes of the last item read
};

// A DXF filer over a list of groups in memory: entity lists are made from it, and DXF files use it for the
// objects that need their groups as a list (proxies, the root dictionary).
class DxfGroupFiler : public DxfCursorFiler {
public:
    DxfGroupFiler(AcDb::FilerType type, AcDbDatabase* database, std::vector<Group> groups = {})
        : DxfCursorFiler(type, database), m_groups(std::move(groups)) {}

    Acad::ErrorStatus writeGroup(const Group& group) override;
    const std::vector<Group>& groups() const { return m_groups; }

private:
    const Group* peekGroup() const override;
    const Group& takeGroup() override { return m_groups[m_position++]; }
    void untakeGroup() override { --m_position; }

    std::vector<Group> m_groups;
    std::size_t m_position = 0;
};

// Reads the groups of the current subclass, handing each to `take`, up to the next subclass marker (left
// for the next reader) or the end of the object.
template <typename F> Acad::ErrorStatus readSubclassGroups(AcDbDxfFiler* filer, F take) {
    resbuf rb;
    Acad::ErrorStatus es;
    while ((es = filer->readItem(&rb)) == Acad::eOk) {
        if (rb.restype == 100) {
            filer->pushBackItem();
            return Acad::eOk;
        }
        take(rb);
    }
    return es == Acad::eEndOfFile ? Acad::eOk : es;
}

} // namespace host
