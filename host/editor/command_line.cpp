#include "host/editor/command_line.h"

#include <cstdarg>
#include <cwctype>
#include <functional>
#include <optional>
#include <vector>

#include "host/db/build_list.h"
#include "host/db/database.h"
#include "host/db/db_object.h"
#include "host/editor/acut.h"
#include "host/editor/documents.h"
#include "host/editor/double_click_edit.h"
#include "host/editor/edit_commands.h"
#include "host/editor/editor.h"
#include "host/editor/editor_checks.h"
#include "host/editor/editor_commands.h"
#include "host/editor/editor_variables.h"
#include "host/editor/host_commands.h"
#include "host/editor/ucs.h"
#include "host/filing/text_codec.h"
#include "host/input/input_queue.h"
#include "host/input/prompt_input.h"
#include "host/input/text_numbers.h"
#include "host/lisp/lisp_eval.h"
#include "host/selection/selection_sets.h"

namespace host {

namespace {

struct State {
    std::vector<std::wstring> running; // innermost last
    bool script = false;
    int argumentOwner = 0;
    int unknownCommands = 0;
    std::optional<ScriptStop> stop;
    bool quit = false;
    bool repeatOnEnter = false;
    std::wstring lastCommand; // the last command typed at the command prompt
};

State& state() {
    static State s;
    return s;
}

void publishState() {
    std::wstring names;
    for (const std::wstring& n : state().running)
        names += (names.empty() ? L"" : L"'") + n;
    int active = state().running.empty() ? 0 : 1;
    if (state().running.size() > 1) active |= 2;
    if (state().script) active |= 4;
    setCommandState(active, names);
}

std::wstring upper(std::wstring text) {
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(std::towupper(c));
    return text;
}

// The script stops at the line it is on (the first failure counts).
void stopScript(std::wstring reason) {
    if (!state().script || state().stop) return;
    state().stop = ScriptStop{inputQueue().lastScriptLine(), std::move(reason)};
}

// What is done once per command typed at the command line, not for the commands that a command runs through
// acedCommandS: the document lock, the undo group, and the checks at the end.
class OutermostCommand {
public:
    OutermostCommand(std::wstring name, bool undoGroup) : m_name(std::move(name)) {
        m_start = editorChecks().commandStarts();
        m_doc = curDoc();
        if (m_doc) acDocManager->lockDocument(m_doc, AcAp::kAutoWrite);
        m_db = acdbHostApplicationServices()->workingDatabase();
        m_undo = undoGroup && m_db && m_db->beginUndoGroup() == Acad::eOk;
    }
    ~OutermostCommand() { finish(); }
    OutermostCommand(const OutermostCommand&) = delete;
    OutermostCommand& operator=(const OutermostCommand&) = delete;

    void finish() {
        if (m_undo && m_db == acdbHostApplicationServices()->workingDatabase()) m_db->endUndoGroup();
        if (m_doc && m_doc == curDoc()) acDocManager->unlockDocument(m_doc);
        m_undo = false;
        m_doc = nullptr;
    }
    // UNDO may leave a group open on purpose (BEgin): its undo depth is not checked.
    void check(bool undoBalance) const {
        EditorChecks::CommandState start = m_start;
        if (!undoBalance && m_db) start.undoDepth = m_db->undoGroupDepth();
        editorChecks().commandEnded(m_name, start);
    }

private:
    std::wstring m_name;
    EditorChecks::CommandState m_start;
    AcApDocument* m_doc = nullptr;
    AcDbDatabase* m_db = nullptr;
    bool m_undo = false;
};

// The command's name in CMDNAMES while it runs.
class RunningCommand {
public:
    explicit RunningCommand(const std::wstring& name) {
        state().running.push_back(name);
        publishState();
    }
    ~RunningCommand() {
        state().running.pop_back();
        publishState();
    }
    RunningCommand(const RunningCommand&) = delete;
    RunningCommand& operator=(const RunningCommand&) = delete;
};

void dispatch(const Response& r);

// A selection set answers a selection prompt with all its members at once.
bool selectionSetItem(const ads_name set, InputItem& item) {
    const std::vector<SelectionMember>* members = selectionMembers(set);
    if (!members) return false;
    std::vector<AcDbObjectId> ids;
    for (const SelectionMember& m : *members)
        ids.push_back(m.id);
    item = selectionItem(std::move(ids));
    return true;
}

// The strings a command sent for execution, before anything else the user typed.
void runSentStrings() {
    ResponseOptions options;
    options.waiter = nullptr;
    while (const InputItem* front = inputQueue().front()) {
        if (!front->sent) return;
        dispatch(readResponse(L"\nCommande: ", options));
    }
}

void execute(const std::wstring& name, Adesk::Int32 flags, bool isUndo, const std::function<void()>& body) {
    bool outermost = state().running.empty();
    if (outermost && !(flags & Acad::kUsePickSet)) setPickFirst({});
    acedEditor->fireCommandWillStart(name.c_str());
    {
        RunningCommand running(name);
        std::optional<OutermostCommand> outer;
        if (outermost) outer.emplace(name, !isUndo);
        try {
            body();
        } catch (const PromptLimitReached& e) {
            acutPrintf(L"\n*** La commande %s est arrêtée: %s", name.c_str(), fromUtf8(e.what()).c_str());
            if (!outermost) throw;
        } catch (const HostAbort&) {
            throw;
        } catch (const std::exception& e) {
            acutPrintf(L"\n*** La commande %s a échoué: %s", name.c_str(), fromUtf8(e.what()).c_str());
        } catch (...) {
            acutPrintf(L"\n*** La commande %s a échoué", name.c_str());
        }
        if (outer) {
            outer->finish();
            outer->check(!isUndo);
        }
    }
    acedEditor->fireCommandEnded(name.c_str());
    if (outermost) runSentStrings();
}

// What an expression typed at the command prompt changes is one step for UNDO, as a command's changes are.
void runLispAsOneStep(const std::wstring& text) {
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    bool grouped = db && db->beginUndoGroup() == Acad::eOk;
    std::wstring error;
    try {
        runLispConsole(text, &error);
    } catch (const HostAbort&) {
        throw;
    } catch (const std::exception& e) {
        error = fromUtf8(e.what());
        acutPrintf(L"\n; erreur: %s", error.c_str());
    }
    if (!error.empty()) stopScript(L"LISP error: " + error);
    if (grouped && db == acdbHostApplicationServices()->workingDatabase()) db->endUndoGroup();
}

// Enter or a blank at the command prompt of a terminal runs the last command again, as a CAD program does.
void repeatLastCommand() {
    if (!state().repeatOnEnter || state().lastCommand.empty()) return;
    printText(state().lastCommand);
    runCommand(state().lastCommand);
}

void dispatch(const Response& r) {
    switch (r.kind) {
    case Response::Enter:
        repeatLastCommand();
        return;
    case Response::Line: {
        std::wstring text = trim(r.text);
        if (text.empty()) {
            repeatLastCommand();
            return;
        }
        if (text[0] == L'(') {
            runLispAsOneStep(text);
        } else if (runCommand(text)) {
            state().lastCommand = text;
        } else {
            stopScript(L"unknown command \"" + upper(text) + L"\"");
        }
        return;
    }
    case Response::Pick:
        setPickFirst({pickedMember(r.entity, r.marker, ucsToWorld(r.point))});
        return;
    case Response::Selection: {
        std::vector<SelectionMember> members;
        for (AcDbObjectId id : r.entities)
            members.push_back(chosenMember(id));
        setPickFirst(std::move(members));
        return;
    }
    case Response::Cancel:
        setPickFirst({});
        return;
    case Response::Point:
        printText(L"\n*** Un point à l'invite de commande ne choisit rien ici");
        return;
    case Response::Grip:
        execute(L"GRIP", 0, false, [&] { dragGrips(r.entity, ucsToWorld(r.point), ucsToWorld(r.target)); });
        return;
    case Response::DoubleClick:
        execute(L"DBLCLKEDIT", 0, false, [&] { doubleClickEntity(r.entity, ucsToWorld(r.point)); });
        return;
    default:
        return;
    }
}

} // namespace

bool runCommand(const std::wstring& typed) {
    std::wstring name = trim(typed);
    bool global = false;
    while (!name.empty() && (name[0] == L'_' || name[0] == L'.' || name[0] == L'\'')) {
        global = global || name[0] == L'_';
        name.erase(0, 1);
    }
    AcEdCommand* cmd = acedRegCmds->lookupCmd((global ? L"_" + name : name).c_str());
    if (cmd) {
        AcRxFunctionPtr f = cmd->functionAddr();
        execute(cmd->globalName(), cmd->commandFlags(), false, [f] { f(); });
        return true;
    }
    std::wstring upperName = upper(name);
    if (HostCommandFunction f = findHostCommand(upperName)) {
        execute(upperName, 0, upperName == L"UNDO" || upperName == L"U", f);
        return true;
    }
    if (isLispCommand(upperName)) {
        execute(upperName, 0, false, [&] {
            std::wstring error = runLispCommand(upperName);
            if (!error.empty()) stopScript(L"LISP error: " + error);
        });
        return true;
    }
    acutPrintf(L"\nCommande inconnue \"%s\".", upper(trim(typed)).c_str());
    ++state().unknownCommands;
    return false;
}

void runCommandLine() {
    ResponseOptions options;
    options.waiter = nullptr;
    options.stopWhenEmpty = true;
    while ((!inputQueue().empty() || hasInputSource()) && !state().stop && !state().quit) {
        Response r = readResponse(L"\nCommande: ", options);
        if (r.kind == Response::Exhausted) return;
        dispatch(r);
    }
}

int newArgumentOwner() {
    return ++state().argumentOwner;
}

int unknownCommandCount() {
    return state().unknownCommands;
}

void setScriptActive(bool active) {
    state().script = active;
    if (active) state().stop.reset();
    publishState();
}

const std::optional<ScriptStop>& scriptStop() {
    return state().stop;
}

void requestQuit() {
    state().quit = true;
    inputQueue().clear();
}

void setRepeatOnEnter(bool repeat) {
    state().repeatOnEnter = repeat;
}

bool quitRequested() {
    return state().quit;
}

void resetCommandLine() {
    state() = State{};
    publishState();
}

} // namespace host

using namespace host;

int acedCommandS(int rtype, ...) {
    va_list args;
    va_start(args, rtype);
    resbuf* chain = buildList(rtype, args);
    va_end(args);
    if (!chain || chain->restype != RTSTR) {
        acutPrintf(L"\n*** acedCommandS: %s",
                   chain ? L"no command name" : L"an argument type is not supported");
        acutRelRb(chain);
        return RTERROR;
    }
    std::wstring name = chain->resval.rstring;
    int owner = newArgumentOwner();
    std::vector<InputItem> items;
    for (const resbuf* rb = chain->rbnext; rb; rb = rb->rbnext) {
        InputItem item;
        switch (resbufValueType(rb->restype)) {
        case RTSTR:
            item = rb->resval.rstring[0] ? lineItem(rb->resval.rstring) : enterItem();
            break;
        case RTREAL:
            item = lineItem(formatReal(rb->resval.rreal));
            break;
        case RTSHORT:
            item = lineItem(std::to_wstring(rb->resval.rint));
            break;
        case RTLONG:
            item = lineItem(std::to_wstring(rb->resval.rlong));
            break;
        case RT3DPOINT:
            item = pointItem(AcGePoint3d(rb->resval.rpoint[0], rb->resval.rpoint[1], rb->resval.rpoint[2]));
            break;
        case RTENAME: {
            if (rb->restype == RTPICKS) {
                if (!selectionSetItem(rb->resval.rlname, item)) {
                    acutPrintf(L"\n*** acedCommandS: a selection set argument names no set");
                    acutRelRb(chain);
                    return RTERROR;
                }
                break;
            }
            AcDbObjectId id;
            acdbGetObjectId(id, rb->resval.rlname);
            item = pickItem(id, 0, AcGePoint3d());
            item.hasPoint = false;
            break;
        }
        default:
            continue;
        }
        item.owner = owner;
        items.push_back(std::move(item));
    }
    acutRelRb(chain);
    inputQueue().pushFront(std::move(items));
    acutPrintf(L"\nCommande: %s", name.c_str());
    struct Drop {
        int owner;
        ~Drop() { inputQueue().dropOwned(owner); }
    } drop{owner};
    return runCommand(name) ? RTNORM : RTERROR;
}
