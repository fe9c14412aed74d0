#include "host/filing/dxf_filer.h"

#include <cwchar>

HOST_DEFINE_ABSTRACT(AcDbDxfFiler, AcRxObject)

Acad::ErrorStatus AcDbDxfFiler::writePoint2d(int code, const AcGePoint2d& p, int precision) {
    return writeGroup({static_cast<short>(code), AcGePoint3d(p.x, p.y, 0), precision, true});
}

namespace host {

DxfGroupFiler::~DxfGroupFiler() {
    releaseLastText();
}

void DxfGroupFiler::releaseLastText() {
    acutRelRb(m_lastText);
    m_lastText = nullptr;
}

bool DxfGroupFiler::atEndOfObject() const {
    const Group* g = peek();
    return !g || g->code == 0 || g->code == 1001;
}

Acad::ErrorStatus DxfGroupFiler::readItem(resbuf* item) {
    if (atEndOfObject()) return Acad::eEndOfFile;
    releaseLastText();
    m_lastText = toResbuf(m_groups[m_position++], m_database);
    item->restype = m_lastText->restype;
    item->resval = m_lastText->resval;
    return Acad::eOk;
}

Acad::ErrorStatus DxfGroupFiler::pushBackItem() {
    if (m_position == 0) return Acad::eInvalidInput;
    --m_position;
    return Acad::eOk;
}

bool DxfGroupFiler::atSubclassData(const ACHAR* name) {
    const Group* g = peek();
    if (!g || g->code != 100 || !name || g->text() != name) return false;
    ++m_position;
    return true;
}

std::vector<Group> DxfGroupFiler::takeExtendedData() {
    std::vector<Group> xdata;
    const Group* g = peek();
    if (!g || g->code != 1001) return xdata;
    while ((g = peek()) && g->code != 0) {
        xdata.push_back(*g);
        skip();
    }
    return xdata;
}

Acad::ErrorStatus DxfGroupFiler::writeGroup(const Group& group) {
    m_groups.push_back(group);
    return m_status;
}

} // namespace host
