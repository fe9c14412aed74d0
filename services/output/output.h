#pragma once
// Output routing: every message of the library and of the plug-in goes through these functions.
//
// A text may begin with routing prefixes, examined one after the other: "$G$" opens the global text screen
// (starting the editor when needed), "$L$" opens the screen of this process, "$S$" brings the global screen
// to the front. What follows is printed into the global screen when it is open, then into the local one when
// it is open. A text that does not begin with "$" is dropped while no screen is open. Texts are 8-bit
// (Windows-1252); wide texts are narrowed to the code page.
#include <cstdint>

// Output happens only while this is greater than 0 (1 at load). Finding a text screen sets it to 1 when it is
// 0; callers may switch output off with 0 or less.
extern std::int32_t mprintEnabled;

// Routes `length` characters of `text` (0 or less: up to its terminating zero); 1 when output is enabled.
int mprint(const char* text, long length);
// The same for wide text; 0 also when nothing would be shown.
int mprint(const wchar_t* text, long length);

// Formats (at most 8,191 characters, cut beyond) and routes; 1 when something was printed.
int mprintf(const char* format, ...) __attribute__((format(printf, 1, 2)));
// The same for a wide format (at most 4,095 characters), with the Windows meanings of "%s" and "%S".
int mprintf(const wchar_t* format, ...);

// Clears the global screen, then the local one, each when it is open; 1.
int mcls();

// Shows or minimises the global screen, then the local one, each when it is open; the local result when the
// local screen is open, else the global result, else 0.
int mshow(int show);
