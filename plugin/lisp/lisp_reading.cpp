#include "plugin/lisp/lisp_reading.h"

#include <cstring>

#include "entity/core/vertex_name.h"
#include "plugin/lisp/lisp_arguments.h"

bool nextEntityName(ads_name name) {
    const void* value = nullptr;
    if (lisp_nextarg(value) != RTENAME || !value) return false;
    std::memcpy(name, value, sizeof(ads_name));
    return true;
}

bool nextPlainName(Adesk::Int64& word) {
    ads_name name;
    Adesk::Int64 node = 0;
    return nextEntityName(name) && decodeVName(name, word, node) == kPlainName;
}

namespace {

// Whether every item after the head is a DXF group: a nested list, whatever it holds, is not one.
bool onlyGroupsAfter(const resbuf* head) {
    for (const resbuf* rb = head->rbnext; rb; rb = rb->rbnext)
        if (rb->restype >= RTNONE) return false;
    return true;
}

} // namespace

GroupListArgument::GroupListArgument() {
    resbuf* rb = g_lispCall.args;
    const bool wrapped = rb && rb->restype == RTLB;
    if (wrapped) rb = rb->rbnext;
    if (!rb || rb->restype != -1) return;
    if (wrapped) cutAtClosingBracket(rb);
    if (onlyGroupsAfter(rb)) m_head = rb;
}

void GroupListArgument::cutAtClosingBracket(resbuf* first) {
    // The list ends at the first closing bracket: a nested list before it would make it no group list anyway.
    for (resbuf* item = first; item->rbnext; item = item->rbnext) {
        if (item->rbnext->restype == RTLE) {
            m_last = item;
            m_rest = item->rbnext;
            m_last->rbnext = nullptr;
            return;
        }
    }
}

GroupListArgument::~GroupListArgument() {
    if (m_last) m_last->rbnext = m_rest;
}
