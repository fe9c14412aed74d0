#include "editor/document/view_commands.h"

#include "editor/app/command_ids.h"
#include "editor/app/command_table.h"
#include "editor/app/font_dialog.h"
#include "editor/app/font_settings.h"
#include "editor/app/the_app.h"
#include "editor/document/find_dialog.h"
#include "editor/document/go_to_dialog.h"
#include "editor/document/pad_doc.h"
#include "editor/document/pad_view.h"
#include "editor/document/view_dialogs.h"
#include "platform/settings/private_profile.h"

#include <fstream>
#include <iterator>

using namespace pad_command;

namespace {

FindRequest lastFind;

void chooseFont(CPadView* view) {
    const std::optional<QFont> font = fontFromDialog(view->font(), view, QStringLiteral("Police"));
    if (!font) return;
    view->setDisplayFont(*font);
    CTheApp::instance().settings().font = profileFontOf(*font);
}

void toggleWordWrap(CPadView* view) {
    view->setWordWrap(!view->wordWrap());
    CTheApp::instance().settings().wordWrap = view->wordWrap();
}

// The line limit is stored at once, so that the library's next trim uses it.
void editOptions(CPadView* view) {
    PadSettings& settings = CTheApp::instance().settings();
    OptionsDialog dialog(view->tabStops() / PadSettings::kDialogUnitsPerCharacter, settings.lineLimit, view);
    if (dialog.exec() != QDialog::Accepted) return;
    view->setTabStops(dialog.tabCharacters() * PadSettings::kDialogUnitsPerCharacter);
    settings.tabStops = view->tabStops();
    settings.lineLimit = dialog.lineLimit();
    platform::writeProfileString(CTheApp::instance().profilePath(), "Settings", "ligne_max",
                                 formatInteger(settings.lineLimit).c_str());
}

void goTo(CPadView* view) {
    GoToDialog dialog(*view->document(), view->textCursor().position(), view);
    if (dialog.exec() == QDialog::Accepted) view->moveCaretTo(dialog.target());
}

void replaceWordSeries(CPadView* view) {
    if (view->isReadOnly()) return;
    const std::string path = CTheApp::instance().chooseFile(
        "Nom du fichier contenant les mots (mot_actuel;mot_de_remplacement)", false);
    if (path.empty()) return;
    std::ifstream file(path, std::ios::binary);
    if (!file) return;
    const std::string list((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    SeriesDialog dialog(view);
    if (dialog.exec() != QDialog::Accepted) return;
    view->moveCaretTo(0);
    replaceSeries(*view->document(), list, dialog.options());
}

// The dialog acts while it is open; what it last held is what "Suivant" of the menu repeats.
void find(CPadView* view, bool replacing) {
    FindDialog dialog(*view, lastFind, replacing, view);
    dialog.exec();
    const bool upward = lastFind.upward;
    lastFind = dialog.request();
    if (replacing) lastFind.upward = upward;
}

} // namespace

void connectViewCommands(CommandTable& table) {
    table.connectOnView(kFont, chooseFont);
    table.connectOnView(kWordWrap, toggleWordWrap, [](CPadView* view) { return view->wordWrap(); });
    table.connectOnView(kOptions, editOptions);
    table.connectOnView(kGoTo, goTo);
    table.connectOnView(kClearView, [](CPadView* view) { view->clear(); });
    table.connectOnView(
        kReadOnlyToggle, [](CPadView* view) { view->setEditReadOnly(!view->isReadOnly()); },
        [](CPadView* view) { return view->isReadOnly(); });
    table.connectOnView(kReplaceSeries, replaceWordSeries);
    table.connectOnView(kValidateAndReturn, [](CPadView* view) { view->validateAndReturn(); });

    table.connectOnView(kUndo, [](CPadView* view) { view->undo(); });
    table.connectOnView(kCut, [](CPadView* view) { view->cut(); });
    table.connectOnView(kCopy, [](CPadView* view) { view->copy(); });
    table.connectOnView(kPaste, [](CPadView* view) { view->paste(); });
    table.connectOnView(kDelete, [](CPadView* view) {
        if (!view->isReadOnly()) view->textCursor().removeSelectedText();
    });
    table.connectOnView(kSelectAll, [](CPadView* view) { view->selectAll(); });
    table.connectOnView(kFind, [](CPadView* view) { find(view, false); });
    table.connectOnView(kFindNext, [](CPadView* view) { findNext(*view, lastFind); });
    table.connectOnView(kReplace, [](CPadView* view) { find(view, true); });
}
