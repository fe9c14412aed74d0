#pragma once
// What `zhost --help` prints: the usage, then the commands and LISP functions the host itself has, read
// from the tables that run them.
#include <string>

namespace zhost {

std::string helpText();

} // namespace zhost
