#include "cadutil/resbuf/rb_values.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <map>
#include <string>
#include <vector>

#include "cadutil/command_line/print.h"
#include "cadutil/resbuf/dxf_code_types.h"

namespace {

int typeOf(int code) {
    int type = RTNONE, size = 0;
    dxfCodeType(code, type, size);
    return type;
}

bool insideValue(const resbuf* node, const void* p) {
    auto* begin = reinterpret_cast<const char*>(&node->resval);
    auto* q = static_cast<const char*>(p);
    return q >= begin && q < begin + sizeof node->resval;
}

// Where a text kept in the node starts: after the pointer.
ACHAR* inNodeText(resbuf* node) {
    return reinterpret_cast<ACHAR*>(reinterpret_cast<char*>(&node->resval) + sizeof(ACHAR*));
}

constexpr int kMaxChunk = 32767;

} // namespace

bool rbValueInNode(const resbuf* node) {
    int type = typeOf(node->restype);
    if (type == RTSTR) return node->resval.rstring && insideValue(node, node->resval.rstring);
    if (type == RTBINARY) return node->resval.rbinary.buf && insideValue(node, node->resval.rbinary.buf);
    return false;
}

void rbFreeValue(resbuf* node, bool release) {
    if (!node) return;
    int type = typeOf(node->restype);
    if (type == RTSTR) {
        bool inside = rbValueInNode(node);
        if (release && !inside) acutDelString(node->resval.rstring);
        if (inside) node->resval.rstring = nullptr;
    } else if (type == RTBINARY) {
        bool inside = rbValueInNode(node);
        if (release && !inside) {
            void* p = node->resval.rbinary.buf;
            acutDelBuffer(p);
        }
        if (release || inside) {
            node->resval.rbinary.buf = nullptr;
            node->resval.rbinary.clen = 0;
        }
    }
}

void rbSetWideText(resbuf* node, const ACHAR* text, std::size_t length) {
    rbFreeValue(node, true);
    if (!text) text = L"";
    std::size_t n = std::wcslen(text);
    if (length && length < n) n = length;
    ACHAR* copy;
    if (n <= kInNodeChars) {
        std::memset(&node->resval, 0, sizeof node->resval);
        copy = inNodeText(node);
    } else {
        void* buffer = nullptr;
        acutNewBuffer(buffer, (n + 1) * sizeof(ACHAR));
        copy = static_cast<ACHAR*>(buffer);
    }
    std::wmemcpy(copy, text, n);
    copy[n] = 0;
    node->resval.rstring = copy;
}

void rbSetString(resbuf* node, int code, const ACHAR* text) {
    rbFreeValue(node, true);
    node->restype = static_cast<short>(code);
    rbSetWideText(node, text);
}

void rbSetNarrowText(resbuf* node, const char* text) {
    std::wstring wide;
    for (const char* p = text ? text : ""; *p; ++p)
        wide += static_cast<unsigned char>(*p);
    rbSetWideText(node, wide.c_str());
}

void rbSetText(resbuf* node, int code, const char* text) {
    rbFreeValue(node, true);
    node->restype = static_cast<short>(code);
    rbSetNarrowText(node, text);
}

void rbSetName(resbuf* node, int code, const ads_name name) {
    rbFreeValue(node, true);
    node->restype = static_cast<short>(code);
    node->resval.rlname[0] = name[0];
    node->resval.rlname[1] = name[1];
}

void rbSetInt(resbuf* node, int code, Adesk::Int32 value) {
    rbFreeValue(node, true);
    node->restype = static_cast<short>(code);
    std::memset(&node->resval, 0, sizeof node->resval);
    node->resval.rlong = value;
}

void rbSetPoint(resbuf* node, int code, const ads_point point) {
    rbFreeValue(node, true);
    node->restype = static_cast<short>(code);
    std::copy(point, point + 3, node->resval.rpoint);
}

void rbSetValue(resbuf* node, int code, double value) {
    rbFreeValue(node, true);
    node->restype = static_cast<short>(code);
    std::memset(&node->resval, 0, sizeof node->resval);
    node->resval.rreal = value;
}

void rbCopy(resbuf* dest, const resbuf* source) {
    if (!dest || !source || dest == source) return;
    rbFreeValue(dest, true);
    dest->restype = source->restype;
    int type = typeOf(source->restype);
    if (type == RTSTR) {
        dest->resval.rstring = nullptr;
        rbSetWideText(dest, source->resval.rstring);
    } else if (type == RTBINARY) {
        dest->resval.rbinary = {0, nullptr};
        if (source->resval.rbinary.buf && source->resval.rbinary.clen > 0)
            allocBinfrom(dest, source->resval.rbinary.buf, source->resval.rbinary.clen);
    } else {
        dest->resval = source->resval;
    }
}

char* allocBinfrom(resbuf* node, const void* data, int size) {
    if (size > kMaxChunk) {
        msgprintf("\n***Erreur allocBinfrom ; taille = %d > %d ", size, kMaxChunk);
        return nullptr;
    }
    rbFreeValue(node, true);
    int bytes = size;
    if (size <= 0) {
        msgprintf("\n***Erreur allocBinfrom ; taille = 0 ");
        bytes = 16;
    }
    void* buffer = nullptr;
    acutNewBuffer(buffer, static_cast<std::size_t>(bytes));
    if (size > 0 && data) std::memcpy(buffer, data, static_cast<std::size_t>(size));
    node->resval.rbinary = {static_cast<short>(bytes), static_cast<char*>(buffer)};
    return static_cast<char*>(buffer);
}

namespace {

// The copies uval_rbval hands out, one per value it was asked about.
std::map<const ads_u_val*, std::vector<char>>& copies() {
    static std::map<const ads_u_val*, std::vector<char>> made;
    return made;
}

} // namespace

const void* uval_rbval(int code, const ads_u_val* value) {
    if (!value) return nullptr;
    int type = typeOf(code);
    std::vector<char>& copy = copies()[value];
    if (type == RTSTR) {
        if (!value->rstring) return nullptr;
        copy.clear();
        for (const ACHAR* p = value->rstring; *p; ++p)
            copy.push_back(static_cast<char>(*p & 0xff));
        copy.push_back('\0');
        return copy.data();
    }
    if (type == RTBINARY) {
        short length = value->rbinary.buf ? value->rbinary.clen : 0;
        if (length < 0) length = 0;
        copy.assign(sizeof length + static_cast<std::size_t>(length), '\0');
        std::memcpy(copy.data(), &length, sizeof length);
        if (length)
            std::memcpy(copy.data() + sizeof length, value->rbinary.buf, static_cast<std::size_t>(length));
        return copy.data();
    }
    copies().erase(value);
    return value;
}

void resetValueCopies() {
    copies().clear();
}
