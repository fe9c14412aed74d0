#pragma once
// The scripted input queue: every action a user would take at the command line waits here in order. Prompts,
// selections, drags and message boxes take their answers from the front; an empty queue answers cancel, so
// that a session without a person at the keyboard can never hang.
#include <cstddef>
#include <deque>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/db/db_object_id.h"
#include "host/ge/ge.h"
#include "host/rx/adesk.h"

namespace host {

enum class InputKind {
    Line,   // text typed and ended by Enter: a command, a keyword, a number, coordinates, a LISP expression
    Enter,  // Enter on an empty line
    Cancel, // Escape
    Point,  // a point picked with the mouse (current user coordinates)
    Move,   // the cursor moved to a point: a drag samples it, other prompts let it pass
    Snap,   // a point picked with the running object snaps applied
    Pick,   // an entity picked at a point, with the graphics marker of the part that was hit
    Selection,   // entities chosen at a selection prompt
    Key,         // a key pressed or released
    Answer,      // the button chosen in a message box
    Grip,        // at the command prompt: the grips of an entity near a point dragged to another point
    DoubleClick, // at the command prompt: a double click on an entity
    Typed,       // a wait for lines typed into the host's window (typed_input.h)
};

struct InputItem {
    InputKind kind = InputKind::Enter;
    std::wstring text;          // Line: the text; Pick and Selection: the entity references as written
    AcGePoint3d point;          // Point, Move, Snap, Pick, DoubleClick; Grip: where the grips are taken
    AcGePoint3d target;         // Grip: where they are put
    bool hasPoint = false;      // Pick and DoubleClick: whether a point was given
    bool applySnaps = false;    // Move: the running object snaps (OSMODE) apply, as to a dragged cursor
    AcDbObjectId entity;        // Pick: the entity when the item was made in code
    Adesk::GsMarker marker = 0; // Pick
    std::vector<AcDbObjectId> entities; // Selection made in code
    int virtualKey = 0;                 // Key
    bool keyDown = true;                // Key: press or release
    Adesk::UInt32 time = 0;             // Key: the message time in milliseconds (0: the host's clock)
    int button = 0;                     // Answer: IDOK 1, IDCANCEL 2, ..., IDYES 6, IDNO 7
    bool sent = false;                  // queued by sendStringToExecute
    int owner = 0;                      // non-zero: arguments of one host command call, dropped when it ends
    int typedLines = 0;                 // Typed: how many lines
    int typedWaitMs = 0;                // Typed: how long at most
    std::wstring echo;                  // what the transcript shows when the item is taken
    int scriptLine = 0;                 // the line of the script it came from (0: none)
};

// Items made in code, echoed as a script line would show them.
InputItem lineItem(std::wstring text);
InputItem enterItem();
// What a cancelled prompt shows, as the CAD program prints it.
inline constexpr const wchar_t* kCancelEcho = L"*Annulé*";
InputItem cancelItem();
InputItem pointItem(const AcGePoint3d& point);
InputItem moveItem(const AcGePoint3d& point);
InputItem snapItem(const AcGePoint3d& point);
InputItem pickItem(AcDbObjectId entity, Adesk::GsMarker marker, const AcGePoint3d& point);
InputItem selectionItem(std::vector<AcDbObjectId> entities);
InputItem keyItem(int virtualKey, bool down, Adesk::UInt32 time = 0);
InputItem answerItem(int button);

class InputQueue {
public:
    void push(InputItem item) { m_items.push_back(std::move(item)); }
    // Puts `items` in front of everything, in their order.
    void pushFront(std::vector<InputItem> items);
    bool empty() const { return m_items.empty(); }
    std::size_t size() const { return m_items.size(); }
    const InputItem* front() const { return m_items.empty() ? nullptr : &m_items.front(); }
    InputItem take();
    // The script line of the last item taken that came from a script (0: none yet), for the messages that
    // say where a script stopped.
    int lastScriptLine() const { return m_lastScriptLine; }
    // Drops the items that a host command call put in front and did not use. Such items (an owner set)
    // come only through pushFront, so only the items put in front and not yet taken are looked through,
    // not a whole script waiting behind them.
    void dropOwned(int owner);
    void clear() {
        m_items.clear();
        m_lastScriptLine = 0;
        m_putInFront = 0;
    }

private:
    std::deque<InputItem> m_items;
    int m_lastScriptLine = 0;
    std::size_t m_putInFront = 0; // the first items, those pushFront put there
};

InputQueue& inputQueue();

// Prompts met while the queue was empty, in a row. Past the limit the host stops the session: a loop that
// asks again after every cancel would otherwise never end.
class DryPromptGuard {
public:
    // Counts one prompt that found the queue empty; throws PromptLimitReached past the limit.
    void countDryPrompt();
    void countAnsweredPrompt() { m_dry = 0; }
    int limit() const { return m_limit; }
    void setLimit(int limit) { m_limit = limit; }
    void reset() { m_dry = 0; }

private:
    int m_dry = 0;
    int m_limit = 64;
};

DryPromptGuard& dryPromptGuard();

// Thrown at a prompt once the session has run dry; caught by the command runner.
struct PromptLimitReached : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Where more input comes from once the queue is empty (the terminal of an interactive session): the
// function queues what the user typed next and answers false at the end of the input. None by default.
void setInputSource(std::function<bool()> refill);
// Asks the input source for more; false without one or at its end.
bool refillInput();
bool hasInputSource();

// Test support: empties the queue and the guard, and removes the input source.
void resetInput();

} // namespace host
