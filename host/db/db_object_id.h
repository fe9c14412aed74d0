#pragma once
// Handles and object ids. A handle is the 64-bit number that names an object in its drawing for good; an id
// designates the object in an open database (it points at the database's entry for that handle).
#include <string>

#include "host/rx/adesk.h"

class AcDbDatabase;
class AcDbObject;

class AcDbHandle {
public:
    AcDbHandle() = default;
    explicit AcDbHandle(Adesk::UInt64 value) : m_value(value) {}
    // From hexadecimal text; invalid text gives the null handle.
    explicit AcDbHandle(const ACHAR* hex);
    bool isNull() const { return m_value == 0; }
    void setNull() { m_value = 0; }
    Adesk::UInt64 value() const { return m_value; }
    AcDbHandle& operator++() {
        ++m_value;
        return *this;
    }
    // Upper-case hexadecimal without leading zeros ("0" for null); false when the buffer is too small.
    bool getIntoAsciiBuffer(ACHAR* buffer, std::size_t size) const;
    std::wstring text() const;
    auto operator<=>(const AcDbHandle&) const = default;

private:
    Adesk::UInt64 m_value = 0;
};

namespace host {
// The database's entry for one handle. `object` is null for a handle referred to but not (yet) loaded.
struct ObjectStub {
    AcDbHandle handle;
    AcDbDatabase* database = nullptr;
    AcDbObject* object = nullptr;
    bool erased = false;
};
} // namespace host

class AcDbObjectId {
public:
    AcDbObjectId() = default;
    explicit AcDbObjectId(host::ObjectStub* stub) : m_stub(stub) {}
    bool isNull() const { return m_stub == nullptr; }
    // Not null, and an object stands behind it.
    bool isValid() const { return m_stub && m_stub->object; }
    bool isErased() const { return m_stub && m_stub->erased; }
    AcDbHandle handle() const { return m_stub ? m_stub->handle : AcDbHandle(); }
    AcDbDatabase* database() const { return m_stub ? m_stub->database : nullptr; }
    AcDbObjectId& setNull() {
        m_stub = nullptr;
        return *this;
    }
    // The id as one 64-bit value (what entity names carry); fromOldId turns it back.
    Adesk::IntDbId asOldId() const { return reinterpret_cast<Adesk::IntDbId>(m_stub); }
    AcDbObjectId& setFromOldId(Adesk::IntDbId id) {
        m_stub = reinterpret_cast<host::ObjectStub*>(id);
        return *this;
    }
    host::ObjectStub* stub() const { return m_stub; }
    auto operator<=>(const AcDbObjectId&) const = default;
    static const AcDbObjectId kNull;

private:
    host::ObjectStub* m_stub = nullptr;
};
