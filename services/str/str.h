#pragma once
// String utilities for 8-bit text in the Windows code page (1252), with a few wide overloads.
//
// Every member works in place on the caller's text unless said otherwise. Members that return text from a
// library-owned buffer (HexFromBin's text form, StrDate, WideToChar share one; UriEncode and TimeSpace have
// their own) overwrite it at the next call of the same family: callers copy what they keep.
// wchar_t is 32 bits here: the wide members treat each unit as the Windows build treats a 16-bit unit.
#include <array>
#include <cstddef>
#include <cstdint>

// Growable array of text pointers filled by STR::Separe. It does not own the texts it points to; the item
// after the last one is always null.
class MyPCharArray {
public:
    char** items = nullptr;
    int32_t capacity = 0;
    int32_t count = 0;

    MyPCharArray() = default;
    MyPCharArray(const MyPCharArray&) = delete;
    MyPCharArray& operator=(const MyPCharArray&) = delete;
    ~MyPCharArray();

    // Appends; returns the new item's index.
    int Add(char* text);
    // Sets item `index`, growing the array (and the count) as needed.
    void SetAt(int index, char* text);
    // Shrinks or grows the count; new items are null.
    void SetSize(int size);
    // The item, or null beyond the count.
    char* operator[](unsigned index) const;
    // Index of the first item equal to the text (exactly, or ignoring ASCII case); -1 when none.
    int Find(const char* text) const;
    int FindNoCase(const char* text) const;

private:
    void Reserve(int index);
};

class STR {
public:
    // Character tables, indexed by the unsigned character code. They are valid from load;
    // Init_tables_car rebuilds them.
    using CharTable = std::array<unsigned char, 256>;
    static CharTable Chr_toupper;
    static CharTable Chr_tolower;
    static CharTable Chr_majuscule; // upper case without accents
    static CharTable Chr_minuscule; // lower case without accents
    static CharTable Chr_Utf8;      // accents removed, case kept
    static const char CharHexa[17];

    static void Init_tables_car();
    // Frees the decoder slots and the result buffers (for tests and library unload).
    static void Reset();

    // Case and code pages.
    static char* Majuscules(char* text);
    static wchar_t* Majuscules(wchar_t* text);
    static char* Majuscules_ASCII(char* text);
    static char* Minuscules(char* text);
    static char* Minuscules_ASCII(char* text);
    static char* AsciiToUtf8(char* text);
    static int Dos(char* text);
    static int Win(char* text);
    static int Win_dos(char* text, int direction);
    static char* WideToChar(const wchar_t* text);

    // Blanks and characters.
    static char* Espace(char* text);
    static char* Espace_reduit(char* text);
    static char* Espace_tous(char* text);
    static char* Chr_reduit(char* text, char c, int flags);
    static char* CR_LF(char* text, int* found);
    static int C47_92(char* text);
    static int C92_47(char* text);
    static int Chr_cat(char* text, char c);
    static char* Chr_cherche(const char* text, char c, int n);
    static int Chr_compte(const char* text, char c, int length, char** last);
    static int Efface(char* text, int at, int n, int length);
    // `size` non-zero is the buffer's size: the insertion is refused unless the longer text and its
    // terminator fit.
    static int Insere(char* text, int at, char c, int size);
    static int Replace(char* text, char from, char to);
    // Without `out` the result is a new block from malloc (the caller frees it). With `out` of unknown size
    // the caller guarantees room; the sized form gives null when the result and its terminator do not fit.
    static char* Replace(const char* text, const char* what, const char* with, char* out);
    static char* Replace(const char* text, const char* what, const char* with, char* out, size_t outSize);
    static int Remplace(char* text, const char* pairs);

    // Numbers and encodings.
    static int Entier(char* text);
    static int Num(const char* text, int fromEnd);
    static int Num(const wchar_t* text, int fromEnd);
    static int HexFromBin(const unsigned char* data, int n, char* out, char separator);
    // Sized form: 0 (and an empty `out`) when the text does not fit in `outSize` bytes.
    static int HexFromBin(const unsigned char* data, int n, char* out, size_t outSize, char separator);
    static char* HexFromBin(const unsigned char* data, int n);
    static int BinFromHex(const char* text, unsigned char* out);
    // Sized form: stops when `outSize` bytes are written.
    static int BinFromHex(const char* text, unsigned char* out, size_t outSize);
    static char* UriEncode(const char* text);
    static char* UriDecode(char* text);
    static char* StrDate(const char* text, int endOfPeriod, long long* time);
    static char* TimeSpace(int seconds);
    static int Teste_ASCII(const char* text, const char* pattern, const char* specials = ",*~?");
    // Lists of 16-bit values ended by -10, kept in 23 slots; see the definition for the grammar.
    static short* Decode(char* text, int = 0, int = 0);

    // Fields.
    static int Separe(char* text, char sep, MyPCharArray& fields, int max, int flags);
    // `size` non-zero is the buffer's size: packing stops before a backslash that would not fit.
    static int Chr_special_packe(char* text, const char* pairs, int escape, size_t size = 0);
    static int Chr_special_depacke(char* text, const char* pairs, int escape);
};

// Narrows wide text: when the first unit is below 258 each unit's low byte goes into `out` (or over the text
// itself when `out` is null); otherwise the text is taken as 8-bit already and copied into `out` when given.
char* WideToMb(wchar_t* text, char* out = nullptr);
char* WideToMb(const wchar_t* text, char* out);
