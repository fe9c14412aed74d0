#pragma once
// The LISP functions' tests: polylines in the drawing of an editor session, and calls of the plug-in's
// functions through its dispatch with LISP values as arguments.
#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "cadutil/database/tef_color_tables.h"
#include "entity/snaps/osnap_request.h"
#include "host/lisp/lisp_functions.h"
#include "host/lisp/lisp_value.h"
#include "plugin/app/lisp_table.h"
#include "tests/cadutil/cadutil_test_support.h"
#include "tests/entity/poly_test_support.h"

namespace plugin::test {

using host::LispValue;

// Calls the function of the LISP table named `function` with `args`, as the host does.
inline LispValue callLisp(const wchar_t* function, const std::vector<LispValue>& args) {
    int code = 0;
    while (g_LispFuncTable[code].name && std::wcscmp(g_LispFuncTable[code].name, function) != 0)
        ++code;
    EXPECT_TRUE(g_LispFuncTable[code].name) << "no LISP function of that name";
    resbuf* chain = host::toResbufs(args, host::GroupMismatch::PassedAsList);
    LispValue value = host::answerCall(code, chain, [] { invokeLispFunction(); });
    acutRelRb(chain);
    return value;
}

inline LispValue nameOf(AcDbObjectId id) {
    ads_name name;
    acdbGetAdsName(name, id);
    return LispValue::fromName(name);
}

inline LispValue integer(long long v) {
    return LispValue::fromInteger(v);
}
inline LispValue real(double v) {
    return LispValue::fromReal(v);
}
inline LispValue text(const wchar_t* v) {
    return LispValue::fromString(v);
}
// (code . value), and (code x y z).
inline LispValue group(long long code, LispValue value) {
    return LispValue::list({integer(code), std::move(value)}, true);
}
inline LispValue pointGroup(long long code, double x, double y, double z) {
    return LispValue::list({integer(code), real(x), real(y), real(z)});
}
inline LispValue list(std::vector<LispValue> items) {
    return LispValue::list(std::move(items));
}

// The value of group `code` in an entity list; nil when the list has none.
inline LispValue groupValue(const LispValue& entityList, long long code) {
    for (const LispValue& item : entityList.items)
        if (item.kind == LispValue::List && !item.items.empty() && item.items[0].kind == LispValue::Integer &&
            item.items[0].integer == code) {
            if (item.dotted) return item.items[1];
            return LispValue::list(std::vector<LispValue>(item.items.begin() + 1, item.items.end()));
        }
    return LispValue::nil();
}

inline bool sameName(const LispValue& a, const LispValue& b) {
    return a.kind == LispValue::EntityName && b.kind == LispValue::EntityName && a.name[0] == b.name[0] &&
           a.name[1] == b.name[1];
}

struct LispSession : ::testing::Test {
    poly_test::RegisteredClasses classes;
    PluginSession session;

    LispSession() { OsnapRequest::createRegistry(); }
    ~LispSession() override {
        OsnapRequest::destroyRegistry();
        resetTefColors();
    }

    // A polyline in model space through the points, each vertex with the attributes given for it.
    AcDbObjectId addPolyline(std::initializer_list<CPoint3d> points,
                             std::vector<poly_test::Attributes> attributes = {}) {
        auto* poly = new PolyArc3D;
        std::size_t i = 0;
        for (const CPoint3d& p : points) {
            poly_test::append(*poly, p, i < attributes.size() ? attributes[i] : poly_test::Attributes{});
            ++i;
        }
        return session.addEntity(poly);
    }
};

// The polyline of `id`, open for read while it lives.
class ReadPolyline {
public:
    explicit ReadPolyline(AcDbObjectId id) {
        AcDbEntity* e = nullptr;
        if (acdbOpenObject(e, id, AcDb::kForRead, true) == Acad::eOk) m_poly = CPolyArc3D::cast(e);
    }
    ~ReadPolyline() {
        if (m_poly) m_poly->close();
    }
    ReadPolyline(const ReadPolyline&) = delete;
    ReadPolyline& operator=(const ReadPolyline&) = delete;
    const CPolyArc3D* operator->() const { return m_poly; }
    const CPolyArc3D& operator*() const { return *m_poly; }

private:
    CPolyArc3D* m_poly = nullptr;
};

} // namespace plugin::test
