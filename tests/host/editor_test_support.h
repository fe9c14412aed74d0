#pragma once
// The editor's tests: a fresh editor over a drawing with a document, a few segments, and the script lines
// of a test typed into the input queue.
#include <initializer_list>
#include <string>

#include "host/editor/acut.h"
#include "host/editor/documents.h"
#include "host/editor/editor_reset.h"
#include "host/filing/text_codec.h"
#include "host/input/input_queue.h"
#include "tests/host/host_test_support.h"
#include "tests/host/test_segment.h"

namespace host::test {

class EditorSession {
public:
    EditorSession();
    ~EditorSession();
    EditorSession(const EditorSession&) = delete;
    EditorSession& operator=(const EditorSession&) = delete;

    // Appends a segment to model space on `layer` with `color`; its id, closed.
    AcDbObjectId addSegment(const AcGePoint3d& a, const AcGePoint3d& b, const wchar_t* layer = L"0",
                            Adesk::UInt16 color = 256);
    // Appends `entity` to model space; its id, closed.
    AcDbObjectId addEntity(AcDbEntity* entity);
    // Adds a layer to the drawing.
    void addLayer(const wchar_t* name);
    // Queues script lines (see host/script_line.h); a line that cannot be read fails the test.
    void type(std::initializer_list<const wchar_t*> lines);
    // What the command line shows.
    const std::wstring& transcript() const;

    WorkingDatabase drawing;
};

} // namespace host::test
