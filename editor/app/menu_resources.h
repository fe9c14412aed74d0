#pragma once
// The menus and the toolbar of the main frame as data: French captions, command identifiers and the status
// line's text of each item. Menu 1 stands while no document is open, menu 2 while one is.
#include <span>

struct MenuItem {
    const char* caption; // UTF-8; null for a separator
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
// The status line's text of a command; empty when it has none.
const char* statusTipOf(int id);
