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

// (OPEN name mode [encoding]): the encoding is the CAD program's; text is UTF-8 here whatever it says.
LispValue openFile(const std::wstring& name, const std::wstring& given, std::optional<LispValue>) {
    std::wstring mode = given;
    for (wchar_t& c : mode)
        c = static_cast<wchar_t>(c | 0x20);
    if (mode != L"r" && mode != L"w" && mode != L"a")
        badArgument("mode de fichier", LispValue::fromString(given));
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

LispValue readLine(const LispValue& file) {
    std::FILE* in = readable(file).stream;
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

// WRITE-LINE and WRITE-CHAR: to the file given, else to the command line (after `before`).
void writeOut(const std::wstring& text, const std::optional<LispValue>& file, const wchar_t* before,
              const wchar_t* after) {
    if (file)
        writeText(writable(*file).stream, text + after);
    else
        acutPrintf(L"%s%s", before, text.c_str());
}

const LispBuiltinTable& fileBuiltins() {
    static const LispBuiltinTable table = {
        {L"OPEN", lispFunction(openFile)},
        {L"CLOSE", lispFunction([](const LispValue& file) {
             std::fclose(fileArgument(file).stream);
             openFiles().erase(file.name[0]);
             return LispValue::nil();
         })},
        {L"READ-LINE", lispFunction(readLine)},
        {L"READ-CHAR", lispFunction([](const LispValue& file) {
             int c = std::fgetc(readable(file).stream);
             return c == EOF ? LispValue::nil() : LispValue::fromInteger(c == '\r' ? '\n' : c);
         })},
        {L"WRITE-LINE", lispFunction([](const std::wstring& text, std::optional<LispValue> file) {
             writeOut(text, file, L"\n", L"\n");
             return LispValue::fromString(text);
         })},
        {L"WRITE-CHAR", lispFunction([](int code, std::optional<LispValue> file) {
             writeOut(std::wstring(1, static_cast<wchar_t>(code)), file, L"", L"");
             return LispValue::fromInteger(code);
         })},
        {L"FINDFILE", lispFunction([](const std::wstring& name) {
             ACHAR found[4096];
             return acedFindFile(name.c_str(), found, std::size(found)) == RTNORM
                        ? LispValue::fromString(found)
                        : LispValue::nil();
         })},
        {L"GETENV", lispFunction([](const std::wstring& name) {
             const char* value = std::getenv(toUtf8(name).c_str());
             return value ? LispValue::fromString(fromUtf8(value)) : LispValue::nil();
         })},
        {L"SETENV", lispFunction([](const std::wstring& name, const LispValue& value) {
             ::setenv(toUtf8(name).c_str(), toUtf8(stringArgument(value)).c_str(), 1);
             return value;
         })},
    };
    return table;
}

} // namespace host
