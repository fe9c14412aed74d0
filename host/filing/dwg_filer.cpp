#include "host/filing/dwg_filer.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <cwchar>

#include "host/db/database.h"
#include "host/db/resbuf.h"

static_assert(std::endian::native == std::endian::little,
              "the binary filer writes native little-endian values");

HOST_DEFINE_ABSTRACT(AcDbDwgFiler, AcRxObject)

// Strings are a 32-bit count of characters, then each character as 32 bits; a count of -1 is a null text.
Acad::ErrorStatus AcDbDwgFiler::readString(std::wstring& text) {
    text.clear();
    Adesk::Int32 n = 0;
    if (Acad::ErrorStatus es = readInt32(&n); es != Acad::eOk) return es;
    if (n < 0) return Acad::eOk;
    const bool checked = filerType() == AcDb::kFileFiler;
    for (Adesk::Int32 i = 0; i < n; ++i) {
        Adesk::UInt32 c = 0;
        if (Acad::ErrorStatus es = readUInt32(&c); es != Acad::eOk) return es;
        if (checked && (c == 0 || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))) {
            refuseValue("a text with a character that is not one");
            return filerStatus();
        }
        text += static_cast<wchar_t>(c);
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDbDwgFiler::readDouble(double* v) {
    const Acad::ErrorStatus es = readBytes(v, 8);
    if (es == Acad::eOk && filerType() == AcDb::kFileFiler && !std::isfinite(*v)) {
        refuseValue("a number that is not finite");
        return filerStatus();
    }
    return es;
}

void AcDbDwgFiler::refuseValue(const char*) {
    if (filerStatus() == Acad::eOk) setFilerStatus(Acad::eInvalidInput);
}

Acad::ErrorStatus AcDbDwgFiler::readString(ACHAR** text) {
    std::wstring s;
    Acad::ErrorStatus es = readString(s);
    *text = acutNewString(s.c_str());
    return es;
}

Acad::ErrorStatus AcDbDwgFiler::writeString(const ACHAR* text) {
    if (!text) return writeInt32(-1);
    std::size_t n = std::wcslen(text);
    writeInt32(static_cast<Adesk::Int32>(n));
    for (std::size_t i = 0; i < n; ++i)
        writeUInt32(static_cast<Adesk::UInt32>(text[i]));
    return filerStatus();
}

Acad::ErrorStatus AcDbDwgFiler::readBool(bool* v) {
    Adesk::UInt8 b = 0;
    Acad::ErrorStatus es = readUInt8(&b);
    *v = b != 0;
    return es;
}

Acad::ErrorStatus AcDbDwgFiler::readAcDbHandle(AcDbHandle* h) {
    Adesk::UInt64 v = 0;
    Acad::ErrorStatus es = readUInt64(&v);
    *h = AcDbHandle(v);
    return es;
}

Acad::ErrorStatus AcDbDwgFiler::readObjectId(AcDbObjectId* id) {
    AcDbHandle h;
    Acad::ErrorStatus es = readAcDbHandle(&h);
    id->setNull();
    if (es == Acad::eOk && !h.isNull() && database()) database()->getAcDbObjectId(*id, true, h);
    return es;
}

Acad::ErrorStatus AcDbDwgFiler::writeIdList(const std::vector<AcDbObjectId>& ids) {
    writeInt32(static_cast<Adesk::Int32>(ids.size()));
    for (AcDbObjectId id : ids)
        writeAcDbHandle(id.handle());
    return filerStatus();
}

Acad::ErrorStatus AcDbDwgFiler::readIdList(std::vector<AcDbObjectId>& ids) {
    ids.clear();
    Adesk::Int32 n = 0;
    readInt32(&n);
    for (Adesk::Int32 i = 0; i < n && filerStatus() == Acad::eOk; ++i) {
        AcDbObjectId id;
        readObjectId(&id);
        ids.push_back(id);
    }
    return filerStatus();
}

namespace host {

Acad::ErrorStatus DwgMemoryFiler::readBytes(void* buffer, std::size_t size) {
    if (size == 0) return m_status; // an empty block may come with no buffer at all
    if (m_status != Acad::eOk || m_bytes.size() - std::min(m_position, m_bytes.size()) < size) {
        std::memset(buffer, 0, size);
        if (m_status == Acad::eOk) m_status = Acad::eEndOfFile;
        return m_status;
    }
    std::memcpy(buffer, m_bytes.data() + m_position, size);
    m_position += size;
    return Acad::eOk;
}

void DwgMemoryFiler::refuseValue(const char* what) {
    if (m_status != Acad::eOk) return;
    m_status = Acad::eInvalidInput;
    m_fault = std::string(what) + " at byte " + std::to_string(m_position);
}

Acad::ErrorStatus DwgMemoryFiler::writeBytes(const void* buffer, std::size_t size) {
    if (size == 0) return m_status;
    const auto* p = static_cast<const std::uint8_t*>(buffer);
    m_bytes.insert(m_bytes.end(), p, p + size);
    return m_status;
}

} // namespace host
