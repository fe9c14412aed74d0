#pragma once
// Process-wide state of the DOS members that is shared between their files.
#include <string_view>

namespace services {

// The result buffer that Chemin_comme, GetNameAs and GetEnv share: each call overwrites the previous text.
char* sharedDosText(std::string_view text);

// Each forgets its part of the state (DOS::Reset).
void resetSharedDosText();
void resetTemporaryFolder();

} // namespace services
