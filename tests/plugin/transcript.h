#pragma once
// What the command line showed, counted.
#include <string>

#include "host/editor/acut.h"

namespace plugin::test {

// How often `text` shows in the command-line transcript.
inline int shown(const std::wstring& text) {
    const std::wstring& transcript = host::commandLineTranscript();
    int n = 0;
    for (std::size_t at = transcript.find(text); at != std::wstring::npos; at = transcript.find(text, at + 1))
        ++n;
    return n;
}

} // namespace plugin::test
