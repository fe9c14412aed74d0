#include "plugin/editor/editor_state.h"

#include "cadutil/command_line/print.h"
#include "services/dos/dos.h"

// Texts in code page 1252: "\xe8" is an e with a grave accent.

namespace editor_state {

namespace {

constexpr int kMaxBeeps = 5;

// Both lists in the order of the keyword numbers; "~" only separates groups in the help.
constexpr const char* kLocalKeywords = "A AC L C O M MR T E H P Z F ~ G N B GT GF GA W S U Q ~ X ZC ZT ZR ~ "
                                       "FC FI FEQ FD FJ FPA FS FR FRP FZ FPO ~ "
                                       "DL3 DL2 ~ DC2 DC3 DCD DCR ~ QFS ? XD ";
constexpr const char* kGlobalKeywords = " _ A AC L C O M MR T TH H P Z F ~ G N B GH GE GA W HA U Q ~ X ZC ZT "
                                        "ZN ~ FC FI FSQ FO FJ FPA FD FR FRP FL "
                                        "FPO ~ DL3 DL2 ~ DC2 DC3 DCD DCN ~ QFS ? XD ";

std::string withoutSeparators(std::string list) {
    for (std::size_t at; (at = list.find(" ~")) != std::string::npos;)
        list.erase(at, 2);
    return list;
}

} // namespace

EditorGlobals& globals() {
    static EditorGlobals state;
    return state;
}

void reset() {
    globals() = EditorGlobals{};
}

const std::string& standardKeywords() {
    static const std::string list = withoutSeparators(std::string(kLocalKeywords) + kGlobalKeywords);
    return list;
}

void errorBeep() {
    int& count = globals().beepCount;
    if (count > kMaxBeeps) return;
    ++count;
    if (count > kMaxBeeps) return;
    if (count == kMaxBeeps)
        msgprintf("\n**** plus de %d Beep d'erreurs >> Arr\xe8t des Beep ******", kMaxBeeps);
    const BeepRecord beep{-4000, 50, 0};
    _bip(&beep);
}

} // namespace editor_state
