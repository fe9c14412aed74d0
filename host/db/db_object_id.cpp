#include "host/db/db_object_id.h"

#include <cctype>
#include <charconv>
#include <cstring>
#include <cwchar>

#include "host/filing/text_codec.h"

const AcDbObjectId AcDbObjectId::kNull;

AcDbHandle::AcDbHandle(const ACHAR* hex) {
    std::string digits = hex ? host::toUtf8(hex) : "";
    Adesk::UInt64 v = 0;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), v, 16);
    if (ec == std::errc() && end == digits.data() + digits.size()) m_value = v;
}

std::wstring AcDbHandle::text() const {
    char buffer[24];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, m_value, 16);
    std::wstring out;
    for (char* p = buffer; p != end; ++p)
        out += static_cast<wchar_t>(std::toupper(static_cast<unsigned char>(*p)));
    return out;
}

bool AcDbHandle::getIntoAsciiBuffer(ACHAR* buffer, std::size_t size) const {
    std::wstring t = text();
    if (!buffer || t.size() + 1 > size) return false;
    std::wmemcpy(buffer, t.c_str(), t.size() + 1);
    return true;
}
