#pragma once
// A window of the bus that lives as long as the Qt object that owns it.
#include "platform/windows/message_bus.h"

#include <QString>

class BusWindow {
public:
    BusWindow() = default;
    ~BusWindow() { reset(); }
    BusWindow(const BusWindow&) = delete;
    BusWindow& operator=(const BusWindow&) = delete;

    // Puts the window on the bus; false when the bus refuses it.
    bool create(const platform::WindowSpec& spec, platform::WindowProc procedure);
    void reset();
    platform::Hwnd handle() const { return handle_; }

    // Keeps the bus's title and style bits in step with the Qt window.
    void setTitle(const QString& title) const;
    void setStyle(std::uint32_t bits, bool on) const;

private:
    platform::Hwnd handle_ = 0;
};

// Code-page text and Qt text.
QString fromCodePage(std::string_view text);
std::string toCodePage(const QString& text);
