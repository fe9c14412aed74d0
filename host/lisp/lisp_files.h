#pragma once
// The files LISP programs open: output functions write to one given as their last argument.
#include <string>

#include "host/lisp/lisp_value.h"

namespace host {

// Writes the text to a file opened for writing; throws LispError for a closed file or one opened to read.
bool writeToLispFile(const LispValue& file, const std::wstring& text);
// Closes every file a program left open (the end of a session, a test).
void closeLispFiles();

} // namespace host
