#include "host/input/input_queue.h"

#include <string>

#include "host/input/text_numbers.h"

namespace host {

namespace {

InputItem item(InputKind kind, std::wstring echo) {
    InputItem i;
    i.kind = kind;
    i.echo = std::move(echo);
    return i;
}

InputItem pointLike(InputKind kind, const wchar_t* word, const AcGePoint3d& point) {
    InputItem i = item(kind, word + formatPoint(point));
    i.point = point;
    return i;
}

} // namespace

InputItem lineItem(std::wstring text) {
    InputItem i = item(InputKind::Line, text);
    i.text = std::move(text);
    return i;
}

InputItem enterItem() {
    return item(InputKind::Enter, L"");
}

InputItem cancelItem() {
    return item(InputKind::Cancel, kCancelEcho);
}

InputItem pointItem(const AcGePoint3d& point) {
    return pointLike(InputKind::Point, L"", point);
}

InputItem moveItem(const AcGePoint3d& point) {
    return pointLike(InputKind::Move, L"@move ", point);
}

InputItem snapItem(const AcGePoint3d& point) {
    return pointLike(InputKind::Snap, L"@snap ", point);
}

InputItem pickItem(AcDbObjectId entity, Adesk::GsMarker marker, const AcGePoint3d& point) {
    InputItem i = pointLike(InputKind::Pick, L"@pick ", point);
    i.entity = entity;
    i.marker = marker;
    i.hasPoint = true;
    i.echo = L"@pick " + entity.handle().text() + L" " + std::to_wstring(marker) + L" " + formatPoint(point);
    return i;
}

InputItem selectionItem(std::vector<AcDbObjectId> entities) {
    std::wstring echo = L"@select";
    for (AcDbObjectId id : entities)
        echo += L" " + id.handle().text();
    InputItem i = item(InputKind::Selection, echo);
    i.entities = std::move(entities);
    return i;
}

InputItem keyItem(int virtualKey, bool down, Adesk::UInt32 time) {
    InputItem i = item(InputKind::Key, L"");
    i.virtualKey = virtualKey;
    i.keyDown = down;
    i.time = time;
    return i;
}

InputItem answerItem(int button) {
    InputItem i = item(InputKind::Answer, L"");
    i.button = button;
    return i;
}

void InputQueue::pushFront(std::vector<InputItem> items) {
    m_items.insert(m_items.begin(), std::make_move_iterator(items.begin()),
                   std::make_move_iterator(items.end()));
    m_putInFront += items.size();
}

InputItem InputQueue::take() {
    InputItem i = std::move(m_items.front());
    m_items.pop_front();
    if (m_putInFront > 0) --m_putInFront;
    if (i.scriptLine) m_lastScriptLine = i.scriptLine;
    return i;
}

void InputQueue::dropOwned(int owner) {
    const auto inFront = m_items.begin() + static_cast<std::ptrdiff_t>(m_putInFront);
    const auto kept =
        std::remove_if(m_items.begin(), inFront, [owner](const InputItem& i) { return i.owner == owner; });
    m_putInFront -= static_cast<std::size_t>(inFront - kept);
    m_items.erase(kept, inFront);
}

InputQueue& inputQueue() {
    static InputQueue queue;
    return queue;
}

void DryPromptGuard::countDryPrompt() {
    if (++m_dry > m_limit)
        throw PromptLimitReached("the input ran out: " + std::to_string(m_limit) +
                                 " prompts in a row found nothing to answer them");
}

DryPromptGuard& dryPromptGuard() {
    static DryPromptGuard guard;
    return guard;
}

namespace {
std::function<bool()>& source() {
    static std::function<bool()> refill;
    return refill;
}
} // namespace

void setInputSource(std::function<bool()> refill) {
    source() = std::move(refill);
}

bool refillInput() {
    return source() && source()();
}

bool hasInputSource() {
    return static_cast<bool>(source());
}

void resetInput() {
    inputQueue().clear();
    dryPromptGuard().reset();
    source() = nullptr;
}

} // namespace host
