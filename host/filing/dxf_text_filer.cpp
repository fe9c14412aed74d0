#include "host/filing/dxf_text_filer.h"

namespace host {

DxfTextFiler::~DxfTextFiler() {
    acutRelRb(m_lastText);
}

const Group* DxfTextFiler::upcoming() const {
    if (m_pushedBack) return &m_last;
    if (!m_in) return nullptr;
    try {
        const Group* g = m_in->upcoming();
        return g && g->code != 0 ? g : nullptr;
    } catch (const DxfError&) {
        return nullptr;
    }
}

const Group& DxfTextFiler::take() {
    if (m_pushedBack)
        m_pushedBack = false;
    else
        m_last = m_in->take();
    m_hasLast = true;
    return m_last;
}

bool DxfTextFiler::atEOF() const {
    return !upcoming();
}

bool DxfTextFiler::atEndOfObject() const {
    const Group* g = upcoming();
    return !g || g->code == 1001;
}

Acad::ErrorStatus DxfTextFiler::readItem(resbuf* item) {
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

Acad::ErrorStatus DxfTextFiler::pushBackItem() {
    if (!m_hasLast || m_pushedBack) return Acad::eInvalidInput;
    m_pushedBack = true;
    return Acad::eOk;
}

bool DxfTextFiler::atSubclassData(const ACHAR* name) {
    const Group* g = upcoming();
    if (!g || g->code != 100 || !name || g->text() != name) return false;
    take();
    return true;
}

std::vector<Group> DxfTextFiler::takeExtendedData() {
    std::vector<Group> xdata;
    const Group* g = upcoming();
    if (!g || g->code != 1001) return xdata;
    while (upcoming())
        xdata.push_back(take());
    return xdata;
}

Acad::ErrorStatus DxfTextFiler::writeGroup(const Group& group) {
    if (m_out) m_out->put(group);
    return m_status;
}

} // namespace host
