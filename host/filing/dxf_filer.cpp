#include "host/filing/dxf_filer.h"

HOST_DEFINE_ABSTRACT(AcDbDxfFiler, AcRxObject)

Acad::ErrorStatus AcDbDxfFiler::writePoint2d(int code, const AcGePoint2d& p, int precision) {
    return writeGroup({static_cast<short>(code), AcGePoint3d(p.x, p.y, 0), precision, true});
}

namespace host {

DxfCursorFiler::~DxfCursorFiler() {
    acutRelRb(m_lastText);
}

const Group* DxfCursorFiler::upcoming() const {
    const Group* g = peekGroup();
    return g && g->code != 0 ? g : nullptr;
}

const Group& DxfCursorFiler::take() {
    m_canPushBack = true;
    m_last = &takeGroup();
    return *m_last;
}

bool DxfCursorFiler::atEndOfObject() const {
    const Group* g = upcoming();
    return !g || g->code == 1001;
}

Acad::ErrorStatus DxfCursorFiler::readItem(resbuf* item) {
    if (atEndOfObject()) return Acad::eEndOfFile;
    const Group& g = take();
    acutRelRb(m_lastText);
    m_lastText = nullptr;
    // Numbers and points, the bulk of a large object, go straight into the item; a text is held here.
    const short type = resbufValueType(g.code);
    if (type != RTSTR && type != kRtBinaryChunk) {
        setResbufValue(*item, g, m_database);
        return Acad::eOk;
    }
    m_lastText = toResbuf(g, m_database);
    item->restype = m_lastText->restype;
    item->resval = m_lastText->resval;
    return Acad::eOk;
}

Acad::ErrorStatus DxfCursorFiler::pushBackItem() {
    if (!m_canPushBack) return Acad::eInvalidInput;
    untakeGroup();
    m_canPushBack = false;
    return Acad::eOk;
}

bool DxfCursorFiler::atSubclassData(const ACHAR* name) {
    const Group* g = upcoming();
    if (!g || g->code != 100 || !name || g->text() != name) return false;
    take();
    return true;
}

std::vector<Group> DxfCursorFiler::takeExtendedData() {
    std::vector<Group> xdata;
    const Group* g = upcoming();
    if (!g || g->code != 1001) return xdata;
    while (upcoming())
        xdata.push_back(take());
    return xdata;
}

const Group* DxfGroupFiler::peekGroup() const {
    return m_position < m_groups.size() ? &m_groups[m_position] : nullptr;
}

Acad::ErrorStatus DxfGroupFiler::writeGroup(const Group& group) {
    m_groups.push_back(group);
    return filerStatus();
}

} // namespace host
