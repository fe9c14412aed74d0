#pragma once
// The commands of the application and the main frame: files, windows, the text screen, help, trace bits.
class CommandTable;
class CTheApp;

void connectAppCommands(CTheApp& app, CommandTable& table);
