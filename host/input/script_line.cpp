#include "host/input/script_line.h"

#include <cwctype>

#include "host/input/text_numbers.h"
#include "host/input/typed_input.h"
#include "host/lisp/lisp_text.h"

namespace host {

namespace {

std::wstring upper(std::wstring_view text) {
    std::wstring out(text);
    for (wchar_t& c : out)
        c = static_cast<wchar_t>(std::towupper(c));
    return out;
}

bool readPointItem(InputKind kind, const std::vector<std::wstring>& args, const std::wstring& line,
                   std::vector<InputItem>& items, std::wstring& error) {
    AcGePoint3d p;
    const bool snapped = kind == InputKind::Move && args.size() == 2 && upper(args[1]) == L"SNAP";
    if (args.size() != (snapped ? 2u : 1u) || !parsePoint(args[0], p)) {
        error = kind == InputKind::Move
                    ? L"expected one point X,Y or X,Y,Z and maybe \"snap\" in \"" + line + L"\""
                    : L"expected one point X,Y or X,Y,Z in \"" + line + L"\"";
        return false;
    }
    InputItem item = kind == InputKind::Move ? moveItem(p) : snapItem(p);
    item.applySnaps = snapped;
    item.echo = line;
    items.push_back(std::move(item));
    return true;
}

bool readPick(const std::vector<std::wstring>& args, const std::wstring& line, std::vector<InputItem>& items,
              std::wstring& error) {
    InputItem item;
    item.kind = InputKind::Pick;
    item.echo = line;
    if (args.empty() || args.size() > 3) {
        error = L"expected @pick REF [MARKER] [X,Y[,Z]] in \"" + line + L"\"";
        return false;
    }
    item.text = args[0];
    for (std::size_t i = 1; i < args.size(); ++i) {
        long long marker;
        if (i == 1 && parseInteger(args[i], marker)) {
            item.marker = marker;
        } else if (parsePoint(args[i], item.point)) {
            item.hasPoint = true;
        } else {
            error = L"\"" + args[i] + L"\" is neither a graphics marker nor a point in \"" + line + L"\"";
            return false;
        }
    }
    items.push_back(std::move(item));
    return true;
}

bool readGrip(const std::vector<std::wstring>& args, const std::wstring& line, std::vector<InputItem>& items,
              std::wstring& error) {
    InputItem item;
    item.kind = InputKind::Grip;
    item.echo = line;
    if (args.size() != 3 || !parsePoint(args[1], item.point) || !parsePoint(args[2], item.target)) {
        error = L"expected @grip REF X,Y[,Z] X,Y[,Z] in \"" + line + L"\"";
        return false;
    }
    item.text = args[0];
    item.hasPoint = true;
    items.push_back(std::move(item));
    return true;
}

bool readDoubleClick(const std::vector<std::wstring>& args, const std::wstring& line,
                     std::vector<InputItem>& items, std::wstring& error) {
    InputItem item;
    item.kind = InputKind::DoubleClick;
    item.echo = line;
    if (args.empty() || args.size() > 2 || (args.size() == 2 && !parsePoint(args[1], item.point))) {
        error = L"expected @dblclick REF [X,Y[,Z]] in \"" + line + L"\"";
        return false;
    }
    item.text = args[0];
    item.hasPoint = args.size() == 2;
    items.push_back(std::move(item));
    return true;
}

bool readKey(const std::vector<std::wstring>& args, const std::wstring& line, std::vector<InputItem>& items,
             std::wstring& error) {
    int code = args.empty() ? 0 : virtualKeyCode(args[0]);
    if (code == 0 || args.size() > 3) {
        error = L"expected @key KEY [down|up|press] [TIME] in \"" + line + L"\"";
        return false;
    }
    std::wstring action = args.size() > 1 ? upper(args[1]) : L"PRESS";
    long long time = 0;
    if (args.size() > 2 && (!parseInteger(args[2], time) || time < 0 || time > 0xffffffffLL)) {
        error = L"bad message time \"" + args[2] + L"\"";
        return false;
    }
    auto t = static_cast<Adesk::UInt32>(time);
    if (action == L"DOWN" || action == L"UP") {
        items.push_back(keyItem(code, action == L"DOWN", t));
    } else if (action == L"PRESS") {
        items.push_back(keyItem(code, true, t));
        items.push_back(keyItem(code, false, t ? t + 1 : 0));
    } else {
        error = L"a key is down, up or press, not \"" + args[1] + L"\"";
        return false;
    }
    return true;
}

bool readAnswer(const std::vector<std::wstring>& args, const std::wstring& line,
                std::vector<InputItem>& items, std::wstring& error) {
    static const wchar_t* names[] = {L"OK", L"CANCEL", L"ABORT", L"RETRY", L"IGNORE", L"YES", L"NO"};
    if (args.size() == 1) {
        std::wstring name = upper(args[0]);
        for (int i = 0; i < 7; ++i)
            if (name == names[i]) {
                InputItem item = answerItem(i + 1);
                item.echo = line;
                items.push_back(std::move(item));
                return true;
            }
    }
    error = L"expected @answer ok|cancel|yes|no|abort|retry|ignore in \"" + line + L"\"";
    return false;
}

bool readTyped(const std::vector<std::wstring>& args, const std::wstring& line, std::vector<InputItem>& items,
               std::wstring& error) {
    long long lines = 1;
    long long waitMs = kDefaultTypedWaitMs;
    if (args.size() > 2 ||
        (!args.empty() && (!parseInteger(args[0], lines) || lines < 1 || lines > 100000)) ||
        (args.size() > 1 && (!parseInteger(args[1], waitMs) || waitMs < 0 || waitMs > 3600000))) {
        error = L"expected @typed [LINES] [MS] in \"" + line + L"\"";
        return false;
    }
    InputItem item = typedWaitItem(static_cast<int>(lines), static_cast<int>(waitMs));
    item.echo = line;
    items.push_back(std::move(item));
    return true;
}

} // namespace

int virtualKeyCode(std::wstring_view name) {
    static const struct {
        const wchar_t* name;
        int code;
    } keys[] = {{L"BACKSPACE", 8}, {L"BACK", 8},   {L"TAB", 9},      {L"CLEAR", 12},  {L"RETURN", 13},
                {L"ENTER", 13},    {L"SHIFT", 16}, {L"CONTROL", 17}, {L"CTRL", 17},   {L"ESCAPE", 27},
                {L"ESC", 27},      {L"SPACE", 32}, {L"END", 35},     {L"HOME", 36},   {L"LEFT", 37},
                {L"UP", 38},       {L"RIGHT", 39}, {L"DOWN", 40},    {L"DELETE", 46}, {L"DEL", 46},
                {L"F1", 0x70}};
    std::wstring key = upper(name);
    for (const auto& k : keys)
        if (key == k.name) return k.code;
    if (key.size() == 1 && (std::iswdigit(key[0]) || (key[0] >= L'A' && key[0] <= L'Z'))) return key[0];
    long long code;
    if (parseInteger(key, code) && code > 0 && code < 256) return static_cast<int>(code);
    return 0;
}

bool parseScriptLine(std::wstring_view raw, std::vector<InputItem>& items, std::wstring& error) {
    std::wstring line(raw);
    while (!line.empty() && (line.back() == L'\r' || line.back() == L'\n'))
        line.pop_back();
    std::wstring trimmed = trim(line);
    if (trimmed.empty()) {
        items.push_back(enterItem());
        return true;
    }
    if (trimmed[0] == L'#' || trimmed[0] == L';') return true;
    if (upper(trimmed) == L"^C") {
        items.push_back(cancelItem());
        return true;
    }
    // "@5,0", "@10<90" and "@" alone are relative points typed as answers, not script items.
    if (trimmed[0] != L'@' || trimmed.size() == 1 || !std::iswalpha(trimmed[1])) {
        items.push_back(lineItem(line));
        return true;
    }
    std::vector<std::wstring> args = words(trimmed.substr(1));
    std::wstring word = args.empty() ? L"" : upper(args[0]);
    if (!args.empty()) args.erase(args.begin());
    if (word == L"MOVE") return readPointItem(InputKind::Move, args, trimmed, items, error);
    if (word == L"SNAP") return readPointItem(InputKind::Snap, args, trimmed, items, error);
    if (word == L"PICK") return readPick(args, trimmed, items, error);
    if (word == L"GRIP") return readGrip(args, trimmed, items, error);
    if (word == L"DBLCLICK") return readDoubleClick(args, trimmed, items, error);
    if (word == L"KEY") return readKey(args, trimmed, items, error);
    if (word == L"ANSWER") return readAnswer(args, trimmed, items, error);
    if (word == L"TYPED") return readTyped(args, trimmed, items, error);
    if (word == L"SELECT") {
        InputItem item;
        item.kind = InputKind::Selection;
        item.echo = trimmed;
        for (const std::wstring& a : args)
            item.text += (item.text.empty() ? L"" : L" ") + a;
        items.push_back(std::move(item));
        return true;
    }
    error = L"unknown item \"@" + (args.empty() && word.empty() ? L"" : word) + L"\"; the items are @move, " +
            L"@snap, @pick, @grip, @dblclick, @select, @key, @answer and @typed";
    return false;
}

std::vector<InputItem> typedItems(std::wstring_view text) {
    std::vector<InputItem> items;
    std::wstring line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        wchar_t c = text[i];
        if (c == L'\n' && i > 0 && text[i - 1] == L'\r') continue; // one line end, written CR LF
        if ((c == L'\r' || c == L'\n') && lispFormGoesOn(line)) {
            line += L'\n';
        } else if (c == L'\r' || c == L'\n') {
            items.push_back(line.empty() ? enterItem() : lineItem(line));
            line.clear();
        } else if (c == 3) {
            line.clear();
            items.push_back(cancelItem());
        } else {
            line += c;
        }
    }
    if (!line.empty()) items.push_back(lineItem(line));
    return items;
}

} // namespace host
