#include "editor/app/tool_bar_icons.h"

#include "editor/app/command_ids.h"

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
    ToolBarIcon{kAbout, "help-about", QStyle::SP_MessageBoxInformation},
    ToolBarIcon{kValidateAndReturn, "dialog-ok", QStyle::SP_DialogApplyButton},
    ToolBarIcon{kCadZoom, "zoom-in", QStyle::SP_TitleBarMaxButton},
    ToolBarIcon{kSendCoordinates, "go-next", QStyle::SP_ArrowForward},
};

} // namespace

QIcon toolBarIcon(int command, const QStyle& style) {
    for (const ToolBarIcon& icon : kIcons)
        if (icon.command == command)
            return QIcon::fromTheme(QString::fromLatin1(icon.themeName), style.standardIcon(icon.standard));
    return {};
}
