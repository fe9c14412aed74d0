#include "host/input/prompt_input.h"

#include <cwctype>

#include "host/db/database.h"
#include "host/db/system_variables.h"
#include "host/editor/acut.h"
#include "host/editor/command_line.h"
#include "host/editor/editor_checks.h"
#include "host/editor/editor_variables.h"
#include "host/editor/ucs.h"
#include "host/editor/win_msg_filter.h"
#include "host/editor/zoom_command.h"
#include "host/input/entity_refs.h"
#include "host/input/input_queue.h"
#include "host/input/text_numbers.h"
#include "host/input/typed_input.h"
#include "host/input/typed_lisp.h"
#include "host/input/typed_points.h"
#include "host/selection/osnap.h"
#include "host/selection/pick_box.h"

namespace host {

namespace {

// What the keys typed so far at the command line hold.
std::wstring& typedLine() {
    static std::wstring line;
    return line;
}

wchar_t printableKey(int key) {
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return static_cast<wchar_t>(key);
    if (key >= 0x60 && key <= 0x69) return static_cast<wchar_t>(L'0' + key - 0x60); // numeric keypad
    switch (key) {
    case 0x6B:
    case 0xBB:
        return L'+';
    case 0x6D:
    case 0xBD:
        return L'-';
    case 0x6E:
    case 0xBE:
        return L'.';
    case 0xBC:
        return L',';
    default:
        return 0;
    }
}

// The answer as the command line shows it, then the line end that Enter gives.
void printAnswer(const std::wstring& answer) {
    printText(answer);
    endAnswerLine();
}

// The cursor at `ucsPoint` (user coordinates) drawn to the nearest running snap, as a host snaps the cursor
// while a drag runs; the point itself when nothing lies within the aperture.
AcGePoint3d snappedCursor(const AcGePoint3d& ucsPoint) {
    AcGePoint3d snapped;
    if (!snapToEntities(ucsToWorld(ucsPoint), shortVariable(L"OSMODE"), snapped)) return ucsPoint;
    return worldToUcs(snapped);
}

// A key event; true with `response` set when it ends the input.
bool takeKey(const InputItem& item, const ResponseOptions& options, Response& response) {
    if (offerKeyEvent(item.virtualKey, item.keyDown, item.time) || !item.keyDown) return false;
    std::wstring& line = typedLine();
    int key = item.virtualKey;
    if (key == VK_ESCAPE) {
        line.clear();
        printAnswer(kCancelEcho);
        response.kind = Response::Cancel;
        return true;
    }
    if (key == VK_RETURN || (key == VK_SPACE && !options.blanksInText)) {
        printAnswer(line);
        response.kind = line.empty() ? Response::Enter : Response::Line;
        response.text = std::move(line);
        line.clear();
        return true;
    }
    if (key == VK_BACK) {
        if (!line.empty()) line.pop_back();
    } else if (key == VK_SPACE) {
        line += L' ';
    } else if (wchar_t c = printableKey(key)) {
        line += c;
    }
    return false;
}

// Whether a script's pick at a point misses the entity it names: it draws, and not there. An entity that
// draws nothing the host can see keeps the pick (its place cannot be judged).
bool missed(AcDbObjectId id, const AcGePoint3d& ucsPoint) {
    AcDbEntity* entity = nullptr;
    if (acdbOpenObject(entity, id, AcDb::kForRead) != Acad::eOk) return false;
    const PickHit hit = pickHit(entity, ucsToWorld(ucsPoint), pickTolerance());
    entity->close();
    return hit == PickHit::Missed;
}

// The marker of the part of the entity nearest to a point in the user system.
Adesk::GsMarker markerAt(AcDbObjectId id, const AcGePoint3d& ucsPoint) {
    AcDbEntity* entity = nullptr;
    if (acdbOpenObject(entity, id, AcDb::kForRead) != Acad::eOk) return 0;
    const Adesk::GsMarker marker = nearestMarker(entity, ucsToWorld(ucsPoint));
    entity->close();
    return marker;
}

bool resolvePick(const InputItem& item, Response& response) {
    std::wstring error;
    AcDbObjectId id = item.entity;
    if (id.isNull() && !resolveEntityRef(item.text, id, error)) {
        printMessage(L"\n*** " + error);
        return false;
    }
    response.point = item.hasPoint ? item.point : worldToUcs(entityMiddle(id));
    // A pick at a point whose entity is not drawn there is a click at that point: it finds what is.
    if (item.hasPoint && missed(id, response.point)) {
        response.kind = Response::Point;
        return true;
    }
    response.kind = Response::Pick;
    response.entity = id;
    response.marker = item.marker;
    if (item.marker == 0 && item.hasPoint) response.marker = markerAt(id, response.point);
    return true;
}

bool resolveSelection(const InputItem& item, Response& response) {
    response.kind = Response::Selection;
    response.entities = item.entities;
    std::size_t start = 0;
    const std::wstring& refs = item.text;
    while (start < refs.size()) {
        std::size_t blank = refs.find(L' ', start);
        std::wstring ref =
            refs.substr(start, blank == std::wstring::npos ? std::wstring::npos : blank - start);
        start = blank == std::wstring::npos ? refs.size() : blank + 1;
        if (ref.empty()) continue;
        if (ref == L"all" || ref == L"ALL" || ref == L"tout" || ref == L"TOUT") {
            response.selectAll = true;
            continue;
        }
        AcDbObjectId id;
        std::wstring error;
        if (!resolveEntityRef(ref, id, error)) {
            printMessage(L"\n*** " + error);
            return false;
        }
        response.entities.push_back(id);
    }
    return true;
}

// A line "'NAME" inside a command's prompt: the transparent command runs; true when the line was one.
bool ranTransparently(const std::wstring& text) {
    const std::wstring line = trim(text);
    if (line.empty() || line[0] != L'\'') return false;
    std::wstring name = line.substr(1);
    while (!name.empty() && (name[0] == L'_' || name[0] == L'.'))
        name.erase(0, 1);
    for (wchar_t& c : name)
        c = static_cast<wchar_t>(std::towupper(c));
    if (isTransparentCommand(name))
        runCommand(line);
    else
        printMessage(L"\n** Cette commande ne peut pas être utilisée de manière transparente **");
    return true;
}

// What an item taken at a prompt answers; false when the prompt reads on. `typed`: the user gave it, not a
// program.
bool answerWith(const InputItem& item, const ACHAR* prompt, const ResponseOptions& options, bool typed,
                Response& response) {
    switch (item.kind) {
    case InputKind::Line:
        // The command line runs "'" commands and LISP itself. Inside a command the prompt asks again after a
        // transparent command; what the user typed there may be LISP, whose value answers (COMMAND's answers
        // and such values are values already).
        if (typed && !options.stopWhenEmpty) {
            if (ranTransparently(item.text)) {
                if (prompt) printText(prompt);
                return false;
            }
            InputItem value;
            switch (evaluateTypedLisp(item.text, value)) {
            case TypedLisp::Answered:
                return answerWith(value, prompt, options, false, response);
            case TypedLisp::AskAgain:
                if (prompt) printText(prompt);
                return false;
            case TypedLisp::NotLisp:
                break;
            }
        }
        response.kind = Response::Line;
        response.text = item.text;
        return true;
    case InputKind::Enter:
        response.kind = Response::Enter;
        return true;
    case InputKind::Cancel:
        response.kind = Response::Cancel;
        return true;
    case InputKind::Point:
        response.kind = Response::Point;
        response.point = item.point;
        return true;
    case InputKind::Snap: {
        response.kind = Response::Point;
        response.point = item.point;
        AcGePoint3d snapped;
        if (snapToEntities(ucsToWorld(item.point), shortVariable(L"OSMODE"), snapped)) {
            response.point = worldToUcs(snapped);
            response.snapped = true;
        }
        return true;
    }
    case InputKind::Pick:
        return resolvePick(item, response);
    case InputKind::Selection:
        return resolveSelection(item, response);
    case InputKind::Grip:
        // Grips are dragged at the command prompt only.
        if (!options.stopWhenEmpty) {
            printMessage(L"\n*** Une poignée ne se déplace qu'à l'invite de commande");
            return false;
        }
        if (!resolvePick(item, response)) return false;
        response.kind = Response::Grip;
        response.target = item.target;
        return true;
    case InputKind::DoubleClick:
        if (!options.stopWhenEmpty) {
            printMessage(L"\n*** Un double clic ne s'applique qu'à l'invite de commande");
            return false;
        }
        // A double click where the entity is not drawn hits nothing.
        if (!resolvePick(item, response) || response.kind != Response::Pick) return false;
        response.kind = Response::DoubleClick;
        return true;
    default:
        return false;
    }
}

} // namespace

bool responsePoint(const Response& r, AcGePoint3d& point) {
    if (r.kind == Response::Point || r.kind == Response::Pick) {
        point = r.point;
        return true;
    }
    if (r.kind != Response::Line) return false;
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    resbuf last{};
    const AcGePoint3d lastPoint =
        acedGetVar(L"LASTPOINT", &last) == RTNORM && (last.restype == RTPOINT || last.restype == RT3DPOINT)
            ? AcGePoint3d(last.resval.rpoint[0], last.resval.rpoint[1], last.resval.rpoint[2])
            : AcGePoint3d::kOrigin;
    return parseTypedPoint(r.text, lastPoint, db ? db->elevation() : 0.0, point);
}

void printText(const std::wstring& text) {
    if (!text.empty()) acutPrintf(L"%s", text.c_str());
}

void printMessage(const std::wstring& text) {
    if (text.empty()) return;
    printText(text);
    endMessageLine();
}

Response readResponse(const ACHAR* prompt, const ResponseOptions& options) {
    if (options.waiter) editorChecks().atPrompt(options.waiter);
    if (prompt) printText(prompt);
    Response response;
    for (;;) {
        InputQueue& queue = inputQueue();
        if (queue.empty() && refillInput()) continue;
        if (queue.empty() && options.stopWhenEmpty) {
            response.kind = Response::Exhausted;
            return response;
        }
        if (queue.empty()) {
            dryPromptGuard().countDryPrompt();
            typedLine().clear();
            printAnswer(kCancelEcho);
            response.kind = Response::Cancel;
            return response;
        }
        InputItem item = queue.take();
        dryPromptGuard().countAnsweredPrompt();
        switch (item.kind) {
        case InputKind::Move:
            if (options.onMove) options.onMove(item.applySnaps ? snappedCursor(item.point) : item.point);
            continue;
        case InputKind::Key:
            if (takeKey(item, options, response)) return response;
            continue;
        case InputKind::Typed:
            // A wait, not input: what is typed shows after the prompt as if at the keyboard.
            takeTypedLines(item);
            continue;
        case InputKind::Answer:
            printMessage(L"\n*** Une réponse de boîte de message (" + item.echo +
                         L") est arrivée sans boîte de message");
            continue;
        default:
            break;
        }
        typedLine().clear();
        printAnswer(item.echo);
        if (answerWith(item, prompt, options, item.owner == 0, response)) return response;
    }
}

} // namespace host
