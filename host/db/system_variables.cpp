#include "host/db/system_variables.h"

#include <map>
#include <vector>

#include "host/db/database.h"
#include "host/db/derived_variables.h"

namespace host {
namespace {

struct Variable {
    Group value;
    bool readOnly = false;
};

// Variables of the drawing, kept in the working database's header, with the value of one a drawing file
// leaves out.
struct DrawingVariable {
    const wchar_t* name;
    Group fallback;
};

const std::vector<DrawingVariable>& drawingVariables() {
    static const std::vector<DrawingVariable> variables = {
        {L"LTSCALE", {40, 1.0}},
        {L"TILEMODE", {70, Adesk::Int16(1)}},
        {L"ELEVATION", {38, 0.0}},
        {L"CLAYER", {8, std::wstring(L"0")}},
        {L"CECOLOR", {62, Adesk::Int16(256)}},
        {L"CELTYPE", {6, std::wstring(L"ByLayer")}},
        {L"CELTSCALE", {40, 1.0}},
        {L"CELWEIGHT", {370, Adesk::Int16(AcDb::kLnWtByLayer)}},
        {L"THICKNESS", {39, 0.0}},
        {L"INSBASE", {10, AcGePoint3d()}},
        {L"EXTMIN", {10, AcGePoint3d()}},
        {L"EXTMAX", {10, AcGePoint3d()}},
        {L"LIMMIN", {10, AcGePoint3d(), kDefaultPrecision, true}},
        {L"LIMMAX", {10, AcGePoint3d(420, 297, 0), kDefaultPrecision, true}},
        {L"PDMODE", {70, Adesk::Int16(0)}},
        {L"PDSIZE", {40, 0.0}},
        {L"TEXTSIZE", {40, 2.5}},
        {L"TEXTSTYLE", {7, std::wstring(L"Standard")}},
        {L"ANGBASE", {50, 0.0}},
        {L"ANGDIR", {70, Adesk::Int16(0)}},
        {L"ORTHOMODE", {70, Adesk::Int16(0)}},
        {L"PROXYGRAPHICS", {70, Adesk::Int16(1)}},
    };
    return variables;
}

const DrawingVariable* drawingVariableNamed(const std::wstring& name) {
    for (const DrawingVariable& v : drawingVariables())
        if (sameSymbolName(name, v.name)) return &v;
    return nullptr;
}

std::map<std::wstring, Variable> defaults() {
    std::map<std::wstring, Variable> table = {
        {L"CVPORT", {{70, Adesk::Int16(2)}}},
        {L"APERTURE", {{70, Adesk::Int16(10)}}},
        {L"PICKBOX", {{70, Adesk::Int16(3)}}},
        {L"OSMODE", {{70, Adesk::Int16(4133)}}},
        {L"MENUBAR", {{70, Adesk::Int16(0)}}},
        {L"VIEWSIZE", {{40, 100.0}}},
        {L"VIEWCTR", {{10, AcGePoint3d(0, 0, 0)}}},
        {L"SCREENSIZE", {{10, AcGePoint3d(1920, 1080, 0), kDefaultPrecision, true}, true}},
        {L"CMDNAMES", {{1, std::wstring()}, true}},
        {L"CMDECHO", {{70, Adesk::Int16(1)}}},
        {L"FILEDIA", {{70, Adesk::Int16(0)}}},
        {L"SNAPMODE", {{70, Adesk::Int16(0)}}},
        {L"CMDACTIVE", {{70, Adesk::Int16(0)}, true}},
        {L"SHORTCUTMENU", {{70, Adesk::Int16(11)}}},
        {L"LASTPOINT", {{10, AcGePoint3d(0, 0, 0)}}},
        // The justification of the next TEXT, by the option's English name ("Left", "MC", "Fit").
        {L"TEXTJUSTIFY", {{1, std::wstring(L"Left")}}},
        // The block -INSERT inserted last, its answer to Enter.
        {L"INSNAME", {{1, std::wstring()}}},
        // Set by the inquiry commands (AREA, DIST) and the drawing's documents; read-only for programs.
        {L"AREA", {{40, 0.0}, true}},
        {L"PERIMETER", {{40, 0.0}, true}},
        {L"DISTANCE", {{40, 0.0}, true}},
        {L"ACADVER", {{1, std::wstring(L"24.0s (LMS Tech)")}, true}},
        {L"DWGNAME", {{1, std::wstring(L"Dessin1.dwg")}, true}},
        {L"DWGPREFIX", {{1, std::wstring()}, true}},
        {L"UCSORG", {{10, AcGePoint3d(0, 0, 0)}, true}},
        {L"UCSXDIR", {{10, AcGePoint3d(1, 0, 0)}, true}},
        {L"UCSYDIR", {{10, AcGePoint3d(0, 1, 0)}, true}},
        // Units of lengths and angles as text (decimal, 4 places; degrees, 0 places), read by RTOS and
        // ANGTOS.
        {L"LUNITS", {{70, Adesk::Int16(2)}}},
        {L"LUPREC", {{70, Adesk::Int16(4)}}},
        {L"AUNITS", {{70, Adesk::Int16(0)}}},
        {L"AUPREC", {{70, Adesk::Int16(0)}}},
    };
    // The variables left to programs: USERI1-5, USERR1-5, USERS1-5.
    for (wchar_t n = L'1'; n <= L'5'; ++n) {
        table[std::wstring(L"USERI") + n] = {{70, Adesk::Int16(0)}};
        table[std::wstring(L"USERR") + n] = {{40, 0.0}};
        table[std::wstring(L"USERS") + n] = {{1, std::wstring()}};
    }
    return table;
}

std::map<std::wstring, Variable>& session() {
    static std::map<std::wstring, Variable> variables = defaults();
    return variables;
}

Variable* sessionVariable(const std::wstring& name) {
    for (auto& [key, variable] : session())
        if (sameSymbolName(key, name)) return &variable;
    return nullptr;
}

// The value a result buffer gives a variable of the kind `current` has; false for another kind.
bool convert(const resbuf& rb, const Group& current, Group& out) {
    out = current;
    if (std::holds_alternative<Adesk::Int16>(current.value) && rb.restype == RTSHORT)
        out.value = Adesk::Int16(rb.resval.rint);
    else if (std::holds_alternative<Adesk::Int32>(current.value) &&
             (rb.restype == RTLONG || rb.restype == RTSHORT))
        out.value = rb.restype == RTLONG ? rb.resval.rlong : Adesk::Int32(rb.resval.rint);
    else if (std::holds_alternative<double>(current.value) &&
             (rb.restype == RTREAL || rb.restype == RTSHORT || rb.restype == RTLONG))
        out.value = rb.restype == RTREAL   ? rb.resval.rreal
                    : rb.restype == RTLONG ? double(rb.resval.rlong)
                                           : double(rb.resval.rint);
    else if (std::holds_alternative<AcGePoint3d>(current.value) &&
             (rb.restype == RTPOINT || rb.restype == RT3DPOINT))
        out.value = AcGePoint3d(rb.resval.rpoint[0], rb.resval.rpoint[1],
                                rb.restype == RT3DPOINT ? rb.resval.rpoint[2] : 0);
    else if (std::holds_alternative<std::wstring>(current.value) && rb.restype == RTSTR && rb.resval.rstring)
        out.value = std::wstring(rb.resval.rstring);
    else
        return false;
    return true;
}

// The values the CAD program allows its integer variables; it refuses any other, and so does SETVAR here.
struct IntegerRange {
    const wchar_t* name;
    int low;
    int high;
};
constexpr IntegerRange kIntegerRanges[] = {
    {L"LUNITS", 1, 5},     {L"LUPREC", 0, 8},    {L"AUNITS", 0, 4},        {L"AUPREC", 0, 8},
    {L"OSMODE", 0, 32767}, // every snap bit, and 16384 turning the running snaps off
    {L"CMDECHO", 0, 1},    {L"FILEDIA", 0, 1},   {L"MENUBAR", 0, 1},       {L"TILEMODE", 0, 1},
    {L"PICKBOX", 0, 50},   {L"APERTURE", 1, 50}, {L"SHORTCUTMENU", 0, 31}, {L"ANGDIR", 0, 1},
    {L"ORTHOMODE", 0, 1},  {L"SNAPMODE", 0, 1},
};

bool withinRange(const std::wstring& name, const Group& g) {
    for (const IntegerRange& r : kIntegerRanges)
        if (sameSymbolName(name, r.name)) return g.integer() >= r.low && g.integer() <= r.high;
    return true;
}

// Values a drawing could not live with: scales must be positive, colours indexes, names those of its tables.
bool acceptable(AcDbDatabase& db, const std::wstring& name, const Group& g) {
    if (sameSymbolName(name, L"LTSCALE") || sameSymbolName(name, L"CELTSCALE")) return g.real() > 0;
    if (sameSymbolName(name, L"CECOLOR")) return g.integer() >= 0 && g.integer() <= 256;
    if (sameSymbolName(name, L"CLAYER")) return !db.layerId(g.text()).isNull();
    if (sameSymbolName(name, L"CELTYPE")) return !db.linetypeId(g.text()).isNull();
    if (sameSymbolName(name, L"PROXYGRAPHICS")) return g.integer() == 0 || g.integer() == 1;
    return true;
}

// A drawing variable's value; one the drawing leaves out has its default.
void drawingVariable(const AcDbDatabase& db, const DrawingVariable& variable, Group& value) {
    if (db.getHeaderVariable(variable.name, value)) return;
    value = sameSymbolName(variable.name, L"PROXYGRAPHICS") ? Group{70, db.saveProxyGraphics()}
                                                            : variable.fallback;
}

// CECOLOR reads as text; SETVAR takes the text or the index.
Group shownValue(const std::wstring& name, const Group& kept) {
    if (!sameSymbolName(name, L"CECOLOR")) return kept;
    return {62, colorText(static_cast<int>(kept.integer()))};
}

bool takeColorText(const resbuf& rb, Group& next) {
    const int index = rb.resval.rstring ? colorIndexOf(rb.resval.rstring) : -1;
    if (index < 0) return false;
    next = {62, Adesk::Int16(index)};
    return true;
}

int toResult(const Group& g, resbuf* result) {
    result->rbnext = nullptr;
    if (auto* v = std::get_if<Adesk::Int16>(&g.value)) {
        result->restype = RTSHORT;
        result->resval.rint = *v;
    } else if (auto* l = std::get_if<Adesk::Int32>(&g.value)) {
        result->restype = RTLONG;
        result->resval.rlong = *l;
    } else if (auto* d = std::get_if<double>(&g.value)) {
        result->restype = RTREAL;
        result->resval.rreal = *d;
    } else if (auto* p = std::get_if<AcGePoint3d>(&g.value)) {
        result->restype = g.planar ? RTPOINT : RT3DPOINT;
        result->resval.rpoint[0] = p->x;
        result->resval.rpoint[1] = p->y;
        result->resval.rpoint[2] = p->z;
    } else {
        result->restype = RTSTR;
        result->resval.rstring = acutNewString(g.text().c_str());
    }
    return RTNORM;
}

} // namespace

bool setSessionVariable(const std::wstring& name, const Group& value) {
    Variable* v = sessionVariable(name);
    if (!v || v->value.value.index() != value.value.index()) return false;
    v->value = value;
    return true;
}

void resetSessionVariables() {
    session() = defaults();
}

} // namespace host

int acedGetVar(const ACHAR* name, resbuf* result) {
    if (!name || !result) return RTERROR;
    host::Group value;
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    if (const host::DrawingVariable* variable = host::drawingVariableNamed(name)) {
        if (!db) return RTERROR;
        host::drawingVariable(*db, *variable, value);
        return host::toResult(host::shownValue(name, value), result);
    }
    if (host::derivedVariable(name, db, value)) return host::toResult(value, result);
    if (host::Variable* v = host::sessionVariable(name)) return host::toResult(v->value, result);
    // Any other variable the drawing file's header gave ($NAME), as the drawing keeps it.
    if (db && db->getHeaderVariable(name, value)) return host::toResult(value, result);
    return RTERROR;
}

int acedSetVar(const ACHAR* name, const resbuf* value) {
    if (!name || !value) return RTERROR;
    host::Group current, next;
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    if (const host::DrawingVariable* variable = host::drawingVariableNamed(name)) {
        if (!db) return RTERROR;
        host::drawingVariable(*db, *variable, current);
        const bool colorText = host::sameSymbolName(name, L"CECOLOR") && value->restype == RTSTR;
        if (!(colorText ? host::takeColorText(*value, next) : host::convert(*value, current, next)) ||
            !host::acceptable(*db, name, next) || !host::withinRange(name, next))
            return RTERROR;
        db->setHeaderVariable(name, next);
        return RTNORM;
    }
    host::Variable* v = host::sessionVariable(name);
    if (!v || v->readOnly || !host::convert(*value, v->value, next) || !host::withinRange(name, next))
        return RTERROR;
    v->value = next;
    return RTNORM;
}
