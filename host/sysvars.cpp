#include "host/sysvars.h"

#include <cwctype>
#include <limits>
#include <map>
#include <type_traits>
#include <variant>

#include "host/database.h"
#include "host/group.h"
#include "host/ucs.h"

namespace {

using Value = std::variant<short, Adesk::Int32, double, std::wstring, AcGePoint3d>;

struct Variable {
    short type; // RTSHORT, RTLONG, RTREAL, RTSTR, RTPOINT or RT3DPOINT
    Value value;
    bool readOnly = false;
};

std::wstring upper(const ACHAR* name) {
    std::wstring out(name ? name : L"");
    for (wchar_t& c : out)
        c = static_cast<wchar_t>(std::towupper(c));
    return out;
}

std::map<std::wstring, Variable> defaults() {
    return {
        {L"APERTURE", {RTSHORT, short(10)}},     {L"CMDACTIVE", {RTSHORT, short(0), true}},
        {L"CMDECHO", {RTSHORT, short(1)}},       {L"CMDNAMES", {RTSTR, std::wstring(), true}},
        {L"CVPORT", {RTSHORT, short(2)}},        {L"LASTPOINT", {RT3DPOINT, AcGePoint3d()}},
        {L"MENUBAR", {RTSHORT, short(0)}},       {L"OSMODE", {RTSHORT, short(4133)}},
        {L"PICKBOX", {RTSHORT, short(3)}},       {L"SCREENSIZE", {RTPOINT, AcGePoint3d(1920, 1080, 0), true}},
        {L"SHORTCUTMENU", {RTSHORT, short(11)}}, {L"VIEWSIZE", {RTREAL, 100.0, true}},
    };
}

std::map<std::wstring, Variable>& editorVariables() {
    static std::map<std::wstring, Variable> vars = defaults();
    return vars;
}

void setPoint(resbuf* rb, short type, const AcGePoint3d& p) {
    rb->restype = type;
    rb->resval.rpoint[0] = p.x;
    rb->resval.rpoint[1] = p.y;
    rb->resval.rpoint[2] = p.z;
}

// The variables that follow the current user system.
bool ucsVariable(const std::wstring& name, resbuf* result) {
    AcGeMatrix3d ucs;
    acedGetCurrentUCS(ucs);
    int column = name == L"UCSXDIR" ? 0 : name == L"UCSYDIR" ? 1 : name == L"UCSORG" ? 3 : -1;
    if (column < 0) return false;
    setPoint(result, RT3DPOINT, AcGePoint3d(ucs(0, column), ucs(1, column), ucs(2, column)));
    return true;
}

void fill(resbuf* result, const Variable& v) {
    if (v.type == RTSHORT) {
        result->restype = RTSHORT;
        result->resval.rint = std::get<short>(v.value);
    } else if (v.type == RTLONG) {
        result->restype = RTLONG;
        result->resval.rlong = std::get<Adesk::Int32>(v.value);
    } else if (v.type == RTREAL) {
        result->restype = RTREAL;
        result->resval.rreal = std::get<double>(v.value);
    } else if (v.type == RTSTR) {
        result->restype = RTSTR;
        result->resval.rstring = acutNewString(std::get<std::wstring>(v.value).c_str());
    } else {
        setPoint(result, v.type, std::get<AcGePoint3d>(v.value));
    }
}

// The value of `rb` as a variable of type `type`; false when it cannot be one.
bool convert(const resbuf& rb, short type, Value& out) {
    switch (type) {
    case RTSHORT:
        if (rb.restype == RTSHORT)
            out = rb.resval.rint;
        else if (rb.restype == RTLONG && rb.resval.rlong >= std::numeric_limits<short>::min() &&
                 rb.resval.rlong <= std::numeric_limits<short>::max())
            out = static_cast<short>(rb.resval.rlong);
        else
            return false;
        return true;
    case RTLONG:
        if (rb.restype == RTLONG)
            out = rb.resval.rlong;
        else if (rb.restype == RTSHORT)
            out = static_cast<Adesk::Int32>(rb.resval.rint);
        else
            return false;
        return true;
    case RTREAL:
        if (rb.restype == RTREAL)
            out = rb.resval.rreal;
        else if (rb.restype == RTSHORT)
            out = static_cast<double>(rb.resval.rint);
        else if (rb.restype == RTLONG)
            out = static_cast<double>(rb.resval.rlong);
        else
            return false;
        return true;
    case RTSTR:
        if (rb.restype != RTSTR || !rb.resval.rstring) return false;
        out = std::wstring(rb.resval.rstring);
        return true;
    default:
        if (rb.restype != RTPOINT && rb.restype != RT3DPOINT) return false;
        out = AcGePoint3d(rb.resval.rpoint[0], rb.resval.rpoint[1],
                          rb.restype == RT3DPOINT ? rb.resval.rpoint[2] : 0.0);
        return true;
    }
}

AcDbDatabase* working() {
    return acdbHostApplicationServices()->workingDatabase();
}

} // namespace

int acedGetVar(const ACHAR* name, resbuf* result) {
    if (!result) return RTERROR;
    std::wstring key = upper(name);
    if (ucsVariable(key, result)) return RTNORM;
    auto it = editorVariables().find(key);
    if (it != editorVariables().end()) {
        fill(result, it->second);
        return RTNORM;
    }
    host::Group g;
    if (!working() || !working()->getHeaderVariable(key, g)) return RTERROR;
    Variable v{host::resbufValueType(g.code), short(0)};
    switch (v.type) {
    case RTSHORT:
        v.value = static_cast<short>(g.integer());
        break;
    case RTLONG:
        v.value = static_cast<Adesk::Int32>(g.integer());
        break;
    case RTREAL:
        v.value = g.real();
        break;
    case RTSTR:
        v.value = g.text();
        break;
    case RT3DPOINT:
        v.value = g.point();
        break;
    default:
        return RTERROR;
    }
    fill(result, v);
    return RTNORM;
}

int acedSetVar(const ACHAR* name, const resbuf* value) {
    if (!value) return RTERROR;
    std::wstring key = upper(name);
    auto it = editorVariables().find(key);
    if (it != editorVariables().end()) {
        Variable& v = it->second;
        return !v.readOnly && convert(*value, v.type, v.value) ? RTNORM : RTERROR;
    }
    host::Group g;
    if (!working() || !working()->getHeaderVariable(key, g)) return RTERROR;
    short type = host::resbufValueType(g.code);
    Value converted;
    bool known = type == RTSHORT || type == RTLONG || type == RTREAL || type == RTSTR || type == RT3DPOINT;
    if (!known || !convert(*value, type, converted)) return RTERROR;
    std::visit(
        [&g](const auto& v) {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, short>)
                g.value = Adesk::Int16(v);
            else
                g.value = v;
        },
        converted);
    working()->setHeaderVariable(key, g);
    return RTNORM;
}

namespace host {

bool setHostVariable(const wchar_t* name, const resbuf& value) {
    auto it = editorVariables().find(upper(name));
    return it != editorVariables().end() && convert(value, it->second.type, it->second.value);
}

void setCommandState(int active, const std::wstring& names) {
    editorVariables()[L"CMDACTIVE"].value = static_cast<short>(active);
    editorVariables()[L"CMDNAMES"].value = names;
}

void setLastPoint(const AcGePoint3d& point) {
    editorVariables()[L"LASTPOINT"].value = point;
}

int shortVariable(const wchar_t* name) {
    resbuf rb{};
    if (acedGetVar(name, &rb) != RTNORM) return 0;
    if (rb.restype == RTSTR) acutDelString(rb.resval.rstring);
    return rb.restype == RTSHORT ? rb.resval.rint : 0;
}

double realVariable(const wchar_t* name) {
    resbuf rb{};
    if (acedGetVar(name, &rb) != RTNORM) return 0.0;
    if (rb.restype == RTSTR) acutDelString(rb.resval.rstring);
    return rb.restype == RTREAL ? rb.resval.rreal : rb.restype == RTSHORT ? rb.resval.rint : 0.0;
}

void resetSystemVariables() {
    editorVariables() = defaults();
}

} // namespace host
