#include "host/editor/editor_reset.h"

#include <vector>

#include "host/db/system_variables.h"
#include "host/editor/acut.h"
#include "host/editor/command_line.h"
#include "host/editor/documents.h"
#include "host/editor/editor.h"
#include "host/editor/editor_checks.h"
#include "host/editor/editor_commands.h"
#include "host/editor/menus.h"
#include "host/editor/status_bar.h"
#include "host/editor/ucs.h"
#include "host/editor/win_msg_filter.h"
#include "host/graphics/highlights.h"
#include "host/input/input_queue.h"
#include "host/input/prompts.h"
#include "host/lisp/lisp_functions.h"
#include "host/lisp/lisp_symbols.h"
#include "host/rx/app_info.h"
#include "host/rx/host_versions.h"
#include "host/rx/module_loader.h"
#include "host/selection/selection_sets.h"

namespace host {

void resetEditor() {
    resetInput();
    resetPrompts();
    resetFilters();
    acDocManager->reset();
    unloadAllModules();
    emulateHost(HostVersion::Acad2021);
    resetApplicationEntries();
    acedRegCmds->removeAll();
    for (AcEditorReactor* r : std::vector<AcEditorReactor*>(acedEditor->reactors()))
        acedEditor->removeReactor(r);
    resetLispFunctions();
    resetLispSymbols();
    resetSessionVariables();
    resetUcs();
    resetSelectionSets();
    resetHighlights();
    resetMenus();
    resetStatusBar();
    resetCommandLine();
    editorChecks().clear();
    clearCommandLineTranscript();
}

} // namespace host
