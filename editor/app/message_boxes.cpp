#include "editor/app/message_boxes.h"

#include "editor/link/bus_window.h"
#include "platform/ui/message_box.h"

#include <QMessageBox>
#include <QPushButton>

#include <cstdlib>
#include <utility>
#include <vector>

using namespace platform;

namespace {

std::vector<std::pair<QMessageBox::StandardButton, int>> buttonsOf(unsigned type) {
    switch (type & 0xF) {
    case MB_OKCANCEL:
        return {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}};
    case MB_ABORTRETRYIGNORE:
        return {
            {QMessageBox::Abort, IDABORT}, {QMessageBox::Retry, IDRETRY}, {QMessageBox::Ignore, IDIGNORE}};
    case MB_YESNOCANCEL:
        return {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}};
    case MB_YESNO:
        return {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}};
    case MB_RETRYCANCEL:
        return {{QMessageBox::Retry, IDRETRY}, {QMessageBox::Cancel, IDCANCEL}};
    default:
        return {{QMessageBox::Ok, IDOK}};
    }
}

QMessageBox::Icon iconOf(unsigned type) {
    switch (type & 0xF0) {
    case MB_ICONERROR:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONWARNING:
        return QMessageBox::Warning;
    case MB_ICONINFORMATION:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

int showQtBox(const MessageBoxRequest& request) {
    QMessageBox box(iconOf(request.type), fromCodePage(request.caption), fromCodePage(request.text));
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    const auto buttons = buttonsOf(request.type);
    for (const auto& [button, answer] : buttons)
        box.addButton(button);
    const std::size_t defaultIndex = (request.type >> 8) & 0xF;
    if (defaultIndex < buttons.size()) box.setDefaultButton(buttons[defaultIndex].first);
    box.raise();
    box.activateWindow();
    const auto pressed = static_cast<QMessageBox::StandardButton>(box.exec());
    for (const auto& [button, answer] : buttons)
        if (button == pressed) return answer;
    return buttons.size() == 1 ? IDOK : IDCANCEL;
}

} // namespace

void installMessageBoxes() {
    const char* scripted = std::getenv("ZORTA_MESSAGEBOX_ANSWER");
    if (scripted && *scripted) return;
    setMessageBoxHandler(showQtBox);
}
