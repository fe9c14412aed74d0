#pragma once
// Wild-card patterns of selection filters and LISP: "*" any text, "?" one character, "#" a digit, "@" a
// letter, "." a character that is neither, "[...]" one of the characters (a range "a-z"; "[~...]" none of
// them), "`" takes the next character literally, "~" first means "anything but the rest", and "," separates
// alternatives.
#include <string_view>

#include "host/rx/adesk.h"

// RTNORM when `string` matches `pattern` (case counts), RTERROR otherwise.
int acutWcMatch(const ACHAR* string, const ACHAR* pattern);

namespace host {
bool wildcardMatch(std::wstring_view text, std::wstring_view pattern, bool ignoreCase);
}
