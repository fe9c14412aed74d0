#pragma once
// A DXF filer straight over DXF text, for the drawing-file reader and writer: reading takes the current
// object's groups from the text as the object asks for them, up to its next group 0; writing formats each
// group into the text as it comes. An object of a million vertices thus never has its groups in a list.
//
// A group that does not parse ends the object for the object's own reader, which may be a module's that
// turns exceptions into statuses and messages of its own; the file's reader, passing over the rest of the
// object, meets the group again and refuses it with its line.
#include "host/filing/dxf_filer.h"
#include "host/filing/dxf_text.h"

namespace host {

class DxfTextFiler : public AcDbDxfFiler {
public:
    DxfTextFiler(AcDbDatabase* database, DxfGroupReader& in) : m_database(database), m_in(&in) {}
    DxfTextFiler(AcDbDatabase* database, DxfTextOut& out) : m_database(database), m_out(&out) {}
    ~DxfTextFiler() override;
    DxfTextFiler(const DxfTextFiler&) = delete;
    DxfTextFiler& operator=(const DxfTextFiler&) = delete;

    AcDb::FilerType filerType() const override { return AcDb::kFileFiler; }
    Acad::ErrorStatus filerStatus() const override { return m_status; }
    void setFilerStatus(Acad::ErrorStatus status) override { m_status = status; }
    AcDbDatabase* database() const override { return m_database; }
    Acad::ErrorStatus readItem(resbuf* item) override;
    Acad::ErrorStatus pushBackItem() override;
    bool atSubclassData(const ACHAR* name) override;
    bool atEOF() const override;
    bool atEndOfObject() const override;
    std::vector<Group> takeExtendedData() override;
    Acad::ErrorStatus writeGroup(const Group& group) override;

private:
    // The next group of the object (the one pushed back, else the text's), null past its end.
    const Group* upcoming() const;
    const Group& take();

    AcDbDatabase* m_database;
    DxfGroupReader* m_in = nullptr;
    DxfTextOut* m_out = nullptr;
    Group m_last; // the last group taken, delivered again after a push back
    bool m_hasLast = false;
    bool m_pushedBack = false;
    Acad::ErrorStatus m_status = Acad::eOk;
    resbuf* m_lastText = nullptr; // owns the text or bytes of the last item read
};

} // namespace host
