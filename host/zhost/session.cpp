#include "host/zhost/session.h"

#include <cstdio>
#include <memory>
#include <optional>
#include <sstream>
#include <unistd.h>
#include <vector>

#include "host/db/database.h"
#include "host/editor/acut.h"
#include "host/editor/command_line.h"
#include "host/editor/documents.h"
#include "host/editor/editor.h"
#include "host/editor/editor_commands.h"
#include "host/filing/dxf_file.h"
#include "host/filing/file_bytes.h"
#include "host/filing/proxies.h"
#include "host/filing/text_codec.h"
#include "host/graphics/graphics_recorder.h"
#include "host/graphics/svg_writer.h"
#include "host/input/input_queue.h"
#include "host/input/prompt_input.h"
#include "host/input/script_line.h"
#include "host/input/typed_input.h"
#include "host/lisp/lisp_eval.h"
#include "host/lisp/lisp_files.h"
#include "host/lisp/lisp_text.h"
#include "host/rx/host_versions.h"
#include "host/rx/module_loader.h"
#include "host/rx/rx.h"
#include "host/zhost/cad_window.h"
#include "host/zhost/terminal_input.h"

namespace zhost {
namespace {

void report(const std::string& message) {
    std::fprintf(stderr, "zhost: %s\n", message.c_str());
}

bool endsWith(const std::string& s, const std::string& suffix) {
    if (s.size() < suffix.size()) return false;
    for (std::size_t i = 0; i < suffix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(s[s.size() - suffix.size() + i])) != suffix[i])
            return false;
    return true;
}

// Queues the items of a script file; false, naming each line that cannot be read, when one cannot.
bool queueScript(const std::string& path) {
    std::string reason;
    std::optional<std::string> content = host::readFileOrPipeBytes(host::fromUtf8(path), &reason);
    if (!content) {
        report("cannot read script " + path + ": " + reason);
        return false;
    }
    std::vector<host::InputItem> items;
    bool ok = true;
    std::istringstream lines(*content);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        std::wstring error;
        const std::size_t first = items.size();
        // A LISP form goes on over the lines that follow until its brackets close.
        std::wstring text = host::fromUtf8(line);
        const int start = number;
        while (host::lispFormGoesOn(text) && std::getline(lines, line)) {
            text += L"\n" + host::fromUtf8(line);
            ++number;
        }
        if (!host::parseScriptLine(text, items, error)) {
            report(path + ":" + std::to_string(start) + ": " + host::toUtf8(error));
            ok = false;
        }
        for (std::size_t i = first; i < items.size(); ++i)
            items[i].scriptLine = start;
    }
    if (ok)
        for (host::InputItem& item : items)
            host::inputQueue().push(std::move(item));
    return ok;
}

// Runs a script the way a CAD user's script file runs: a line that names no command or whose LISP fails
// stops it there, with the drawing as it stands. False when it cannot be read or stopped.
bool runScript(const std::string& path) {
    if (!queueScript(path)) return false;
    host::setScriptActive(true);
    host::runCommandLine();
    const std::optional<host::ScriptStop> stop = host::scriptStop();
    host::setScriptActive(false);
    if (stop) {
        host::inputQueue().clear();
        host::printText(L"\n*** the script stops at line " + std::to_wstring(stop->line) + L": " +
                        stop->reason);
        report(path + ":" + std::to_string(stop->line) + ": " + host::toUtf8(stop->reason));
    }
    host::endCommandLine();
    return !stop;
}

// What the command line shows after its last line end: the prompt waiting for a line.
std::string shownPrompt() {
    const std::wstring& transcript = host::commandLineTranscript();
    const std::size_t lineEnd = transcript.rfind(L'\n');
    return host::toUtf8(lineEnd == std::wstring::npos ? transcript : transcript.substr(lineEnd + 1));
}

// The command line of a person at a terminal: each line typed is queued when a prompt needs it.
void runInteractive() {
    CancelOnInterrupt cancelOnInterrupt;
    TerminalLineEditor editor;
    bool quitQueued = false;
    host::setInputSource([&quitQueued, &editor] {
        // A terminal's end of input is not for good: after Ctrl+D the input ends once QUIT has run.
        if (quitQueued) return false;
        std::string line;
        const TerminalRead read = editor.read(shownPrompt(), line);
        if (read != TerminalRead::Line) {
            host::InputItem cancel = host::cancelItem();
            cancel.echo = std::wstring(host::kCancelEcho) + L"\n"; // the terminal shows no line end after ^C
            host::inputQueue().push(std::move(cancel));
        }
        if (read == TerminalRead::End) {
            // Ctrl+D ends as QUIT does, once what runs is cancelled.
            quitQueued = true;
            host::InputItem quit = host::lineItem(L"QUIT");
            quit.echo = L"QUIT\n";
            host::inputQueue().push(std::move(quit));
        }
        if (read != TerminalRead::Line) return true;
        std::vector<host::InputItem> items;
        std::wstring error;
        if (!host::parseScriptLine(host::fromUtf8(line), items, error)) {
            host::printText(L"\n*** " + error);
            items.push_back(host::cancelItem());
        }
        for (host::InputItem& item : items) {
            item.echo.clear(); // the terminal shows what was typed
            host::inputQueue().push(std::move(item));
        }
        return true;
    });
    host::setAnswerLinesShownByTerminal(true);
    host::setRepeatOnEnter(true);
    host::runCommandLine();
    host::setRepeatOnEnter(false);
    host::setAnswerLinesShownByTerminal(false);
    host::setInputSource(nullptr);
    host::endCommandLine();
}

// The functions of a LISP file, loaded before the scripts run; false when it cannot be read or fails.
bool loadLisp(const std::string& path) {
    try {
        host::loadLispFile(host::fromUtf8(path));
        return true;
    } catch (const host::LispError& failure) {
        host::reportLispError(failure);
        report("cannot load " + path + ": " + failure.what());
        return false;
    }
}

bool save(AcDbDatabase& db, const std::string& path) {
    std::wstring name = host::fromUtf8(path);
    acedEditor->fireBeginSave(&db, name.c_str());
    Acad::ErrorStatus es = endsWith(path, ".dxf") ? host::writeDxfFile(db, name) : db.saveAs(name.c_str());
    if (es != Acad::eOk) {
        report("cannot save " + path + ": " + db.lastFileError());
        return false;
    }
    acedEditor->fireSaveComplete(&db, name.c_str());
    return true;
}

bool writePicture(AcDbDatabase& db, const std::string& path) {
    host::GraphicsRecorder recorder;
    recorder.recordBlock(&db);
    if (std::string reason;
        !host::writeFileBytes(host::fromUtf8(path), host::writeSvg(recorder.primitives()), &reason)) {
        report("cannot write " + path + ": " + reason);
        return false;
    }
    return true;
}

// What modules registered and did not take back when they were unloaded.
bool checkNothingLeftBehind() {
    bool clean = true;
    for (AcRxClass* c : host::moduleClasses()) {
        report("a module left its class " + host::toUtf8(c->name()) + " registered");
        clean = false;
    }
    if (acedRegCmds->commandCount() > 0) {
        report("modules left " + std::to_string(acedRegCmds->commandCount()) + " commands registered");
        clean = false;
    }
    if (!acedEditor->reactors().empty()) {
        report("modules left " + std::to_string(acedEditor->reactors().size()) + " editor reactors");
        clean = false;
    }
    for (const std::wstring& service : acrxServiceDictionary()->keys()) {
        report("a module left its service " + host::toUtf8(service) + " registered");
        clean = false;
    }
    return clean;
}

} // namespace

int runSession(const Options& options) {
    host::setCommandLineEcho(true);
    host::emulateHost(options.host);
    // Modules come first, as in a CAD program started with its applications: a drawing that holds their
    // objects is read with their classes known.
    auto db = std::make_unique<AcDbDatabase>();
    acdbHostApplicationServices()->setWorkingDatabase(db.get());
    bool ok = true;
    for (const std::string& path : options.modules) {
        std::string error;
        if (!host::loadModule(path, error)) {
            report(error);
            ok = false;
            break;
        }
    }
    if (ok && !options.drawing.empty() &&
        db->readDwgFile(host::fromUtf8(options.drawing).c_str()) != Acad::eOk) {
        report("cannot open " + options.drawing + ": " + db->lastFileError());
        ok = false;
    }
    if (ok) {
        if (int proxies = host::proxyCount(*db); proxies > 0)
            host::printText(L"\nthe drawing holds " + std::to_wstring(proxies) +
                            L" proxy objects of classes no loaded module defines; they are kept as they are");
        std::wstring name = host::fromUtf8(options.drawing);
        AcApDocument* doc = acDocManager->openDocument(db.get(), name);
        acedEditor->fireDwgFileOpened(db.get(), name.c_str());
        host::sendToModules(AcRx::kLoadDwgMsg);
        CadWindow window;
        if (options.window) {
            std::string error;
            if (window.open(cadWindowTitle(host::hostFacts(options.host).product, options.drawing), error))
                host::setTypedLinesSource(
                    [&window](int lines, int waitMs) { return window.waitForLines(lines, waitMs); });
            else
                report("cannot show the CAD window: " + error);
        }
        for (const std::string& file : options.lispFiles)
            if (!loadLisp(file)) ok = false;
        // A script that stops ends the session's scripts; the drawing as it stands is still saved.
        for (const std::string& script : options.scripts)
            if (host::quitRequested()) {
                break;
            } else if (!runScript(script)) {
                ok = false;
                break;
            }
        if (options.scripts.empty() && isatty(STDIN_FILENO)) runInteractive();
        if (!options.save.empty()) ok = save(*db, options.save) && ok;
        if (!options.svg.empty()) ok = writePicture(*db, options.svg) && ok;
        host::setTypedLinesSource(nullptr);
        host::sendToModules(AcRx::kUnloadDwgMsg);
        acDocManager->closeDocument(doc);
    }
    // The drawing closes before the modules go: its objects may be of their classes.
    acdbHostApplicationServices()->setWorkingDatabase(nullptr);
    db.reset();
    host::unloadAllModules();
    host::closeLispFiles();
    host::resetInput();
    ok = checkNothingLeftBehind() && ok;
    // What modules printed as they went ends its line too.
    host::endCommandLine();
    std::fflush(stdout);
    return ok ? 0 : 1;
}

} // namespace zhost
