#pragma once
// Saving and leaving, as at a CAD program's command line with file dialogs off: QSAVE saves under the
// drawing's name (asking one for a drawing never saved), SAVE and SAVEAS ask for a name, the drawing then
// going by it; a name ending in ".dxf" saves DXF, any other the host's binary drawing. SAVEAS first asks the
// DXF version (the release, 2000 to 2018), which the drawing keeps for its next saves. An existing file other
// than the drawing's own is replaced only when the user says so. QUIT asks "Oui/Non/Annuler" in a message box
// when the drawing changed since it was opened or saved, then ends the command line.
#include <string>

class AcApDocument;

namespace host {

void saveCommand();
void saveAsCommand();
void qsaveCommand();
void quitCommand();
// Saves the document's drawing under `path` (DXF or binary by its extension) and names the document after
// it; false, with a message, when it cannot be written.
bool saveDocumentAs(AcApDocument& doc, const std::wstring& path);
// DWGNAME and DWGPREFIX for the document's file name (a drawing not yet saved is "Dessin1.dwg" in the
// current folder), and ACADVER for the host emulated.
void publishDocumentVariables(const AcApDocument* doc);

} // namespace host
