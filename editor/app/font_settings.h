#pragma once
// Fonts between the profile's description and Qt: a negative height is the character height in pixels, a
// positive one the cell height; a face that is missing falls back through the system's font matching.
#include "editor/app/pad_settings.h"

#include <QFont>

QFont qFontOf(const ProfileFont& font);
ProfileFont profileFontOf(const QFont& font);
