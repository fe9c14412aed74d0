#pragma once
// The host's string object, in which the 2019 and later hosts hand back texts of any length.
#include <string>

#include "host/rx/adesk.h"

class AcString {
public:
    AcString() = default;
    AcString(const ACHAR* text) : m_text(text ? text : L"") {}
    const ACHAR* kwszPtr() const { return m_text.c_str(); }
    int length() const { return static_cast<int>(m_text.size()); }
    bool isEmpty() const { return m_text.empty(); }

private:
    std::wstring m_text;
};
