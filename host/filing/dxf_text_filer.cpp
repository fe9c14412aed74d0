#include "host/filing/dxf_text_filer.h"

namespace host {

const Group* DxfTextFiler::peekGroup() const {
    if (m_untaken) return &m_taken;
    if (!m_in) return nullptr;
    try {
        return m_in->upcoming();
    } catch (const DxfError&) {
        return nullptr;
    }
}

const Group& DxfTextFiler::takeGroup() {
    if (m_untaken)
        m_untaken = false;
    else
        m_taken = m_in->take();
    return m_taken;
}

Acad::ErrorStatus DxfTextFiler::writeGroup(const Group& group) {
    if (m_out) m_out->put(group);
    return filerStatus();
}

} // namespace host
