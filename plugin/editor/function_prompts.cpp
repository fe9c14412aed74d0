// The re-take parameters and the extended-data editor of the function keywords.
#include "plugin/editor/function_prompts.h"

#include <cctype>
#include <cstring>
#include <cwctype>
#include <string>

#include "cadutil/command_line/print.h"
#include "cadutil/resbuf/text_convert.h"
#include "host/db/build_list.h"
#include "host/db/db_object.h"
#include "host/input/prompts.h"
#include "plugin/editor/editor_state.h"
#include "plugin/editor/shape_memory.h"

namespace {

constexpr int kLetterBits[] = {retake::kCode, retake::kFlags, retake::kWidth, retake::kHeight,
                               retake::kBlocked};
constexpr const char* kShownLetters = "TCEHB";
constexpr const char* kPartNames[] = {" Tefs;", " C70=Forme;", " Epaisseur;", " Hauteur;",
                                      " Bloquage_forme;"};

std::string maskLetters(int mask) {
    std::string letters;
    for (int i = 0; i < 5; ++i)
        if (mask & kLetterBits[i]) letters.push_back(kShownLetters[i]);
    return letters;
}

// The new mask from an upper-case answer, which the caller has checked is not empty.
int applyAnswer(int mask, const std::string& answer) {
    const bool global = answer[0] == '_';
    const char* letters = global ? "TCWHB" : "TCEHB";
    const char nothing = global ? 'N' : 'R';
    if (answer.find('*') != std::string::npos) return -1;
    const std::size_t first = global ? 1 : 0;
    const bool relative = first < answer.size() && (answer[first] == '+' || answer[first] == '-');
    int result = relative ? mask : 0;
    bool adding = true;
    for (std::size_t i = first; i < answer.size(); ++i) {
        const char c = answer[i];
        if (c == '+' || c == '-') {
            adding = c == '+';
        } else if (c == nothing) {
            result = 0;
        } else if (const char* at = std::strchr(letters, c); at && c) {
            const int bit = kLetterBits[at - letters];
            result = adding ? result | bit : result & ~bit;
        }
    }
    return result;
}

std::string upper(const ACHAR* text) {
    char narrow[600];
    wideToStr(narrow, text);
    std::string s(narrow);
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::string trimmed(const char* text) {
    std::string s(text ? text : "");
    const std::size_t first = s.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

bool startsWithName(const ACHAR* record, const std::wstring& nameAndEquals) {
    if (std::wcslen(record) < nameAndEquals.size()) return false;
    for (std::size_t i = 0; i < nameAndEquals.size(); ++i)
        if (std::towupper(record[i]) != std::towupper(nameAndEquals[i])) return false;
    return true;
}

void listRecords(const resbuf* chain) {
    for (const resbuf* rb = chain; rb; rb = rb->rbnext) {
        if (rb->restype == 1000 || rb->restype == 1001) {
            char value[600];
            wideToStr(value, rb->resval.rstring);
            cmdprintf("\nType=%d Val=%s", rb->restype, value);
        } else {
            cmdprintf("\nType %d Non Trait\xe9", rb->restype);
        }
    }
    cmdprintf("\n");
}

// Writes the chain back, opening the object for write for the time of the change.
void writeBack(AcDbObject* object, const resbuf* chain) {
    const bool upgraded = !object->isWriteEnabled() && object->upgradeOpen() == Acad::eOk;
    object->setXData(chain);
    if (upgraded) object->downgradeOpen();
}

} // namespace

int askRetakeMask() {
    int& mask = shape_memory::values().retakeMask;
    const std::string shown = maskLetters(mask);
    char prompt[400];
    std::snprintf(prompt, sizeof prompt,
                  "\n%s 'Tef/C70/Epais/Hauteur/Bloque/*tout/Rien/+../-../Memo'(Ex:'+hbe','tcb') <%s>",
                  "\nFonction reprendre ; Quels elements : ", shown.c_str());
    ACHAR typed[128] = {};
    const int rc = acedGetString(0, codePageToWide(prompt).c_str(), typed, sizeof typed / sizeof *typed);
    const std::string answer = rc == RTNORM ? upper(typed) : std::string();
    if (!answer.empty()) mask = applyAnswer(mask, answer);
    int& pending = editor_state::globals().pending.flags;
    if (answer.find('M') != std::string::npos)
        pending |= editor_state::kAttributesMemo;
    else
        pending &= ~editor_state::kAttributesMemo;
    cmdprintf("\nReprend :%s >>", maskLetters(mask).c_str());
    if (mask == 0) cmdprintf(" Rien;");
    for (int i = 0; i < 5; ++i)
        if (mask & kLetterBits[i]) cmdprintf("%s", kPartNames[i]);
    return mask;
}

int editXData(AcDbObject* object, const char* text, const char* application) {
    const std::string command = trimmed(text);
    if (command.empty()) return -1;
    const std::wstring app = codePageToWide(application ? application : "ZORTA");
    resbuf* chain = object->xData(app.c_str());
    // The application record is kept apart from its data.
    resbuf* data = chain ? chain->rbnext : nullptr;
    if (chain) chain->rbnext = nullptr;
    int result = 1;
    if (command == "?") {
        if (chain) chain->rbnext = data;
        listRecords(chain);
        acutRelRb(chain);
        return 1;
    }
    if (!chain) chain = acutBuildList(1001, app.c_str(), RTNONE);
    if (command == "-") {
        acutRelRb(data);
        data = nullptr;
        writeBack(object, chain);
    } else if (const std::size_t equals = command.find('='); equals == std::string::npos) {
        result = 0;
    } else {
        const std::wstring name = codePageToWide(command.substr(0, equals + 1));
        for (resbuf** link = &data; *link; link = &(*link)->rbnext) {
            resbuf* rb = *link;
            if (rb->restype == 1000 && startsWithName(rb->resval.rstring, name)) {
                *link = rb->rbnext;
                rb->rbnext = nullptr;
                acutRelRb(rb);
                break;
            }
        }
        if (equals + 1 < command.size()) {
            resbuf* record = acutBuildList(1000, codePageToWide(command).c_str(), RTNONE);
            record->rbnext = data;
            data = record;
        }
        chain->rbnext = data;
        data = nullptr;
        writeBack(object, chain);
    }
    if (chain && data) chain->rbnext = data;
    acutRelRb(chain);
    return result;
}
