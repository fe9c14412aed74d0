#pragma once
// The plug-in's editor reactor: it keeps the drawing's TEF colours (read when a drawing opens, written before
// it is saved), ends the extend mode of ZOR_EXTEND after the command it was set for, and installs the menu
// after the first command when the start-up flags ask for it.
#include "host/editor/editor.h"

// In CPolyArc3D::m_PolyArc3dCmdeFlag: the extend mode, and the bit that keeps it into the next command.
constexpr int kExtendMode = 0xFF;
constexpr int kExtendForNextCommand = 0x100;

class myeditreact : public AcEditorReactor {
public:
    // Tables already set since the plug-in loaded are kept; the others take the drawing's lists.
    void dwgFileOpened(AcDbDatabase* database, const ACHAR* fileName) override;
    // Writes both tables' lists into the drawing when one of them has a colour.
    void beginSave(AcDbDatabase* database, const ACHAR* intendedName) override;
    // CPolyArc3D::m_PolyArc3dCmdeFlag keeps its low byte when 0x100 is set, else becomes 0.
    void commandWillStart(const ACHAR* commandName) override;
    // Sends "ZORTAPOLY " once when the menu still has to be installed.
    void commandEnded(const ACHAR* commandName) override;
};

// The one reactor while the plug-in is loaded, else null.
extern myeditreact* g_pEditReactor;
