#pragma once
// LISP text: the reader turns what a user types into values, the printer shows values the way the AutoLISP
// console does. Reading then printing gives the text back for integers, reals of six significant digits,
// strings, symbols (in upper case), nil, T, lists and dotted pairs.
#include <string>
#include <string_view>
#include <vector>

#include "host/lisp/lisp_value.h"

namespace host {

// Every expression of `text` (";" comments to the end of the line, ";| ... |;" over several lines); throws
// LispError ("liste mal formée en entrée", "chaîne mal formée en entrée", "parenthèse droite en trop en
// entrée", "point mal placé en entrée") for text that is not well formed, and "imbrication trop profonde en
// entrée, ligne N" for lists and quotes nested more than 2000 deep.
std::vector<LispValue> readLisp(std::wstring_view text);
// Reals with six significant digits, as the AutoLISP console prints them (RTOS writes them to any precision).
// Readable: as PRIN1 prints (strings quoted, with their escapes); else as PRINC does (strings as they are).
std::wstring printLisp(const LispValue& value, bool readable = true);

} // namespace host

namespace host {

// Where a text leaves the reader at its end.
struct LispTextEnd {
    int openLists = 0;           // brackets left open
    bool inString = false;       // a string not closed
    bool inBlockComment = false; // a ";| |;" comment not closed
    bool inLineComment = false;  // a ";" comment running to the end: a line end closes it
    // Inside a form: the next line goes on with it.
    bool open() const { return openLists > 0 || inString || inBlockComment; }
};
LispTextEnd lispTextEnd(std::wstring_view text);
// Whether `text` begins a LISP form (its first non-blank is "(") that it leaves open. Scripts and the
// command line then read on with the next line.
bool lispFormGoesOn(std::wstring_view text);
// The text of a LISP or data file: UTF-8 when it is valid UTF-8, else Windows-1252 (files written by the
// CAD programs' own editors).
std::wstring decodeLispFile(std::string_view bytes);

} // namespace host
