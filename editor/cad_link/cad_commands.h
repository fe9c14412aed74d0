#pragma once
// The view's commands that type coordinates into the CAD window: those of the selected lines, one line
// after the other, to answer a point prompt; or a transparent zoom centred on those of the caret's line.
#include <string_view>

class CommandTable;
class QPlainTextEdit;

// Sends the coordinates of each selected line (the caret's line without a selection); the number of lines
// sent. Nothing is sent without a CAD window, nor, with a message, when more than 1,000 lines hold
// coordinates; the sending stops when the window goes.
int OnSendCoordinates(const QPlainTextEdit& view, std::string_view editorTitle);
// Zooms the CAD drawing on the caret line's coordinates; false when there is no window or no coordinates.
bool OnCadZoom(const QPlainTextEdit& view, std::string_view editorTitle);

// Connects both commands to the program's command table, the editor's title being its main frame's.
void connectCadLinkCommands(CommandTable& table);
