#include "editor/app/tool_bar_icons.h"

#include "editor/app/command_ids.h"

#include <QStandardPaths>
#include <QStyle>

#include <array>

using namespace pad_command;

namespace {

struct ToolBarIcon {
    int command;
    const char* themeName; // of the freedesktop icon naming
    QStyle::StandardPixmap standard;
};

constexpr std::array kIcons{
    ToolBarIcon{kNew, "document-new", QStyle::SP_FileIcon},
    ToolBarIcon{kOpen, "document-open", QStyle::SP_DialogOpenButton},
    ToolBarIcon{kSave, "document-save", QStyle::SP_DialogSaveButton},
    ToolBarIcon{kFind, "edit-find", QStyle::SP_FileDialogContentsView},
    ToolBarIcon{kCut, "edit-cut", QStyle::SP_DialogDiscardButton},
    ToolBarIcon{kCopy, "edit-copy", QStyle::SP_FileLinkIcon},
    ToolBarIcon{kPaste, "edit-paste", QStyle::SP_FileDialogDetailedView},
    ToolBarIcon{kPrint, "document-print", QStyle::SP_ComputerIcon},
    ToolBarIcon{kAbout, "dialog-information", QStyle::SP_MessageBoxInformation},
    ToolBarIcon{kValidateAndReturn, "dialog-ok", QStyle::SP_DialogApplyButton},
    ToolBarIcon{kCadZoom, "zoom-in", QStyle::SP_TitleBarMaxButton},
    ToolBarIcon{kSendCoordinates, "go-next", QStyle::SP_ArrowForward},
};

// Without a desktop whose icon theme has them, the pictures come from Tango, which the set-up installs: the
// style's own stand-ins mislead (a trash can for Couper, a computer for Imprimer).
constexpr const char* kFallbackTheme = "Tango";

// The system's icon folders, which a platform without a desktop (offscreen) does not search, and Tango
// where no theme is set.
void useInstalledThemes() {
    QStringList paths = QIcon::themeSearchPaths();
    for (const QString& folder : QStandardPaths::locateAll(
             QStandardPaths::GenericDataLocation, QStringLiteral("icons"), QStandardPaths::LocateDirectory))
        if (!paths.contains(folder)) paths << folder;
    QIcon::setThemeSearchPaths(paths);
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == QLatin1String("hicolor"))
        QIcon::setThemeName(QString::fromLatin1(kFallbackTheme));
    else if (QIcon::fallbackThemeName().isEmpty())
        QIcon::setFallbackThemeName(QString::fromLatin1(kFallbackTheme));
}

} // namespace

QIcon toolBarIcon(int command, const QStyle& style) {
    static const bool themesFound = (useInstalledThemes(), true);
    (void)themesFound;
    for (const ToolBarIcon& icon : kIcons)
        if (icon.command == command)
            return QIcon::fromTheme(QString::fromLatin1(icon.themeName), style.standardIcon(icon.standard));
    return {};
}
