#pragma once
// The command line: what the user types at the "Commande:" prompt, and the commands it runs. A typed name
// runs a command of the command stack (a leading "_" looks up global names), a command of the host (UNDO,
// U, MENULOAD, MENUUNLOAD, EXTEND, SELECT) or a LISP function "C:NAME"; a text starting with "(" is
// evaluated by the LISP; picks and selections made at the command prompt become the pick-first set.
//
// Around each command the host tells the editor reactors (commandWillStart, commandEnded), locks the
// document, makes the command one undo group, and checks at its end that it left nothing open, no lock and no
// undo group. Strings that the command sent for execution (sendStringToExecute) run right after it.
#include <optional>
#include <string>

#include "host/db/resbuf.h"

// Runs a command with its arguments, given as to acutBuildList: the command name (RTSTR), then its answers
// (texts, numbers, points, entity names, selection sets as RTPICKS), ended by RTNONE. Answers the command
// does not use are dropped; when they run out, the command reads the user's input. RTERROR for an unknown
// command or argument type.
int acedCommandS(int rtype, ...);

namespace host {

// Runs the named command; false, with a message, when no command has that name.
bool runCommand(const std::wstring& typed);
// Takes the input queue's items at the "Commande:" prompt until the queue (and the input source) is empty.
void runCommandLine();
// A new owner for the answers one call puts in front of the input queue (InputItem::owner).
int newArgumentOwner();
// Names typed at the command prompt that named no command, since the last reset.
int unknownCommandCount();
// Whether a script feeds the command line (CMDACTIVE then holds 4). Turning it on forgets where the last
// script stopped.
void setScriptActive(bool active);
// Where a script stops, as a CAD host stops a script file: the first line that named no command at the
// command prompt, or whose LISP failed. The command line takes no more input after it; dropping the rest of
// the script is left to whoever queued it.
struct ScriptStop {
    int line = 0; // the script line (0: not known)
    std::wstring reason;
};
const std::optional<ScriptStop>& scriptStop();
// QUIT: the command line takes no more input, and zhost runs no more scripts.
void requestQuit();
bool quitRequested();
// A person at a terminal: Enter or a blank at the command prompt runs the last command typed again (in a
// script an empty line at the command prompt does nothing).
void setRepeatOnEnter(bool repeat);
void resetCommandLine();

} // namespace host
