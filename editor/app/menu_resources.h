#pragma once
// The menus and the toolbar of the main frame as data: French captions with their Alt letters, command
// identifiers, the status line's text of each item and the accelerators. Menu 1 stands while no document is
// open, menu 2 while one is.
#include <span>

struct MenuItem {
    const char* caption; // UTF-8, "&" before the letter that Alt reaches; null for a separator
    int id;              // 0 for a sub-menu's header and a separator
    const char* tip;     // the status line's text
};

struct MenuColumn {
    const char* caption;
    std::span<const MenuItem> items;
};

// Where a menu lists the recent files: an item with this identifier stands for the whole list.
constexpr int kRecentFilesPlace = -1;

std::span<const MenuColumn> menuNoDocument();
std::span<const MenuColumn> menuWithDocuments();
// The toolbar's entries, separators (id 0) included.
std::span<const MenuItem> toolBarButtons();
struct Accelerator {
    int id;
    const char* keys; // portable text of a key sequence
};

std::span<const Accelerator> accelerators();
// The keys of a command's menu item ("Ctrl+S", Qt's portable text); empty when it has none.
const char* acceleratorOf(int id);
// The status line's text of a command; empty when it has none.
const char* statusTipOf(int id);
