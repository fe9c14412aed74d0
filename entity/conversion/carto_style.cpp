#include "entity/conversion/carto_style.h"

#include "host/db/resbuf.h"
#include "host/entities/entity.h"

namespace {

// The item's text as the plug-in's 8-bit text: one byte per wide unit.
std::string narrow(const ACHAR* text) {
    std::string out;
    for (; *text; ++text)
        out += static_cast<char>(*text & 0xFF);
    return out;
}

bool startsWithPrefix(const std::string& text, char letter) {
    return text.size() >= 3 && text[0] == '*' && (text[1] | 0x20) == (letter | 0x20) && text[2] == '=';
}

} // namespace

CartoStyle readCartoStyle(const AcDbEntity& entity) {
    CartoStyle style;
    resbuf* xdata = entity.xData(L"ZORTA");
    for (const resbuf* rb = xdata; rb; rb = rb->rbnext) {
        if (rb->restype != 1000 || !rb->resval.rstring) continue;
        const std::string text = narrow(rb->resval.rstring);
        if (startsWithPrefix(text, 'H')) {
            style.hatch = text.substr(3);
            break;
        }
        if (startsWithPrefix(text, 'I')) {
            style.symbols = text.substr(3);
            break;
        }
    }
    acutRelRb(xdata);
    return style;
}
