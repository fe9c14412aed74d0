#pragma once
// The line syntax of script files and of typed text. One line is one action:
//   text                  typed and ended by Enter (a command name, a keyword, "x,y" or "x,y,z", a number, a
//                         LISP expression starting with "("; "@dx,dy", "@dist<angle" and "@" are points
//                         relative to the last one, not items)
//   (empty line)          Enter
//   ^C                    cancel
//   # ... or ; ...        a comment
//   @move X,Y[,Z]         the cursor moves to a point (a drag follows it)
//   @snap X,Y[,Z]         a pick at a point with the running object snaps applied
//   @pick REF [MARKER] [X,Y[,Z]]  an entity picked, with the graphics marker of the part hit
//   @grip REF X,Y[,Z] X,Y[,Z]  at the command prompt: the entity's grips within PICKBOX of the first point
//                         dragged to the second (one undo step)
//   @dblclick REF [X,Y[,Z]]  at the command prompt: a double click on the entity (at the point given, else
//                         at its middle)
//   @select REF...        entities chosen at a selection prompt ("all", or none for an empty selection)
//   @key KEY [down|up|press] [TIME]  a key event (name such as END, SHIFT, DOWN, DELETE, or a code)
//   @answer BUTTON        a message-box answer: ok, cancel, yes, no, abort, retry, ignore
//   @typed [LINES] [MS]   waits at most MS ms (10,000) for LINES lines (1) typed into the host's window
// REF is a handle in hexadecimal, "last" for the last entity made, or "!name" for an entity name held by a
// LISP symbol.
#include <string>
#include <string_view>
#include <vector>

#include "host/input/input_queue.h"

namespace host {

// The items of one script line (none for a comment); false with a message for a line that cannot be read.
bool parseScriptLine(std::wstring_view line, std::vector<InputItem>& items, std::wstring& error);

// Text typed as at the keyboard: one line per carriage return or line feed (a line left empty is Enter), a
// last line without its return included, a LISP form left open going on over the lines that close it; the
// character 3 (Ctrl+C) is cancel.
std::vector<InputItem> typedItems(std::wstring_view text);

// The virtual-key code of a key name or number, or 0.
int virtualKeyCode(std::wstring_view name);

} // namespace host
