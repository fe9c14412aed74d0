#include "host/editor/message_box.h"

#include <string>

#include "host/input/input_queue.h"
#include "host/input/prompt_input.h"

namespace {

bool hasButton(unsigned buttons, int answer) {
    switch (buttons) {
    case MB_OK:
        return answer == IDOK;
    case MB_OKCANCEL:
        return answer == IDOK || answer == IDCANCEL;
    case MB_ABORTRETRYIGNORE:
        return answer == IDABORT || answer == IDRETRY || answer == IDIGNORE;
    case MB_YESNOCANCEL:
        return answer == IDYES || answer == IDNO || answer == IDCANCEL;
    case MB_YESNO:
        return answer == IDYES || answer == IDNO;
    case MB_RETRYCANCEL:
        return answer == IDRETRY || answer == IDCANCEL;
    default:
        return false;
    }
}

int leastChange(unsigned buttons) {
    if (hasButton(buttons, IDCANCEL)) return IDCANCEL;
    if (buttons == MB_YESNO) return IDNO;
    if (buttons == MB_ABORTRETRYIGNORE) return IDABORT;
    return IDOK;
}

const wchar_t* buttonName(int answer) {
    static const wchar_t* names[] = {L"?",         L"OK",      L"Annuler", L"Abandonner",
                                     L"Réessayer", L"Ignorer", L"Oui",     L"Non"};
    return answer >= 1 && answer <= 7 ? names[answer] : names[0];
}

} // namespace

int AfxMessageBox(const ACHAR* text, unsigned type, unsigned) {
    unsigned buttons = type & 0xF;
    host::printText(L"\n[Boîte de message] " + std::wstring(text ? text : L""));
    int answer = leastChange(buttons);
    host::InputQueue& queue = host::inputQueue();
    if (const host::InputItem* front = queue.front(); front && front->kind == host::InputKind::Answer) {
        int wanted = queue.take().button;
        if (hasButton(buttons, wanted))
            answer = wanted;
        else
            host::printText(L"\n*** La boîte de message n'a pas de bouton " +
                            std::wstring(buttonName(wanted)) + L"");
    }
    host::printText(L"\n[" + std::wstring(buttonName(answer)) + L"]");
    return answer;
}

int acedAlert(const ACHAR* text) {
    AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
    return 5100;
}
