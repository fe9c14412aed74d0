#include "host/editor_reset.h"

#include <vector>

#include "host/acut.h"
#include "host/app_info.h"
#include "host/command_line.h"
#include "host/documents.h"
#include "host/editor.h"
#include "host/editor_checks.h"
#include "host/editor_commands.h"
#include "host/host_versions.h"
#include "host/input_queue.h"
#include "host/lisp_functions.h"
#include "host/lisp_symbols.h"
#include "host/menus.h"
#include "host/module_loader.h"
#include "host/prompts.h"
#include "host/selection_sets.h"
#include "host/system_variables.h"
#include "host/ucs.h"
#include "host/win_msg_filter.h"

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
    resetMenus();
    resetCommandLine();
    editorChecks().clear();
    clearCommandLineTranscript();
}

} // namespace host
