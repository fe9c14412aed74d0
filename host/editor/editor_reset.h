#pragma once
// Test support: puts the whole editor back as the host starts it (input queue, prompts, documents, command
// stack, editor reactors, modules, the emulated host, demand-load entries, LISP symbols and functions, system
// variables, user coordinate system, selection sets, menus, the status bar, window-message filters, checks
// and the command-line transcript).
namespace host {
void resetEditor();
}
