#pragma once
// The toolbar's pictures: the desktop icon theme's picture of each command where the theme has one, else one
// of Qt's standard pictures.
#include <QIcon>

class QStyle;

// The icon of a toolbar command; a null icon for a command that is not on the toolbar.
QIcon toolBarIcon(int command, const QStyle& style);
