#include "editor/app/menu_resources.h"

#include "editor/app/command_ids.h"

#include <array>

using namespace pad_command;

namespace {

constexpr MenuItem kSeparator{nullptr, 0, ""};

constexpr MenuItem kFileNew{"&Nouveau", kNew, "Créer un nouveau document"};
constexpr MenuItem kFileOpen{"&Ouvrir", kOpen, "Ouvrir un document existant"};
constexpr MenuItem kFileClose{"&Fermer", kClose, "Fermer le document actif"};
constexpr MenuItem kFileSave{"&Enregistrer", kSave, "Enregistrer le document actif"};
constexpr MenuItem kFileSaveAs{"Enregistrer &sous", kSaveAs,
                               "Enregistrer le document actif sous un autre nom"};
constexpr MenuItem kFilePrint{"&Imprimer", kPrint, "Imprimer le document actif"};
constexpr MenuItem kFilePreview{"&visualiser", kPrintPreview,
                                "Afficher les pages telles qu'elles seront imprimées"};
constexpr MenuItem kFilePageSetup{"&Mise en page", kPageSetup,
                                  "Définir les marges, l'en-tête et le pied de page"};
constexpr MenuItem kFileRecent{"Fichiers récents", kRecentFilesPlace, "Ouvrir ce document"};
constexpr MenuItem kFileExit{"&Quitter", kExit, "Quitter l'application et enregistrer les documents"};
constexpr MenuItem kBarTools{"Barre d'&outils", kToolBar, "Afficher ou masquer la barre d'outils"};
constexpr MenuItem kBarStatus{"Barre de &status", kStatusBar, "Afficher ou masquer la barre d'état"};
constexpr MenuItem kAbout1{"&A propos", kAbout, "Afficher les informations sur le programme"};

constexpr std::array kFile1{
    kFileNew,
    kFileOpen,
    kSeparator,
    kFilePageSetup,
    MenuItem{"&Paramètres imprimante", kPrintSetup, "Changer l'imprimante et ses options"},
    kSeparator,
    kFileRecent,
    kSeparator,
    kFileExit};
constexpr std::array kWindow1{kBarTools, kBarStatus};
constexpr std::array kHelp1{kAbout1};
constexpr std::array kMenu1{MenuColumn{"&Fichier", kFile1}, MenuColumn{"Fe&nêtre", kWindow1},
                            MenuColumn{"A&ide", kHelp1}};

constexpr std::array kFile2{
    kFileNew,       kFileOpen,
    kFileClose,     kFileSave,
    kFileSaveAs,    kSeparator,
    kFilePrint,     kFilePreview,
    kFilePageSetup, MenuItem{"&Paramètres Imprimante", kPrintSetup, "Changer l'imprimante et ses options"},
    kSeparator,     kFileRecent,
    kSeparator,     kFileExit};
constexpr std::array kEdit2{
    MenuItem{"&Annuler", kUndo, "Annuler la dernière action"},
    kSeparator,
    MenuItem{"Co&uper", kCut, "Couper la sélection et la placer dans le presse-papiers"},
    MenuItem{"&Copier", kCopy, "Copier la sélection dans le presse-papiers"},
    MenuItem{"C&oller", kPaste, "Insérer le contenu du presse-papiers"},
    MenuItem{"&Supprimer", kDelete, "Effacer la sélection"},
    kSeparator,
    MenuItem{"&Rechercher", kFind, "Rechercher un texte"},
    MenuItem{"Sui&vant", kFindNext, "Rechercher le texte suivant"},
    MenuItem{"Rem&placer", kReplace, "Remplacer un texte par un autre"},
    MenuItem{"Remplacer série de &mots", kReplaceSeries,
             "Remplacer les mots d'une liste lue dans un fichier"},
    MenuItem{"&Goto", kGoTo, "Aller à une ligne ou à une position"},
    kSeparator,
    MenuItem{"Selectionner &Tout", kSelectAll, "Sélectionner tout le document"},
    MenuItem{"Coupure de &ligne", kWordWrap, "Couper les lignes à la largeur de la fenêtre"}};
constexpr std::array kView2{
    kBarTools,
    kBarStatus,
    kSeparator,
    MenuItem{"Options &affichage", kOptions, "Taquets de tabulation et nombre de lignes de l'écran texte"},
    MenuItem{"Set &Fonte", kFont, "Choisir la police d'affichage"},
    MenuItem{"Set &Printer Font", kPrinterFont, "Choisir la police d'impression"},
    MenuItem{"&Mirror Display Font", kSameFontForPrinting, "Imprimer avec la police d'affichage"}};
constexpr std::array kWindow2{
    MenuItem{"&Cascades", kCascade, "Disposer les fenêtres en cascade"},
    MenuItem{"&Horizontales", kTileHorizontally, "Disposer les fenêtres les unes au-dessus des autres"},
    MenuItem{"&Arranger Icones", kArrangeIcons, "Aligner les icônes des fenêtres réduites"},
    kSeparator,
    MenuItem{"Active &Ecran Texte", kActivateTextScreen, "Afficher l'écran texte général"},
    MenuItem{"E&ffacer l'ecran texte", kClearTextScreen, "Effacer le contenu de l'écran texte"},
    MenuItem{"Ecran texte &Mode lect/ecriture", kTextScreenReadOnly,
             "Passer l'écran texte en lecture seule ou en écriture"}};
constexpr std::array kHelp2{
    MenuItem{"&Documentation ZortaPad", kDocumentation, "Ouvrir la documentation du programme"},
    MenuItem{"Activer/Désactiver DE&BUG", kTraceBits, "Choisir les options de débugage"}, kSeparator,
    kAbout1};
constexpr std::array kMenu2{MenuColumn{"&Fichier", kFile2}, MenuColumn{"&Edition", kEdit2},
                            MenuColumn{"&Affichage", kView2}, MenuColumn{"Fe&nêtre", kWindow2},
                            MenuColumn{"A&ide", kHelp2}};

constexpr std::array kToolBarButtons{
    MenuItem{"Nouveau", kNew, kFileNew.tip},
    MenuItem{"Ouvrir", kOpen, kFileOpen.tip},
    MenuItem{"Enregistrer", kSave, kFileSave.tip},
    kSeparator,
    MenuItem{"Rechercher", kFind, "Rechercher un texte"},
    kSeparator,
    MenuItem{"Couper", kCut, "Couper la sélection"},
    MenuItem{"Copier", kCopy, "Copier la sélection"},
    MenuItem{"Coller", kPaste, "Coller"},
    kSeparator,
    MenuItem{"Imprimer", kPrint, kFilePrint.tip},
    MenuItem{"A propos", kAbout, kAbout1.tip},
    kSeparator,
    MenuItem{"Valider", kValidateAndReturn, "Valider le document et revenir au programme appelant"},
    kSeparator,
    MenuItem{"Zoom DAO", kCadZoom, "Zoom Autocad sur le point X,Y suivant le curseur"},
    MenuItem{"Envoyer coordonnées", kSendCoordinates, "Envoi d'une ou de plusieurs Coordonnées à Autocad"}};

static_assert(kToolBarButtons.size() == 17);

// The accelerators of a Windows editor of its kind.
constexpr std::array kAccelerators{
    Accelerator{kNew, "Ctrl+N"},   Accelerator{kOpen, "Ctrl+O"},      Accelerator{kSave, "Ctrl+S"},
    Accelerator{kPrint, "Ctrl+P"}, Accelerator{kClose, "Ctrl+F4"},    Accelerator{kUndo, "Ctrl+Z"},
    Accelerator{kCut, "Ctrl+X"},   Accelerator{kCopy, "Ctrl+C"},      Accelerator{kPaste, "Ctrl+V"},
    Accelerator{kFind, "Ctrl+F"},  Accelerator{kFindNext, "F3"},      Accelerator{kReplace, "Ctrl+H"},
    Accelerator{kGoTo, "Ctrl+G"},  Accelerator{kSelectAll, "Ctrl+A"},
};

} // namespace

std::span<const MenuColumn> menuNoDocument() {
    return kMenu1;
}

std::span<const MenuColumn> menuWithDocuments() {
    return kMenu2;
}

std::span<const MenuItem> toolBarButtons() {
    return kToolBarButtons;
}

std::span<const Accelerator> accelerators() {
    return kAccelerators;
}

const char* acceleratorOf(int id) {
    for (const Accelerator& accelerator : kAccelerators)
        if (accelerator.id == id) return accelerator.keys;
    return "";
}

const char* statusTipOf(int id) {
    for (const auto menu : {menuWithDocuments(), menuNoDocument()})
        for (const MenuColumn& column : menu)
            for (const MenuItem& item : column.items)
                if (item.id == id) return item.tip;
    for (const MenuItem& item : toolBarButtons())
        if (item.id == id) return item.tip;
    return "";
}
