#include "platform/ui/user_dialogs.h"

#include "platform/base/code_page.h"
#include "platform/system/process.h"

#include <cstdio>
#include <mutex>

namespace platform {
namespace {

std::mutex handlersLock;
FolderPicker folderPicker;
PopupMenuHandler popupMenuHandler;
HelpViewer helpViewer;

bool defaultHelpViewer(const HelpRequest& request) {
    if (!request.file.empty()) return openWithDesktop(request.file);
    std::fprintf(stderr, "[Aide] %s\n", cp1252ToUtf8(request.popupText).c_str());
    return true;
}

// The handler in force, copied so that it runs outside the lock (it may show a dialog for long).
template <typename Handler> Handler current(const Handler& installed) {
    std::lock_guard lock(handlersLock);
    return installed;
}

template <typename Handler> void install(Handler& slot, Handler handler) {
    std::lock_guard lock(handlersLock);
    slot = std::move(handler);
}

} // namespace

std::optional<std::string> pickFolder(const FolderRequest& request) {
    const FolderPicker handler = current(folderPicker);
    return handler ? handler(request) : std::nullopt;
}

int trackPopupMenu(const PopupMenuRequest& request) {
    const PopupMenuHandler handler = current(popupMenuHandler);
    return handler ? handler(request) : 0;
}

bool showHelp(const HelpRequest& request) {
    const HelpViewer handler = current(helpViewer);
    return handler ? handler(request) : defaultHelpViewer(request);
}

void setFolderPicker(FolderPicker handler) {
    install(folderPicker, std::move(handler));
}

void setPopupMenuHandler(PopupMenuHandler handler) {
    install(popupMenuHandler, std::move(handler));
}

void setHelpViewer(HelpViewer handler) {
    install(helpViewer, std::move(handler));
}

} // namespace platform
