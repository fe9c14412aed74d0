#pragma once
// The commands of the edit view: fonts, word wrap, options, go to, clear, read-only, find and replace,
// replacing a series of words, the clipboard, validation.
class CommandTable;

void connectViewCommands(CommandTable& table);
