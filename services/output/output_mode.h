#pragma once
// The output mode digits of i_mode.
//
// Mode[0] holds the output bits (1 printing on, 2 the global text screen, 4 the local one), Mode[1] is kept
// for outside readers, Mode[2] equal to 1 selects counted-string mode: texts handed to s_len and to the
// settings store by callers outside the library carry their 32-bit size in the 4 bytes before their first
// character. ModeDef is kept beside it for outside readers.
extern char Mode[16];
extern char ModeDef[16];

// Sets the output mode from a text of digits ("100": printing on); 0 for a null text, else 1. While the busy
// word of the general segment is set (another i_mode or an editor start, in any process), nothing changes.
int i_mode(char* digits);

namespace services {

// Whether counted-string mode is on.
bool countedStringMode();

// Restores the mode of load (tests).
void resetOutputMode();

} // namespace services
