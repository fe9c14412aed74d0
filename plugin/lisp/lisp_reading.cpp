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

GroupListArgument::GroupListArgument() {
    resbuf* rb = g_lispCall.args;
    const bool wrapped = rb && rb->restype == RTLB;
    if (wrapped) rb = rb->rbnext;
    if (!rb || rb->restype != -1) return;
    m_head = rb;
    if (!wrapped) return;
    // The list ends at the bracket that closes the outer one; nested lists inside it are items.
    int depth = 0;
    for (resbuf* item = rb; item->rbnext; item = item->rbnext) {
        const short next = item->rbnext->restype;
        if (next == RTLB) ++depth;
        if (next == RTLE && depth-- == 0) {
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
