#include "host/zhost/session.h"

#include <cstdio>
#include <fstream>
#include <memory>

#include "host/acut.h"
#include "host/database.h"
#include "host/dxf_file.h"
#include "host/editor.h"
#include "host/editor_commands.h"
#include "host/file_bytes.h"
#include "host/graphics_recorder.h"
#include "host/input_queue.h"
#include "host/module_loader.h"
#include "host/rx.h"
#include "host/svg_writer.h"
#include "host/text_codec.h"

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

std::wstring trim(const std::wstring& s) {
    std::size_t a = s.find_first_not_of(L" \t\r");
    if (a == std::wstring::npos) return {};
    return s.substr(a, s.find_last_not_of(L" \t\r") - a + 1);
}

// Runs the commands waiting in the input queue; false when one is unknown or fails.
bool runQueuedCommands() {
    bool ok = true;
    while (std::optional<std::wstring> line = host::nextInput()) {
        std::wstring name = trim(*line);
        if (name.empty() || name[0] == L';') continue;
        AcEdCommand* command = acedRegCmds->lookupCmd(name.c_str());
        if (!command) {
            acutPrintf(L"\nCommande inconnue \"%s\".", name.c_str());
            report("unknown command " + host::toUtf8(name));
            ok = false;
            continue;
        }
        std::wstring global = command->globalName();
        acedEditor->fireCommandWillStart(global.c_str());
        try {
            command->functionAddr()();
            acedEditor->fireCommandEnded(global.c_str());
        } catch (const std::exception& e) {
            acedEditor->fireCommandFailed(global.c_str());
            report("command " + host::toUtf8(global) + " failed: " + e.what());
            ok = false;
        }
    }
    return ok;
}

bool queueScript(const std::string& path) {
    std::optional<std::string> content = host::readFileBytes(host::fromUtf8(path));
    if (!content) {
        report("cannot read script " + path);
        return false;
    }
    std::wstring text = host::fromUtf8(*content);
    for (std::size_t start = 0; start <= text.size();) {
        std::size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) end = text.size();
        host::queueInput(text.substr(start, end - start));
        start = end + 1;
    }
    return true;
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
    if (!host::writeFileBytes(host::fromUtf8(path), host::writeSvg(recorder.primitives()))) {
        report("cannot write " + path);
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
    return clean;
}

} // namespace

int runSession(const Options& options) {
    host::setCommandLineEcho(true);
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
        acedEditor->fireDwgFileOpened(db.get(), host::fromUtf8(options.drawing).c_str());
        host::sendToModules(AcRx::kLoadDwgMsg);
        for (const std::string& script : options.scripts)
            ok = queueScript(script) && runQueuedCommands() && ok;
        if (ok && !options.save.empty()) ok = save(*db, options.save);
        if (ok && !options.svg.empty()) ok = writePicture(*db, options.svg);
        host::sendToModules(AcRx::kUnloadDwgMsg);
    }
    // The drawing closes before the modules go: its objects may be of their classes.
    acdbHostApplicationServices()->setWorkingDatabase(nullptr);
    db.reset();
    host::unloadAllModules();
    host::clearInput();
    ok = checkNothingLeftBehind() && ok;
    std::fflush(stdout);
    return ok ? 0 : 1;
}

} // namespace zhost
