#include "editor/link/bus_window.h"

#include "platform/base/code_page.h"

#include <QList>

#include <cstdio>

bool BusWindow::create(const platform::WindowSpec& spec, platform::WindowProc procedure) {
    reset();
    std::string error;
    const std::optional<platform::Hwnd> window = platform::createWindow(spec, std::move(procedure), &error);
    if (!window) {
        std::fprintf(stderr, "ZortaPad : fenêtre '%s' refusée : %s\n", spec.className.c_str(), error.c_str());
        return false;
    }
    handle_ = *window;
    return true;
}

void BusWindow::reset() {
    if (handle_) platform::destroyWindow(handle_);
    handle_ = 0;
}

void BusWindow::setTitle(const QString& title) const {
    if (handle_) platform::window_table::setText(handle_, toCodePage(title));
}

void BusWindow::setStyle(std::uint32_t bits, bool on) const {
    if (handle_) platform::window_table::setStyle(handle_, on ? bits : 0, on ? 0 : bits);
}

QString fromCodePage(std::string_view text) {
    QString out;
    out.reserve(static_cast<qsizetype>(text.size()));
    for (char byte : text)
        out += QChar(static_cast<char16_t>(platform::cp1252ToUnicode(static_cast<unsigned char>(byte))));
    return out;
}

std::string toCodePage(const QString& text) {
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    for (const char32_t c : text.toUcs4())
        out += platform::unicodeToCp1252(c);
    return out;
}
