// Files and the system: OPEN ("r", "w", "a"), READ-LINE, WRITE-LINE, READ-CHAR, WRITE-CHAR, CLOSE, FINDFILE,
// GETENV and SETENV. Text is written as UTF-8 and read as UTF-8, or as Windows-1252 where a line is not valid
// UTF-8 (files of the CAD programs' editors). A file descriptor of a closed file is refused.
#include <cstdio>
#include <cstdlib>
#include <map>

#include "host/editor/acut.h"
#include "host/editor/find_file.h"
#include "host/filing/text_codec.h"
#include "host/lisp/lisp_builtins.h"
#include "host/lisp/lisp_files.h"
#include "host/lisp/lisp_text.h"

namespace host {

namespace {

using Args = LispArgs;

struct OpenFile {
    std::FILE* stream;
    bool reading;
};

std::map<Adesk::Int64, OpenFile>& openFiles() {
    static std::map<Adesk::Int64, OpenFile> files;
    return files;
}

OpenFile& fileArgument(const LispValue& v) {
    if (v.kind != LispValue::File) badArgument("filep", v);
    auto it = openFiles().find(v.name[0]);
    if (it == openFiles().end()) badArgument("fichier ouvert", v);
    return it->second;
}

LispValue openFile(const Args& a) {
    checkArity(a, 2, 3);
    const std::wstring& name = stringArgument(a[0]);
    std::wstring mode = stringArgument(a[1]);
    for (wchar_t& c : mode)
        c = static_cast<wchar_t>(c | 0x20);
    if (mode != L"r" && mode != L"w" && mode != L"a") badArgument("mode de fichier", a[1]);
    std::string path = toUtf8(name);
    for (char& c : path)
        if (c == '\\') c = '/';
    std::FILE* stream = std::fopen(path.c_str(), mode == L"r" ? "rb" : mode == L"w" ? "wb" : "ab");
    if (!stream) return LispValue::nil();
    static Adesk::Int64 lastNumber = 0;
    LispValue file = LispValue::named(LispValue::File, name);
    file.name[0] = ++lastNumber;
    openFiles()[file.name[0]] = {stream, mode == L"r"};
    return file;
}

OpenFile& readable(const LispValue& v) {
    OpenFile& f = fileArgument(v);
    if (!f.reading) badArgument("fichier en lecture", v);
    return f;
}

OpenFile& writable(const LispValue& v) {
    OpenFile& f = fileArgument(v);
    if (f.reading) badArgument("fichier en écriture", v);
    return f;
}

LispValue readLine(const Args& a) {
    checkArity(a, 1, 1);
    std::FILE* in = readable(a[0]).stream;
    std::string line;
    int c;
    while ((c = std::fgetc(in)) != EOF && c != '\n')
        line += static_cast<char>(c);
    if (c == EOF && line.empty()) return LispValue::nil();
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return LispValue::fromString(decodeLispFile(line));
}

void writeText(std::FILE* out, const std::wstring& text) {
    std::string bytes = toUtf8(text);
    std::fwrite(bytes.data(), 1, bytes.size(), out);
}

} // namespace

bool writeToLispFile(const LispValue& file, const std::wstring& text) {
    writeText(writable(file).stream, text);
    return true;
}

void closeLispFiles() {
    for (auto& [number, file] : openFiles())
        std::fclose(file.stream);
    openFiles().clear();
}

const LispBuiltinTable& fileBuiltins() {
    static const LispBuiltinTable table = {
        {L"OPEN", openFile},
        {L"CLOSE",
         [](const Args& a) {
             checkArity(a, 1, 1);
             OpenFile& f = fileArgument(a[0]);
             std::fclose(f.stream);
             openFiles().erase(a[0].name[0]);
             return LispValue::nil();
         }},
        {L"READ-LINE", readLine},
        {L"READ-CHAR",
         [](const Args& a) {
             checkArity(a, 1, 1);
             int c = std::fgetc(readable(a[0]).stream);
             return c == EOF ? LispValue::nil() : LispValue::fromInteger(c == '\r' ? '\n' : c);
         }},
        {L"WRITE-LINE",
         [](const Args& a) {
             checkArity(a, 1, 2);
             const std::wstring& text = stringArgument(a[0]);
             if (a.size() > 1)
                 writeText(writable(a[1]).stream, text + L"\n");
             else
                 acutPrintf(L"\n%s", text.c_str());
             return a[0];
         }},
        {L"WRITE-CHAR",
         [](const Args& a) {
             checkArity(a, 1, 2);
             std::wstring text(1, static_cast<wchar_t>(integerArgument(a[0])));
             if (a.size() > 1)
                 writeText(writable(a[1]).stream, text);
             else
                 acutPrintf(L"%s", text.c_str());
             return a[0];
         }},
        {L"FINDFILE",
         [](const Args& a) {
             checkArity(a, 1, 1);
             ACHAR found[4096];
             return acedFindFile(stringArgument(a[0]).c_str(), found, std::size(found)) == RTNORM
                        ? LispValue::fromString(found)
                        : LispValue::nil();
         }},
        {L"GETENV",
         [](const Args& a) {
             checkArity(a, 1, 1);
             const char* value = std::getenv(toUtf8(stringArgument(a[0])).c_str());
             return value ? LispValue::fromString(fromUtf8(value)) : LispValue::nil();
         }},
        {L"SETENV",
         [](const Args& a) {
             checkArity(a, 2, 2);
             ::setenv(toUtf8(stringArgument(a[0])).c_str(), toUtf8(stringArgument(a[1])).c_str(), 1);
             return a[1];
         }},
    };
    return table;
}

} // namespace host
