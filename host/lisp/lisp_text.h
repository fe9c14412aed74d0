#pragma once
// LISP text: the reader turns what a user types into values, the printer shows values the way a LISP
// console does. Reading then printing gives the text back for integers, reals written in their shortest form,
// strings, symbols (in upper case), nil, T, lists and dotted pairs.
#include <string>
#include <string_view>
#include <vector>

#include "host/lisp/lisp_value.h"

namespace host {

// Every expression of `text`; throws LispError ("liste mal formée en entrée", "chaîne mal formée en entrée",
// "parenthèse droite en trop en entrée", "point mal placé en entrée") for text that is not well formed, and
// "imbrication trop profonde en entrée, ligne N" for lists and quotes nested more than 2000 deep.
std::vector<LispValue> readLisp(std::wstring_view text);
std::wstring printLisp(const LispValue& value);

} // namespace host
