#include "entity/drawing/style_text.h"

#include <charconv>
#include <cmath>
#include <string>

#include "cadutil/command_line/print.h"
#include "host/db/db_object.h"
#include "host/db/resbuf.h"

namespace {

constexpr short kXdataText = 1000;

char upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// The style kind a text starts with, without regard to case.
StyleKind styleKindOf(const ACHAR* text) {
    if (!text || text[0] != L'*' || text[1] == 0 || text[2] != L'=') return StyleKind::None;
    if (text[1] == L'H' || text[1] == L'h') return StyleKind::Hatch;
    if (text[1] == L'I' || text[1] == L'i') return StyleKind::Symbols;
    return StyleKind::None;
}

} // namespace

EntityStyle entityStyle(const AcDbObject& entity) {
    EntityStyle style;
    resbuf* chain = entity.xData(L"ZORTA");
    for (resbuf* rb = chain ? chain->rbnext : nullptr; rb; rb = rb->rbnext) {
        if (rb->restype != kXdataText) continue;
        const ACHAR* text = rb->resval.rstring;
        style.kind = styleKindOf(text);
        if (style.kind == StyleKind::None) continue;
        // Texts of the plug-in are 8-bit: one byte per wide unit.
        for (const ACHAR* c = text + 3; *c; ++c)
            style.spec.push_back(static_cast<char>(*c));
        break;
    }
    acutRelRb(chain);
    return style;
}

StyleFields splitStyleFields(std::string_view text) {
    StyleFields result;
    std::size_t comma = text.find(',');
    result.lead = text.substr(0, comma);
    while (comma != std::string_view::npos) {
        const std::size_t start = comma + 1;
        comma = text.find(',', start);
        const std::string_view item =
            text.substr(start, comma == std::string_view::npos ? comma : comma - start);
        if (item.empty()) continue;
        if (item.size() > 2 && item[1] == '=')
            result.fields.push_back({item[0], item.substr(2), item});
        else
            result.skipped.push_back(item);
    }
    return result;
}

std::optional<double> styleReal(std::string_view value) {
    double number = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (error != std::errc() || end != value.data() + value.size() || !std::isfinite(number)) return {};
    return number;
}

std::optional<int> styleInt(std::string_view value) {
    int number = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (error != std::errc() || end != value.data() + value.size()) return {};
    return number;
}

std::string upperCased(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        c = upper(c);
    return result;
}

std::string styleLayerName(std::string_view value, const ACHAR* entityLayer) {
    if (value.size() < 3 || value[0] != '_' || upper(value[1]) != 'Z' || value[2] != '_')
        return std::string(value);
    std::string name;
    if (entityLayer) {
        const std::wstring_view layer(entityLayer);
        const std::size_t dollar = layer.find(L'$');
        if (dollar != std::wstring_view::npos && dollar > 0)
            for (std::size_t i = 0; i <= dollar; ++i)
                name.push_back(static_cast<char>(layer[i]));
    }
    name.append(value.substr(3));
    return name;
}

void reportSkippedField(std::string_view spec, std::string_view item) {
    msgprintf("\nStyle %.*s : champ ignor\351 %.*s", static_cast<int>(spec.size()), spec.data(),
              static_cast<int>(item.size()), item.data());
}
