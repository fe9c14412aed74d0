// The filter text of selections: an optional mode of at most two characters, then items, all separated by
// ";": "code=value" (a value starting with "~" means "not"), or a mode item such as ":S".
#include <charconv>
#include <string_view>

#include "cadutil/command_line/print.h"
#include "cadutil/resbuf/cresbuf.h"
#include "cadutil/resbuf/dxf_code_types.h"

namespace {

template <typename T> bool readNumber(std::string_view text, T& value) {
    const char* first = text.data();
    const char* last = first + text.size();
    if (first != last && *first == '+') ++first;
    auto [end, ec] = std::from_chars(first, last, value);
    return ec == std::errc() && end == last && first != last;
}

// Appends the entries of one "code=value" item; false, with a message, when it cannot be read.
bool addItem(Cresbuf& chain, std::string_view item, std::size_t equal) {
    int code = 0;
    std::string value(item.substr(equal + 1));
    if (!readNumber(item.substr(0, equal), code)) {
        msgprintf("\nFiltre : code DXF incorrect dans '%.*s'", static_cast<int>(item.size()), item.data());
        return false;
    }
    if (!value.empty() && value[0] == '~') {
        chain.AddText(-4, "<NOT");
        chain.AddText(code, value.c_str() + 1);
        chain.AddText(-4, "NOT>");
        return true;
    }
    int type = dxfcode_rbtype(code);
    if (type == RTSHORT || type == RTLONG) {
        int v = 0;
        if (readNumber(value, v)) {
            chain.AddInt(code, v);
            return true;
        }
    } else if (type == RTREAL || type == RTANG || type == RTORINT) {
        double v = 0;
        if (readNumber(value, v)) {
            chain.AddReal(code, v);
            return true;
        }
    } else {
        chain.AddText(code, value.c_str());
        return true;
    }
    msgprintf("\nFiltre : valeur incorrecte dans '%.*s'", static_cast<int>(item.size()), item.data());
    return false;
}

} // namespace

int Cresbuf::AddFilterText(const char* text, std::string& mode) {
    std::string rest = text ? text : "";
    if (rest.empty()) return 0;
    std::size_t semicolon = rest.find(';');
    std::string first = rest.substr(0, semicolon);
    if (first.size() <= 2) {
        mode += first;
        rest = semicolon == std::string::npos ? "" : rest.substr(semicolon + 1);
    }
    rest += ';';
    int items = 0;
    for (std::size_t start = 0, end; (end = rest.find(';', start)) != std::string::npos; start = end + 1) {
        std::string_view item(rest.data() + start, end - start);
        if (item.empty()) break;
        ++items;
        std::size_t equal = item.find('=');
        if (equal != std::string_view::npos && equal > 0)
            addItem(*this, item, equal);
        else if (item[0] == ':' || (item.size() > 1 && item[1] == ':'))
            mode.append(item);
    }
    return items;
}
