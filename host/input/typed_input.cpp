#include "host/input/typed_input.h"

#include <algorithm>
#include <string>

#include "host/input/prompt_input.h"

namespace host {

namespace {

TypedLinesSource& source() {
    static TypedLinesSource typed;
    return typed;
}

} // namespace

bool isTypedLine(const InputItem& item) {
    return item.kind == InputKind::Line || item.kind == InputKind::Enter || item.kind == InputKind::Cancel;
}

void setTypedLinesSource(TypedLinesSource typed) {
    source() = std::move(typed);
}

InputItem typedWaitItem(int lines, int waitMs) {
    InputItem item;
    item.kind = InputKind::Typed;
    item.typedLines = lines;
    item.typedWaitMs = waitMs;
    return item;
}

void takeTypedLines(const InputItem& wait) {
    std::vector<InputItem> items;
    if (!source()) {
        printMessage(L"\n*** @typed: aucune fenêtre ne reçoit de frappes (zhost --window)");
        items.push_back(cancelItem());
        inputQueue().pushFront(std::move(items));
        return;
    }
    items = source()(wait.typedLines, wait.typedWaitMs);
    const auto typed = static_cast<int>(std::count_if(items.begin(), items.end(), isTypedLine));
    if (typed < wait.typedLines) {
        printMessage(L"\n*** @typed: " + std::to_wstring(typed) + L" ligne(s) tapée(s) sur " +
                     std::to_wstring(wait.typedLines) + L" en " + std::to_wstring(wait.typedWaitMs) +
                     L" ms; annulé");
        items.push_back(cancelItem());
    }
    inputQueue().pushFront(std::move(items));
}

} // namespace host
