#include "cadutil/database/host_variables.h"

#include <charconv>
#include <string>

#include "host/db/system_variables.h"
#include "services/startup/fvar.h"

ViewMetrics g_viewMetrics;

namespace {

std::wstring wide(const char* name) {
    std::wstring out;
    for (const char* p = name ? name : ""; *p; ++p)
        out += static_cast<unsigned char>(*p);
    return out;
}

// The number at the start of a text, as "atof" and "atoi" read it (0 when there is none), without the
// locale.
template <typename T> T leadingNumber(const ACHAR* text) {
    std::string ascii;
    for (const ACHAR* p = text; p && *p && *p < 0x80; ++p)
        ascii += static_cast<char>(*p);
    std::size_t start = ascii.find_first_not_of(" \t");
    if (start == std::string::npos) return T{};
    const char* first = ascii.data() + start;
    if (*first == '+') ++first;
    T value{};
    std::from_chars(first, ascii.data() + ascii.size(), value);
    return value;
}

} // namespace

int getVar(const char* name, resbuf* value) {
    return acedGetVar(wide(name).c_str(), value);
}

int getVarReal(const char* name, double* value) {
    resbuf rb{};
    int rc = getVar(name, &rb);
    if (rc != RTNORM) return rc;
    if (rb.restype == RTSTR) {
        *value = leadingNumber<double>(rb.resval.rstring);
        acutDelString(rb.resval.rstring);
    } else if (rb.restype == RTREAL) {
        *value = rb.resval.rreal;
    } else if (rb.restype == RTSHORT) {
        *value = rb.resval.rint;
    }
    return rc;
}

int setVarReal(const char* name, double value) {
    resbuf rb{};
    rb.restype = RTREAL;
    rb.resval.rreal = value;
    return acedSetVar(wide(name).c_str(), &rb);
}

int setVarShort(const char* name, short value) {
    resbuf rb{};
    rb.restype = RTSHORT;
    rb.resval.rint = value;
    return acedSetVar(wide(name).c_str(), &rb);
}

int swapOsmode(int osmode) {
    resbuf rb{};
    int previous = 0;
    if (getVar("OSMODE", &rb) == RTNORM) rbToInt(&previous, &rb);
    setVarShort("OSMODE", static_cast<short>(osmode));
    return previous;
}

int rbToInt(int* value, resbuf* rb) {
    if (rb->restype == RTSTR) {
        *value = leadingNumber<int>(rb->resval.rstring);
        acutDelString(rb->resval.rstring);
    } else {
        *value = rb->resval.rint;
    }
    return RTNORM;
}

int rbTakeString(std::wstring& text, resbuf* rb) {
    text.clear();
    if (rb->restype != RTSTR) return RTNORM;
    if (rb->resval.rstring) text = rb->resval.rstring;
    acutDelString(rb->resval.rstring);
    return RTNORM;
}

double getPixelSize() {
    double viewSize = 0;
    if (getVarReal("VIEWSIZE", &viewSize) == RTNORM) g_viewMetrics.viewSize = viewSize;
    resbuf screen{};
    double height = getVar("SCREENSIZE", &screen) == RTNORM ? screen.resval.rpoint[1] : 0.0;
    if (height > 0) g_viewMetrics.unitsPerPixel = g_viewMetrics.viewSize / height;
    return g_viewMetrics.unitsPerPixel;
}

const char* getZoneName() {
    return vfVar.zoneNameOverride[0] ? vfVar.zoneNameOverride : GetZoneQEL();
}
