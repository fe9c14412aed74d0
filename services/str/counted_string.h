#pragma once
// Lengths of texts handed in from outside the library, which may be counted strings (see output_mode.h).

// The length of `text`: 0 for a null text; in counted-string mode the unsigned 32-bit size stored in the 4
// bytes just before it; otherwise the length up to its terminating zero.
unsigned s_len(const char* text);
