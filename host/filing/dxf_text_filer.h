#pragma once
// A DXF filer straight over DXF text, for the drawing-file reader and writer: reading takes the current
// object's groups from the text as the object asks for them, up to its next group 0; writing formats each
// group into the text as it comes. An object of a million vertices thus never has its groups in a list.
//
// A group that does not parse, or that the file's reader refuses, ends the object for the object's own
// reader, which may be a module's that turns exceptions into statuses and messages of its own; the file's
// reader, passing over the rest of the object, meets the group again and refuses it with its line.
#include "host/filing/dxf_filer.h"
#include "host/filing/dxf_text.h"

namespace host {

class DxfTextFiler : public DxfCursorFiler {
public:
    DxfTextFiler(AcDbDatabase* database, DxfGroupReader& in)
        : DxfCursorFiler(AcDb::kFileFiler, database), m_in(&in) {}
    DxfTextFiler(AcDbDatabase* database, DxfTextOut& out)
        : DxfCursorFiler(AcDb::kFileFiler, database), m_out(&out) {}

    Acad::ErrorStatus writeGroup(const Group& group) override;

private:
    const Group* peekGroup() const override;
    const Group& takeGroup() override;
    void untakeGroup() override { m_untaken = true; }

    DxfGroupReader* m_in = nullptr;
    DxfTextOut* m_out = nullptr;
    Group m_taken;          // the last group taken from the text
    bool m_untaken = false; // given back: the next group to take
};

} // namespace host
