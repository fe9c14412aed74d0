#include "editor/app/app_commands.h"

#include "editor/app/command_ids.h"
#include "editor/app/main_frame.h"
#include "editor/app/the_app.h"
#include "editor/app/trace_bits.h"
#include "editor/document/pad_doc.h"
#include "editor/document/pad_view.h"
#include "platform/files/path_map.h"
#include "platform/ui/message_box.h"
#include "services/dos/dos.h"
#include "services/startup/shared_records.h"

#include <QMdiSubWindow>
#include <QStatusBar>
#include <QToolBar>

using namespace pad_command;

namespace {

void openChosenFile(CTheApp& app) {
    const std::string path = app.chooseFile("Ouvrir", false);
    if (!path.empty()) app.openDocument(path);
}

// The program's documentation, found where the library finds its files, opened as a document.
void openDocumentation(CTheApp& app) {
    char found[260] = {};
    if (!DOS::Localise_fichier(found, "HELPTPAD.txt", nullptr, 0) || !found[0]) return;
    app.openDocument(platform::hostPath(found));
}

void showAbout() {
    platform::messageBox(0,
                         "ZortaPad\n\n\xC9"
                         "diteur de textes multi-documents de ZortaGen64 : listings, "
                         "\xE9"
                         "crans texte des programmes et coordonn\xE9"
                         "es envoy\xE9"
                         "es \xE0 la DAO.",
                         "A propos de ZortaPad", platform::MB_OK | platform::MB_ICONINFORMATION);
}

void toggleBar(QWidget* bar) {
    bar->setVisible(!bar->isVisible());
}

} // namespace

void connectAppCommands(CTheApp& app, CommandTable& table) {
    const auto frame = [&app] { return app.mainFrame(); };
    table.connect(kNew, [&app](CPadView*) { app.newDocument(); });
    table.connect(kOpen, [&app](CPadView*) { openChosenFile(app); });
    table.connectOnView(kClose, [&app](CPadView* view) { app.closeDocument(view->padDocument()); });
    table.connectOnView(kSave, [&app](CPadView* view) { app.saveDocument(view->padDocument(), false); });
    table.connectOnView(kSaveAs, [&app](CPadView* view) { app.saveDocument(view->padDocument(), true); });
    table.connect(kExit, [frame](CPadView*) { frame()->close(); });
    for (int i = 0; i < kRecentCount; ++i)
        table.connect(kRecentFirst + i,
                      [&app, i](CPadView*) { app.openRecentFile(static_cast<std::size_t>(i)); });

    table.connect(kCascade, [frame](CPadView*) { frame()->mdiArea().cascadeSubWindows(); });
    table.connect(kTileHorizontally, [frame](CPadView*) { frame()->mdiArea().tileSubWindows(); });
    table.connect(kArrangeIcons, [frame](CPadView*) {
        for (QMdiSubWindow* window : frame()->mdiArea().subWindowList())
            if (window->isMinimized()) window->showMinimized();
    });
    table.connect(kActivateTextScreen, [](CPadView*) {
        if (g_pTpadG && g_pTpadG->Text(1)) g_pTpadG->TShow(1);
    });
    table.connect(kClearTextScreen, [&app](CPadView*) { app.ClearTextScreen(); });
    table.connect(kTextScreenReadOnly, [&app](CPadView*) { app.SetTextScreenReadOnly(2); });
    table.connect(
        kToolBar, [frame](CPadView*) { toggleBar(frame()->findChild<QToolBar*>()); },
        [frame](CPadView*) { return frame()->findChild<QToolBar*>()->isVisible(); });
    table.connect(
        kStatusBar, [frame](CPadView*) { toggleBar(frame()->statusBar()); },
        [frame](CPadView*) { return frame()->statusBar()->isVisible(); });

    table.connect(kDocumentation, [&app](CPadView*) { openDocumentation(app); });
    table.connect(kTraceBits, [](CPadView*) { editTraceBits(); });
    table.connect(kAbout, [](CPadView*) { showAbout(); });
}
