#pragma once
// What every prompt, selection and drag shares: show the prompt, take the user's next action from the input
// queue, and echo it on the command line. Key events pass through the window-message filters, and the keys
// no filter swallows are typed into the command line; Enter (or a blank where blanks end the input) hands
// the typed text over.
#include <functional>
#include <string>
#include <vector>

#include "host/db/db_object_id.h"
#include "host/ge/ge.h"
#include "host/rx/adesk.h"

namespace host {

struct Response {
    enum Kind { Cancel, Enter, Line, Point, Pick, Selection, Grip, DoubleClick, Exhausted };
    Kind kind = Cancel;
    std::wstring text;                  // Line
    AcGePoint3d point;                  // Point, Pick, Grip and DoubleClick, in user coordinates
    AcGePoint3d target;                 // Grip: where the grips go, in user coordinates
    bool snapped = false;               // Point: the running object snaps moved it
    AcDbObjectId entity;                // Pick, Grip and DoubleClick
    Adesk::GsMarker marker = 0;         // Pick
    std::vector<AcDbObjectId> entities; // Selection
    bool selectAll = false;             // Selection: "all" was given
};

struct ResponseOptions {
    bool blanksInText = false;                      // a typed blank belongs to the text
    std::function<void(const AcGePoint3d&)> onMove; // a drag follows the cursor (user coordinates)
    const wchar_t* waiter = L"a prompt";            // what waits, for the host's checks (null: none)
    bool stopWhenEmpty = false;                     // the command line: an empty queue is the end
};

// Shows `prompt` (null: nothing) and answers the user's next action. An empty queue answers Cancel, or
// Exhausted with `stopWhenEmpty`.
Response readResponse(const ACHAR* prompt, const ResponseOptions& options = {});

// The point a response gives (user coordinates): a picked point, or coordinates typed "x,y" or "x,y,z" (z
// then the current elevation); false for anything else.
bool responsePoint(const Response& response, AcGePoint3d& point);

// Prints text on the command line as it stands (no format).
void printText(const std::wstring& text);
// Prints a message that stands on its own line: what follows (the prompt asked again) starts a new line.
void printMessage(const std::wstring& text);

} // namespace host
