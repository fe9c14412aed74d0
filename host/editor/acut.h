#pragma once
// The host's command-line output.
#include <string>

#include "host/rx/adesk.h"

// Formats with the host's conventions (%s and %c take wide text, %S and %C narrow) and prints on the
// command line; answers the number of characters printed.
int acutPrintf(const ACHAR* format, ...);

namespace host {
// Everything printed on the command line since the last clear.
const std::wstring& commandLineTranscript();
void clearCommandLineTranscript();
// Whether printing also goes to standard output (zhost turns it on).
void setCommandLineEcho(bool echo);
// Ends the line of an answer, as Enter does on a command line; a text printed next that opens with a line
// end of its own does not leave an empty line.
void endAnswerLine();
// A person at a terminal: the terminal shows the line end of each answer typed, so that it only goes to the
// transcript.
void setAnswerLinesShownByTerminal(bool shown);
// Ends the line of a message that stands alone (a refusal, a note), so that the prompt asked again or the
// next message starts on a line of its own; a text printed next that opens with a line end of its own does
// not leave an empty line.
void endMessageLine();
// Ends the line the command line is on, if one is open.
void endCommandLine();
// A printf format with the host's conventions turned into the C library's (%s -> %ls, %S -> %s, ...).
std::wstring toLibraryFormat(const ACHAR* format);
} // namespace host
