// The character tables and the conversions that go through them.
#include "services/str/str.h"

#include <string_view>

namespace {

using Table = STR::CharTable;

constexpr Table identity() {
    Table t{};
    for (int i = 0; i < 256; ++i)
        t[i] = static_cast<unsigned char>(i);
    return t;
}

// Every byte of `from` maps to `to`.
constexpr void mapAll(Table& t, std::string_view from, char to) {
    for (char c : from)
        t[static_cast<unsigned char>(c)] = static_cast<unsigned char>(to);
}

constexpr void mapRange(Table& t, int first, int last, char to) {
    for (int i = first; i <= last; ++i)
        t[i] = static_cast<unsigned char>(to);
}

// Made the way the "C" locale's toupper and tolower are: ASCII letters only.
constexpr Table asciiUpper() {
    Table t = identity();
    for (int c = 'a'; c <= 'z'; ++c)
        t[c] = static_cast<unsigned char>(c - 'a' + 'A');
    return t;
}

constexpr Table asciiLower() {
    Table t = identity();
    for (int c = 'A'; c <= 'Z'; ++c)
        t[c] = static_cast<unsigned char>(c - 'A' + 'a');
    return t;
}

// The accented letters of code page 1252 that both accent-free tables fold.
constexpr std::string_view kA = "\xC2\xC4\xC5\xC6\xE0\xE1\xE2\xE4\xE5\xE6"; // Â Ä Å Æ à á â ä å æ
constexpr std::string_view kC = "\xC7\xE7";                                 // Ç ç
constexpr std::string_view kE = "\xC9\xCA\xE8\xE9\xEA\xEB";                 // É Ê è é ê ë
constexpr std::string_view kI = "\xCE\xEC\xED\xEE\xEF";                     // Î ì í î ï
constexpr std::string_view kO = "\xD4\xD6\xF2\xF3\xF4\xF6";                 // Ô Ö ò ó ô ö
constexpr std::string_view kU = "\xDB\xDC\xF9\xFA\xFB\xFC";                 // Û Ü ù ú û ü

// Folds the accented letters onto the plain ones of the table's case; the lower-case table also folds Ñ ñ.
constexpr Table accentFree(Table t, bool upper) {
    const auto letter = [upper](char c) { return static_cast<char>(upper ? c : c - 'A' + 'a'); };
    mapAll(t, kA, letter('A'));
    mapAll(t, kC, letter('C'));
    mapAll(t, kE, letter('E'));
    mapAll(t, kI, letter('I'));
    if (!upper) mapAll(t, "\xD1\xF1", 'n'); // Ñ ñ
    mapAll(t, kO, letter('O'));
    mapAll(t, kU, letter('U'));
    mapAll(t, "\xFF", letter('Y')); // ÿ
    return t;
}

constexpr Table accentsRemoved() {
    Table t = identity();
    t[0xB0] = 'o'; // °
    mapAll(t, "\xC0\xC1\xC2\xC3\xC4\xC6", 'A');
    t[0xC5] = 'a'; // Å
    t[0xC7] = 'C';
    mapRange(t, 0xC8, 0xCB, 'E');
    mapRange(t, 0xCC, 0xCF, 'I');
    t[0xD1] = 'N';
    mapRange(t, 0xD2, 0xD8, 'O'); // × included
    mapRange(t, 0xD9, 0xDC, 'U');
    mapRange(t, 0xDD, 0xDF, 'Y'); // Ý Þ ß
    mapRange(t, 0xE0, 0xE6, 'a');
    t[0xE7] = 'c';
    mapRange(t, 0xE8, 0xEB, 'e');
    mapRange(t, 0xEC, 0xEF, 'i');
    t[0xF1] = 'n';
    mapRange(t, 0xF2, 0xF8, 'o'); // ÷ included
    mapRange(t, 0xF9, 0xFC, 'u');
    mapRange(t, 0xFD, 0xFF, 'y');
    return t;
}

char* through(char* text, const Table& table) {
    if (!text) return text;
    for (char* p = text; *p; ++p)
        *p = static_cast<char>(table[static_cast<unsigned char>(*p)]);
    return text;
}

// The French characters that differ between the DOS (850) and the Windows (1252) code pages.
struct CodePagePair {
    unsigned char dos;
    unsigned char win;
};
constexpr CodePagePair kPairs[] = {
    {0xAE, 0xAB}, {0xF8, 0xB0}, {0xF1, 0xB1}, {0xFD, 0xB2}, {0xAB, 0xBD}, {0x85, 0xE0}, {0x83, 0xE2},
    {0x84, 0xE4}, {0x87, 0xE7}, {0x8A, 0xE8}, {0x82, 0xE9}, {0x88, 0xEA}, {0x89, 0xEB}, {0x8C, 0xEE},
    {0x8B, 0xEF}, {0x93, 0xF4}, {0x94, 0xF6}, {0xF6, 0xF7}, {0x97, 0xF9}, {0x96, 0xFB}, {0x81, 0xFC},
};

// Each character is replaced at the first pair that matches it.
int convertCodePage(char* text, bool toDos) {
    if (!text) return 0;
    int changed = 0;
    for (char* p = text; *p; ++p) {
        const auto c = static_cast<unsigned char>(*p);
        for (const CodePagePair& pair : kPairs) {
            if (c == (toDos ? pair.win : pair.dos)) {
                *p = static_cast<char>(toDos ? pair.dos : pair.win);
                ++changed;
                break;
            }
        }
    }
    return changed;
}

} // namespace

// Constant-initialised, so they hold before any static initialiser of the library runs.
constinit STR::CharTable STR::Chr_toupper = asciiUpper();
constinit STR::CharTable STR::Chr_tolower = asciiLower();
constinit STR::CharTable STR::Chr_majuscule = accentFree(asciiUpper(), true);
constinit STR::CharTable STR::Chr_minuscule = accentFree(asciiLower(), false);
constinit STR::CharTable STR::Chr_Utf8 = accentsRemoved();
const char STR::CharHexa[17] = "0123456789ABCDEF";

void STR::Init_tables_car() {
    Chr_toupper = asciiUpper();
    Chr_tolower = asciiLower();
    Chr_majuscule = accentFree(asciiUpper(), true);
    Chr_minuscule = accentFree(asciiLower(), false);
    Chr_Utf8 = accentsRemoved();
}

char* STR::Majuscules(char* text) {
    return through(text, Chr_majuscule);
}
char* STR::Majuscules_ASCII(char* text) {
    return through(text, Chr_toupper);
}
char* STR::Minuscules(char* text) {
    return through(text, Chr_minuscule);
}
char* STR::Minuscules_ASCII(char* text) {
    return through(text, Chr_tolower);
}
char* STR::AsciiToUtf8(char* text) {
    return through(text, Chr_Utf8);
}

wchar_t* STR::Majuscules(wchar_t* text) {
    if (!text) return text;
    for (wchar_t* p = text; *p; ++p) {
        const auto unit = static_cast<uint32_t>(*p);
        *p = static_cast<wchar_t>((unit & ~0xFFu) | Chr_majuscule[unit & 0xFFu]);
    }
    return text;
}

int STR::Dos(char* text) {
    return convertCodePage(text, true);
}
int STR::Win(char* text) {
    return convertCodePage(text, false);
}
int STR::Win_dos(char* text, int direction) {
    return convertCodePage(text, direction != 0);
}
