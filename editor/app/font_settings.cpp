#include "editor/app/font_settings.h"

#include "editor/link/bus_window.h"

#include <QFontInfo>

#include <algorithm>
#include <cstdlib>

QFont qFontOf(const ProfileFont& profile) {
    QFont font(fromCodePage(profile.faceName));
    if (profile.height != 0) font.setPixelSize(std::abs(profile.height));
    if (profile.weight > 0) font.setWeight(static_cast<QFont::Weight>(std::clamp(profile.weight, 100, 900)));
    font.setItalic(profile.italic != 0);
    font.setUnderline(profile.underline != 0);
    if ((profile.pitchAndFamily & 0x3) == 1) font.setFixedPitch(true);
    if ((profile.pitchAndFamily & 0xF0) == 0x30) font.setStyleHint(QFont::Monospace);
    return font;
}

ProfileFont profileFontOf(const QFont& font) {
    ProfileFont profile;
    const int pixels = font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
    profile.height = -pixels;
    profile.weight = font.weight();
    profile.italic = font.italic();
    profile.underline = font.underline();
    profile.pitchAndFamily = font.fixedPitch() ? 0x31 : 0;
    profile.charSet = 0;
    profile.faceName = toCodePage(font.family()).substr(0, 31);
    return profile;
}
