#pragma once
// A double click on a PolyArc3D starts the polyline editor at the digitised vertex nearest to the pick.
#include "host/editor/double_click_edit.h"

class AcDbDoubleClickEditPolyArc3D : public AcDbDoubleClickEdit {
public:
    // The entity comes open and is closed here; the edit runs with the document locked for writing.
    void startEdit(AcDbEntity* entity, AcGePoint3d pickedPoint) override;
    void finishEdit() override {}
};
