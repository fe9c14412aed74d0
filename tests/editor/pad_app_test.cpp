// The editor program driven in-process: menus and toolbar, the position pane, view commands, the text
// screen's commands and settings, trace bits, closing and the window placement.
#include "editor/app/command_ids.h"
#include "editor/app/edit_string_box.h"
#include "editor/app/font_settings.h"
#include "editor/app/main_frame.h"
#include "editor/app/pad_frame.h"
#include "editor/app/the_app.h"
#include "editor/document/find_dialog.h"
#include "editor/document/pad_doc.h"
#include "editor/document/pad_view.h"
#include "editor/document/view_dialogs.h"
#include "platform/settings/private_profile.h"
#include "services/startup/shared_records.h"
#include "services/startup/window_messages.h"
#include "tests/editor/qt_test_app.h"
#include "tests/support/temp_folder.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <QToolBar>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <tuple>

namespace {

using namespace platform;
using namespace testing_support;
namespace id = pad_command;

struct Item {
    std::string caption;
    int id;
    bool operator==(const Item&) const = default;
};

class PadApp : public ::testing::Test {
protected:
    static void SetUpTestSuite() { qtApplication(); }

    PadApp() {
        setenv("XDG_CONFIG_HOME", folder.path().c_str(), 1);
        app = std::make_unique<CTheApp>();
        EXPECT_TRUE(app->InitInstance({}));
        if (g_pTpadG) *g_pTpadG = Tavropad(0);
    }
    ~PadApp() override {
        if (g_pTpadG) *g_pTpadG = Tavropad(0);
        for (CPadView* view : app->views())
            view->padDocument().setAskToSave(0);
    }

    CPadView* view() const { return app->mainFrame()->activeView(); }
    std::string ini() const { return folder / "zorta/ZortaPad.INI"; }

    // Runs a command whose modal dialog `act` answers.
    template <typename Dialog> void withDialog(int command, std::function<void(Dialog&)> act) {
        QTimer::singleShot(0, [act] {
            auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            act(*dialog);
        });
        app->routeCommand(command, view());
    }

    // Without the mark of its Alt letter and the accelerator shown after a tab.
    static std::string caption(const QAction* action) {
        return action->text().section(u'\t', 0, 0).remove(u'&').toStdString();
    }

    std::vector<std::vector<Item>> menus() const {
        std::vector<std::vector<Item>> columns;
        for (QAction* column : app->mainFrame()->menuBar()->actions()) {
            columns.push_back({{caption(column), 0}});
            for (QAction* item : column->menu()->actions())
                if (!item->isSeparator()) columns.back().push_back({caption(item), item->data().toInt()});
        }
        return columns;
    }

    // The control of `dialog` captioned `caption`.
    template <typename Control> static Control* child(QDialog& dialog, const char* caption) {
        for (Control* control : dialog.findChildren<Control*>())
            if (control->text() == QString::fromUtf8(caption)) return control;
        ADD_FAILURE() << "no control " << caption;
        static Control none;
        return &none;
    }

    TempFolder folder;
    std::unique_ptr<CTheApp> app;
};

TEST_F(PadApp, MenusOneAndTwoAndTheToolBarCarryTheirCaptionsAndIdentifiers) {
    const std::vector<std::vector<Item>> withDocument{
        {{"Fichier", 0},
         {"Nouveau", 57600},
         {"Ouvrir", 57601},
         {"Fermer", 57602},
         {"Enregistrer", 57603},
         {"Enregistrer sous", 57604},
         {"Imprimer", 57607},
         {"visualiser", 57609},
         {"Mise en page", 32769},
         {"Paramètres Imprimante", 57606},
         {"Quitter", 57665}},
        {{"Edition", 0},
         {"Annuler", 57643},
         {"Couper", 57635},
         {"Copier", 57634},
         {"Coller", 57637},
         {"Supprimer", 57632},
         {"Rechercher", 57636},
         {"Suivant", 57640},
         {"Remplacer", 57641},
         {"Remplacer série de mots", 32789},
         {"Goto", 32782},
         {"Selectionner Tout", 57642},
         {"Coupure de ligne", 1006}},
        {{"Affichage", 0},
         {"Barre d'outils", 59392},
         {"Barre de status", 59393},
         {"Options affichage", 32778},
         {"Set Fonte", 1004},
         {"Set Printer Font", 32770},
         {"Mirror Display Font", 104}},
        {{"Fenêtre", 0},
         {"Cascades", 57650},
         {"Horizontales", 57651},
         {"Arranger Icones", 57649},
         {"Active Ecran Texte", 32776},
         {"Effacer l'ecran texte", id::kClearTextScreen},
         {"Ecran texte Mode lect/ecriture", id::kTextScreenReadOnly}},
        {{"Aide", 0},
         {"Documentation ZortaPad", 32785},
         {"Activer/Désactiver DEBUG", 32790},
         {"A propos", 57664}}};
    EXPECT_EQ(menus(), withDocument);
    for (QAction* column : app->mainFrame()->menuBar()->actions())
        for (QAction* item : column->menu()->actions()) {
            EXPECT_TRUE(item->isSeparator() || !item->statusTip().isEmpty()) << item->text().toStdString();
        }

    std::vector<int> buttons;
    for (QAction* action : app->mainFrame()->findChild<QToolBar*>()->actions()) {
        buttons.push_back(action->isSeparator() ? 0 : action->data().toInt());
        EXPECT_TRUE(action->isSeparator() || !action->icon().isNull()) << action->text().toStdString();
        if (action->data().toInt() == id::kCut) {
            EXPECT_EQ(action->icon().name(), "edit-cut") << "scissors from the icon theme, not a trash can";
        }
    }
    EXPECT_EQ(buttons, (std::vector<int>{57600, 57601, 57603, 0, 57636, 0, 57635, 57634, 57637, 0, 57607,
                                         57664, 0, 32786, 0, 32787, 32788}));

    app->routeCommand(id::kClose, view());
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    app->mainFrame()->updateMenus();
    const std::vector<std::vector<Item>> withoutDocument{
        {{"Fichier", 0},
         {"Nouveau", 57600},
         {"Ouvrir", 57601},
         {"Mise en page", 32769},
         {"Paramètres imprimante", 57606},
         {"Quitter", 57665}},
        {{"Fenêtre", 0}, {"Barre d'outils", 59392}, {"Barre de status", 59393}},
        {{"Aide", 0}, {"A propos", 57664}}};
    EXPECT_EQ(menus(), withoutDocument);
    EXPECT_EQ(app->routeCommand(id::kGoTo, nullptr), 0) << "a view command without a view";
}

TEST_F(PadApp, EveryMenuHasItsAltLettersAndTheAcceleratorsRunTheirCommands) {
    const auto letterOf = [](const QAction* action) {
        const qsizetype mark = action->text().indexOf(u'&');
        return mark < 0 ? QChar() : action->text()[mark + 1].toLower();
    };
    const QList<QAction*> columns = app->mainFrame()->menuBar()->actions();
    std::set<QChar> columnLetters;
    for (QAction* column : columns) {
        EXPECT_TRUE(columnLetters.insert(letterOf(column)).second) << caption(column);
        std::set<QChar> letters;
        for (QAction* item : column->menu()->actions())
            EXPECT_TRUE(item->isSeparator() || letters.insert(letterOf(item)).second) << caption(item);
    }
    EXPECT_FALSE(columnLetters.count(QChar())) << "every menu has a letter";

    std::map<int, QKeySequence> shortcuts;
    for (QAction* column : columns)
        for (QAction* item : column->menu()->actions())
            if (const qsizetype tab = item->text().indexOf(u'\t'); tab >= 0)
                shortcuts[item->data().toInt()] = QKeySequence(item->text().mid(tab + 1));
    const std::map<int, QKeySequence> expected{
        {id::kNew, QKeySequence("Ctrl+N")},    {id::kOpen, QKeySequence("Ctrl+O")},
        {id::kSave, QKeySequence("Ctrl+S")},   {id::kPrint, QKeySequence("Ctrl+P")},
        {id::kClose, QKeySequence("Ctrl+F4")}, {id::kUndo, QKeySequence("Ctrl+Z")},
        {id::kCut, QKeySequence("Ctrl+X")},    {id::kCopy, QKeySequence("Ctrl+C")},
        {id::kPaste, QKeySequence("Ctrl+V")},  {id::kFind, QKeySequence("Ctrl+F")},
        {id::kFindNext, QKeySequence("F3")},   {id::kReplace, QKeySequence("Ctrl+H")},
        {id::kGoTo, QKeySequence("Ctrl+G")},   {id::kSelectAll, QKeySequence("Ctrl+A")}};
    EXPECT_EQ(shortcuts, expected);

    CMainFrame& frame = *app->mainFrame();
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame, 5000));
    writeFile(folder / "a.txt", "a");
    writeFile(folder / "b.txt", "b");
    CPadView* a = app->openDocument(folder / "a.txt")->view;
    CPadView* b = app->openDocument(folder / "b.txt")->view;
    const auto key = [&](Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : view(), k, modifiers);
    };
    b->setFocus();
    QTest::keyClicks(b, "+");
    key(Qt::Key_S);
    EXPECT_EQ(readFile(folder / "b.txt"), "+b") << "Ctrl+S";
    bool found = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<FindDialog*>(QApplication::activeModalWidget());
        found = dialog != nullptr;
        if (dialog) dialog->reject();
    });
    key(Qt::Key_F);
    EXPECT_TRUE(found) << "Ctrl+F";
    frame.activateWindow(); // offscreen, the closed dialog gives the activation back to no one
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame, 5000));
    key(Qt::Key_F6);
    EXPECT_NE(view(), b) << "Ctrl+F6";
    CPadView* before = view();
    key(Qt::Key_Tab);
    EXPECT_NE(view(), before) << "Ctrl+Tab";
    while (view() != b)
        key(Qt::Key_Tab);
    const std::size_t views = app->views().size();
    key(Qt::Key_F4);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(app->views().size(), views - 1) << "Ctrl+F4";
    EXPECT_NE(std::find(app->views().begin(), app->views().end(), a), app->views().end());
}

TEST_F(PadApp, TheFrameNamesItsDocumentOpensDocumentsAtAWorkingSizeAndShowsTheAboutBox) {
    EXPECT_EQ(app->mainFrame()->windowTitle(), "ZortaPad - [Sans titre]");
    app->settings().showCmd = SW_SHOWNORMAL;
    app->newDocument();
    const QSize size = view()->parentWidget()->size();
    EXPECT_GE(size.width(), 480);
    EXPECT_GE(size.height(), 320);
    ScriptedBoxes boxes({IDOK});
    EXPECT_EQ(app->routeCommand(id::kAbout, view()), 1);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0].rfind("ZortaPad", 0), 0u) << boxes.texts[0];
}

TEST_F(PadApp, QuestionsAreAnsweredOuiOrNon) {
    QStringList captions;
    QTimer::singleShot(0, [&captions] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        for (QAbstractButton* button : box->buttons())
            captions << button->text().remove(QLatin1Char('&'));
        box->button(QMessageBox::No)->click();
    });
    EXPECT_EQ(messageBox(0, "Encore ?", "ZortaPad", MB_YESNO | MB_ICONQUESTION), IDNO);
    captions.sort();
    EXPECT_EQ(captions, QStringList({QStringLiteral("Non"), QStringLiteral("Oui")})) << "Qt's French texts";
}

TEST_F(PadApp, ThePaneShowsTheCaretsLineAndColumn) {
    view()->setPlainText("one\ntwo\nthree line");
    QTextCursor cursor(view()->document()->findBlockByNumber(2));
    cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, 4);
    view()->setTextCursor(cursor);
    QTest::keyClick(view(), Qt::Key_Right);
    EXPECT_EQ(app->mainFrame()->positionText(), "3/5");
    QTest::mouseClick(view()->viewport(), Qt::LeftButton, {},
                      view()->cursorRect(QTextCursor(view()->document())).center());
    EXPECT_EQ(app->mainFrame()->positionText(), "1/0");

    CPadView* back = view();
    app->newDocument();
    ASSERT_NE(view(), back);
    QTest::mouseClick(back->viewport(), Qt::RightButton);
    EXPECT_EQ(view(), back) << "the right button brings the view's frame to the top";
}

TEST_F(PadApp, WordWrapKeepsTheViewAndItsHandleAndNewViewsTakeIt) {
    CPadView* first = view();
    const Hwnd handle = first->handle();
    first->setPlainText("text");
    const bool before = first->wordWrap();
    app->routeCommand(id::kWordWrap, first);
    EXPECT_NE(first->wordWrap(), before);
    EXPECT_EQ(first->handle(), handle);
    EXPECT_EQ(first->toPlainText(), "text");
    EXPECT_EQ(first->horizontalScrollBarPolicy(),
              first->wordWrap() ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
    EXPECT_EQ(app->commands().isChecked(id::kWordWrap, first), first->wordWrap());
    EXPECT_EQ(app->settings().wordWrap, first->wordWrap());
    EXPECT_EQ(app->newDocument()->view->wordWrap(), first->wordWrap());

    app->textScreenView(); // the screen, opened now, keeps its link through a toggle
    const Hwnd screen = app->GetTextScreen(1);
    app->routeCommand(id::kWordWrap, app->textScreenView());
    EXPECT_EQ(app->GetTextScreen(1), screen);
    EXPECT_EQ(sendMessage(Message{app->mainFrame()->handle(), wm_Tavro, 1, 0, {}}).result,
              static_cast<std::int64_t>(screen))
        << "no second screen";
}

TEST_F(PadApp, OptionsSetTabStopsInDialogUnitsAndTheLineLimitAtOnce) {
    withDialog<OptionsDialog>(id::kOptions, [](OptionsDialog& dialog) {
        EXPECT_EQ(dialog.tabField()->text(), "8");
        EXPECT_EQ(dialog.limitField()->text(), "5001");
        dialog.tabField()->setText("4");
        dialog.limitField()->setText("300");
        dialog.accept();
    });
    EXPECT_EQ(view()->tabStops(), 16);
    EXPECT_EQ(app->settings().tabStops, 16);
    EXPECT_EQ(profileString(ini(), "Settings", "ligne_max"), "300");
    EXPECT_EQ(sendMessage(Message{view()->handle(), wm_Tavro, 1, 0, {}}).result, 300);

    withDialog<OptionsDialog>(id::kOptions, [](OptionsDialog& dialog) {
        dialog.tabField()->setText("99");
        dialog.limitField()->setText("5");
        dialog.accept();
    });
    EXPECT_EQ(view()->tabStops(), 64) << "held to 16 characters";
    EXPECT_EQ(app->lineLimit(), 20);
}

TEST_F(PadApp, TheTitleSuffixAndTheTextScreensCommands) {
    CPadDoc& document = view()->padDocument();
    document.path = "C:\\a.txt";
    document.titleSuffix = "Listing";
    document.SetTitle("ignored");
    EXPECT_EQ(document.title(), "Listing (C:\\a.txt)");

    EXPECT_EQ(app->routeCommand(id::kTextScreenReadOnly, nullptr), 1);
    EXPECT_EQ(app->SetTextScreenReadOnly(-1), -1) << "no screen yet";
    app->GetTextScreen(1);
    EXPECT_TRUE(app->textScreenView()->isReadOnly());
    app->routeCommand(id::kTextScreenReadOnly, nullptr);
    EXPECT_FALSE(app->textScreenView()->isReadOnly());
    app->textScreenView()->setPlainText("lignes");
    app->routeCommand(id::kClearTextScreen, nullptr);
    EXPECT_TRUE(app->textScreenView()->document()->isEmpty());
}

TEST_F(PadApp, TraceBitsStoreWhatIsEnteredAndOpenTheGlobalScreenAboveZero) {
    ASSERT_NE(pvg, nullptr);
    g_pTpadG->frameWindow = app->mainFrame()->handle();
    const auto enter = [this](const char* text) {
        withDialog<CDialEditBox>(id::kTraceBits, [text](CDialEditBox& box) {
            box.findChild<QLineEdit*>("1000")->setText(QString::fromLatin1(text));
            box.accept();
        });
    };
    pvg->pvDeb = 5;
    enter("abc");
    EXPECT_EQ(pvg->pvDeb, 5) << "unparsable text changes nothing";
    enter("0");
    EXPECT_EQ(pvg->pvDeb, 0);
    EXPECT_EQ(app->GetTextScreen(0), 0u) << "no screen for 0";
    enter("0x100");
    EXPECT_EQ(pvg->pvDeb, 256);
    EXPECT_NE(app->GetTextScreen(0), 0u);
    enter(" 257 ");
    EXPECT_EQ(pvg->pvDeb, 257);
    pvg->pvDeb = 0;
}

TEST_F(PadApp, ClosingStoresTheChildStateAndANeverMinimisedPlacement) {
    EXPECT_TRUE(app->mainFrame()->activeChild()->isMaximized()) << "child frames open maximised at first";
    app->mainFrame()->activeChild()->showNormal();
    EXPECT_EQ(app->settings().showCmd, 1);

    app->mainFrame()->showMaximized();
    app->mainFrame()->showMinimized();
    ASSERT_TRUE(app->mainFrame()->close());
    const std::string placement = app->settings().windowPos;
    EXPECT_EQ(placement.substr(0, 4), "2,3,") << placement;
    app->ExitInstance();
    EXPECT_EQ(profileString(ini(), "Settings", "WindowPos"), placement);
    EXPECT_EQ(profileString(ini(), "Settings", "ShowCmd"), "1");

    app.reset();
    app = std::make_unique<CTheApp>();
    ASSERT_TRUE(app->InitInstance({}));
    EXPECT_TRUE(app->mainFrame()->isMaximized()) << "a maximised frame comes back maximised";
    EXPECT_FALSE(app->mainFrame()->activeChild()->isMaximized());
    app->mainFrame()->showNormal();
    ASSERT_TRUE(app->mainFrame()->close());
    EXPECT_EQ(app->settings().windowPos.substr(0, 4), "0,1,");
}

TEST_F(PadApp, ReplacingASeriesReadsTheChosenFileWithTheDialogsChoices) {
    writeFile(folder / "words.txt", "rue;avenue;\r\nplace\n");
    std::string asked;
    app->chooseFile = [&](const std::string& caption, bool save) {
        asked = caption;
        EXPECT_FALSE(save);
        return folder / "words.txt";
    };
    view()->setPlainText("Rue de la rue, place");
    withDialog<SeriesDialog>(id::kReplaceSeries, [](SeriesDialog& dialog) {
        EXPECT_EQ(dialog.separatorField()->text(), "!");
        dialog.separatorField()->setText(";");
        dialog.caseBox()->setChecked(true);
        dialog.accept();
    });
    EXPECT_EQ(asked, "Nom du fichier contenant les mots (mot_actuel;mot_de_remplacement)");
    EXPECT_EQ(view()->toPlainText(), "Rue de la avenue, place");
    view()->undo();
    EXPECT_EQ(view()->toPlainText(), "Rue de la rue, place") << "one step to take back";

    app->chooseFile = [&](const std::string&, bool) { return folder / "missing.txt"; };
    EXPECT_EQ(app->routeCommand(id::kReplaceSeries, view()), 1);
    EXPECT_EQ(view()->toPlainText(), "Rue de la rue, place") << "a file that cannot be read does nothing";
}

TEST_F(PadApp, OpenedFilesGoToTheRecentListThatTheMenuAndTheSettingsKeep) {
    for (const char* name : {"a.txt", "b.txt", "a.txt"}) {
        writeFile(folder / name, name);
        ASSERT_NE(app->openDocument(folder / name), nullptr);
    }
    EXPECT_EQ(app->recentFiles(), (std::vector<std::string>{folder / "a.txt", folder / "b.txt"}));
    const std::vector<Item> file = menus().front();
    EXPECT_NE(std::find(file.begin(), file.end(), Item{"2 " + (folder / "b.txt"), id::kRecentFirst + 1}),
              file.end());
    app->ExitInstance();
    EXPECT_EQ(profileString(ini(), "Recent File List", "File2"), folder / "b.txt");
    {
        ScriptedBoxes boxes;
        EXPECT_EQ(app->openDocument(folder / "gone.txt"), nullptr);
        EXPECT_EQ(boxes.texts.size(), 1u);
    }
    app->closeDocument(*app->documentOfFile(folder / "a.txt"));
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const std::size_t views = app->views().size();
    app->routeCommand(id::kRecentFirst, nullptr);
    EXPECT_EQ(app->views().size(), views + 1);
    EXPECT_EQ(toCodePage(view()->toPlainText()), "a.txt");

    std::filesystem::remove(folder / "a.txt");
    app->closeDocument(*app->documentOfFile(folder / "a.txt"));
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    {
        ScriptedBoxes boxes;
        app->routeCommand(id::kRecentFirst, nullptr);
        EXPECT_EQ(boxes.texts.size(), 1u) << "the failure is shown";
    }
    EXPECT_EQ(app->recentFiles(), std::vector<std::string>{folder / "b.txt"}) << "a file that is gone leaves";
    app->ExitInstance();
    EXPECT_EQ(profileString(ini(), "Recent File List", "File2"), std::nullopt) << "for good";
}

// The file system's bytes go through the open dialog, drops, the titles and the recent list unchanged.
TEST_F(PadApp, APathWithAccentsAndSpacesOpensFromTheDialogAndKeepsItsName) {
    const std::string name = "fichier \xC3\xA0 accents \xC3\xA7.txt";
    const std::string dir = folder / "dir with spaces \xC3\xA9";
    const std::string path = dir + "/" + name;
    std::filesystem::create_directory(dir);
    writeFile(path, "texte");
    ScriptedBoxes boxes;
    withDialog<QFileDialog>(id::kOpen, [&](QFileDialog& dialog) {
        dialog.selectFile(QString::fromUtf8(path));
        static_cast<QDialog&>(dialog).accept();
    });
    EXPECT_TRUE(boxes.texts.empty()) << boxes.texts.front();
    ASSERT_EQ(app->documentOfFile(path), &view()->padDocument());
    EXPECT_EQ(view()->padDocument().path, path);
    EXPECT_EQ(view()->parentWidget()->windowTitle(), QString::fromUtf8(name));
    EXPECT_EQ(app->recentFiles().front(), path);
    const std::vector<Item> file = menus().front();
    EXPECT_NE(std::find(file.begin(), file.end(), Item{"1 " + path, id::kRecentFirst}), file.end());
    app->ExitInstance();
    EXPECT_EQ(profileString(ini(), "Recent File List", "File1"), path);

    app->closeDocument(view()->padDocument());
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    app->mainFrame()->onFilesDropped({QString::fromUtf8(path)});
    EXPECT_EQ(app->documentOfFile(path), &view()->padDocument()) << "dropped";
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(PadApp, AFileOpenedTwiceIsOneDocumentThatKeepsItsChanges) {
    writeFile(folder / "a.txt", "texte");
    std::filesystem::create_symlink(folder / "a.txt", folder / "lien.txt");
    CPadDoc* first = app->openDocument(folder / "a.txt");
    ASSERT_NE(first, nullptr);
    first->view->moveCaretTo(0);
    QTest::keyClicks(first->view, "mon ");
    app->newDocument();
    const std::size_t views = app->views().size();
    EXPECT_EQ(app->openDocument(folder / "a.txt"), first);
    EXPECT_EQ(view(), first->view) << "the open document is brought forward";
    app->newDocument();
    app->routeCommand(id::kRecentFirst, nullptr);
    EXPECT_EQ(view(), first->view);
    EXPECT_EQ(app->openDocument(folder / "lien.txt"), first) << "another name of the same file";
    EXPECT_EQ(app->views().size(), views + 1);
    EXPECT_EQ(first->view->toPlainText(), "mon texte");
    EXPECT_TRUE(first->isModified());
}

TEST_F(PadApp, FindGoesByWholeWordsUpwardAndReplaceGoesOneByOneOrAll) {
    view()->setPlainText("art partie Art arts");
    view()->moveCaretTo(19);
    std::vector<int> found;
    withDialog<FindDialog>(id::kFind, [&](FindDialog& dialog) {
        dialog.findChild<QLineEdit*>()->setText("art");
        child<QCheckBox>(dialog, "Mot entier uniquement")->setChecked(true);
        child<QRadioButton>(dialog, "Haut")->setChecked(true);
        for (int i = 0; i < 3; ++i) {
            child<QPushButton>(dialog, "Suivant")->click();
            found.push_back(view()->textCursor().selectionStart());
        }
        child<QPushButton>(dialog, "Annuler")->click();
    });
    EXPECT_EQ(found, (std::vector<int>{11, 0, 11})) << "whole words, upward, round from the end";
    app->routeCommand(id::kFindNext, view());
    EXPECT_EQ(view()->textCursor().selectionStart(), 0) << "the menu's Suivant repeats the last search";

    view()->setPlainText("Rue rue rue");
    view()->moveCaretTo(0);
    withDialog<FindDialog>(id::kReplace, [this](FindDialog& dialog) {
        const QList<QLineEdit*> fields = dialog.findChildren<QLineEdit*>();
        ASSERT_EQ(fields.size(), 2);
        EXPECT_EQ(fields[0]->text(), "art") << "the last search is offered";
        fields[0]->setText("rue");
        fields[1]->setText("avenue");
        child<QCheckBox>(dialog, "Respecter la casse")->setChecked(true);
        child<QPushButton>(dialog, "Suivant")->click();
        EXPECT_EQ(view()->textCursor().selectionStart(), 4);
        child<QPushButton>(dialog, "Remplacer")->click();
        EXPECT_EQ(view()->toPlainText(), "Rue avenue rue");
        EXPECT_EQ(view()->textCursor().selectionStart(), 11) << "the next occurrence is selected";
        child<QPushButton>(dialog, "Remplacer tout")->click();
        child<QPushButton>(dialog, "Annuler")->click();
    });
    EXPECT_EQ(view()->toPlainText(), "Rue avenue avenue");
    view()->undo();
    EXPECT_EQ(view()->toPlainText(), "Rue avenue rue") << "every replacement is one step to take back";
}

TEST_F(PadApp, TheChosenFontBecomesTheDisplayFontSetting) {
    withDialog<QFontDialog>(id::kFont, [](QFontDialog& dialog) {
        QFont font(QStringLiteral("DejaVu Sans")); // not the one standing in for "Courier New"
        font.setPixelSize(17);
        font.setStyleName(QStringLiteral("Bold")); // the style list's row
        dialog.setCurrentFont(font);
        dialog.accept();
    });
    withDialog<QFontDialog>(id::kFont, [](QFontDialog& dialog) { dialog.accept(); });
    EXPECT_EQ(view()->font().family(), "DejaVu Sans");
    const int pixels = QFontInfo(view()->font()).pixelSize();
    EXPECT_GT(pixels, 12);
    EXPECT_EQ(app->settings().font.height, -pixels) << "the character height in pixels";
    EXPECT_EQ(app->settings().font.weight, 700)
        << "the dialog opens on the font's style, whatever Qt calls it";
    EXPECT_EQ(app->settings().font.faceName, "DejaVu Sans");
    app->ExitInstance();
    EXPECT_EQ(profileString(ini(), "Font", "Height"), formatInteger(-pixels));
    EXPECT_EQ(profileString(ini(), "Font", "FaceName"), "DejaVu Sans");
    EXPECT_EQ(profileString(ini(), "PrintFont", "Height"), "-12") << "the printer font is left alone";
}

TEST_F(PadApp, AcceptingTheFontDialogUnchangedKeepsTheFont) {
    ProfileFont regularMono = app->settings().font;
    regularMono.faceName = "DejaVu Sans Mono";
    regularMono.weight = 400;
    // The first-run "Courier New" is missing here and drawn by a substitute.
    for (const ProfileFont& font : {app->settings().font, regularMono}) {
        app->settings().font = font;
        view()->setDisplayFont(qFontOf(font));
        const QFontInfo drawn(view()->font());
        withDialog<QFontDialog>(id::kFont, [&drawn](QFontDialog& dialog) {
            EXPECT_EQ(dialog.currentFont().family().toStdString(), drawn.family().toStdString())
                << "the dialog opens on what is drawn";
            EXPECT_EQ(dialog.currentFont().styleName().toStdString(), drawn.styleName().toStdString());
            dialog.accept();
        });
        const auto description = [](const ProfileFont& f) {
            return std::tuple(f.faceName, f.height, f.weight, f.italic, f.pitchAndFamily);
        };
        EXPECT_EQ(description(app->settings().font), description(font));
    }
}

TEST_F(PadApp, TheDocumentationIsFoundAndOpenedAsADocument) {
    writeFile(folder / "HELPTPAD.txt", "Aide de ZortaPad\r\n");
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(folder.path());
    const std::size_t views = app->views().size();
    app->routeCommand(id::kDocumentation, nullptr);
    std::filesystem::current_path(before);
    ASSERT_EQ(app->views().size(), views + 1);
    EXPECT_EQ(view()->toPlainText(), "Aide de ZortaPad\n");
    EXPECT_EQ(view()->padDocument().title(), "HELPTPAD.txt");
}

TEST_F(PadApp, ACloseWithChangesCanBeCancelled) {
    QTest::keyClicks(view(), "changed");
    {
        ScriptedBoxes boxes({IDCANCEL});
        EXPECT_FALSE(app->mainFrame()->close());
        EXPECT_EQ(boxes.texts.size(), 1u);
        EXPECT_TRUE(view()->padDocument().isModified());
    }
    ScriptedBoxes boxes({IDNO});
    EXPECT_TRUE(app->mainFrame()->close());
}

} // namespace
