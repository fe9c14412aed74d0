#pragma once
// The folder picker (SHBrowseForFolder), pop-up menus (TrackPopupMenu) and the help viewer (HTML Help).
//
// Like message boxes (message_box.h), each is a pluggable handler: a program with a display puts its own in
// place, tests script the answers. The defaults need no display: the folder picker and the menu answer
// "cancelled"; the help viewer opens a help file with the desktop's opener when there is a display, and
// writes a pop-up's text to standard error (UTF-8), as the default message box does.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace platform {

struct FolderRequest {
    std::uint64_t owner = 0;
    std::string title;       // code page 1252
    std::string startFolder; // the system's path grammar; "" for none
};
// The chosen folder in the system's path grammar, or nullopt when cancelled.
using FolderPicker = std::function<std::optional<std::string>(const FolderRequest&)>;

struct MenuItem {
    std::string label;           // code page 1252
    int command = 0;             // 0 for a sub-menu
    std::vector<MenuItem> items; // a sub-menu's items
};
struct PopupMenuRequest {
    std::vector<MenuItem> items;
    int x = 0; // where the menu opens, centred
    int y = 0;
};
// The command of the item chosen, 0 when the menu was dismissed.
using PopupMenuHandler = std::function<int(const PopupMenuRequest&)>;

struct HelpRequest {
    std::string file;      // host path of the help file; "" for a pop-up
    std::string topic;     // code page 1252
    int command = 0;       // the HTML Help command
    std::string popupText; // the text of a pop-up, code page 1252
    int x = 0;             // where a pop-up shows
    int y = 0;
};
// True when the help or the pop-up was shown.
using HelpViewer = std::function<bool(const HelpRequest&)>;

std::optional<std::string> pickFolder(const FolderRequest& request);
int trackPopupMenu(const PopupMenuRequest& request);
bool showHelp(const HelpRequest& request);

// Each puts `handler` in place for every later request of the process; an empty handler restores the default.
void setFolderPicker(FolderPicker handler);
void setPopupMenuHandler(PopupMenuHandler handler);
void setHelpViewer(HelpViewer handler);

} // namespace platform
