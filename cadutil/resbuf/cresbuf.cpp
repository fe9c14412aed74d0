#include "cadutil/resbuf/cresbuf.h"

#include <cstring>

#include "cadutil/command_line/print.h"
#include "cadutil/resbuf/rb_dump.h"
#include "cadutil/resbuf/rb_values.h"

int Cresbuf::gm_nelements = 0;

namespace {

// Released nodes, linked through their next links.
struct FreeList {
    resbuf* head = nullptr;
    int count = 0;
};

FreeList& freeList() {
    static FreeList list;
    return list;
}

// Nodes a chain keeps for reuse when it is emptied.
constexpr int kKept = 50;

resbuf* takeNode() {
    FreeList& list = freeList();
    resbuf* node = list.head;
    if (node) {
        list.head = node->rbnext;
        --list.count;
    } else {
        node = acutNewRb(0);
        list.count = 0;
    }
    node->rbnext = nullptr;
    node->restype = 0;
    std::memset(&node->resval, 0, sizeof node->resval);
    return node;
}

} // namespace

int Cresbuf::freeCount() {
    return freeList().count;
}

Cresbuf::Cresbuf() {
    ++gm_nelements;
}

Cresbuf::~Cresbuf() {
    try {
        RemoveAll();
        if (--gm_nelements == 0) {
            acutRelRb(freeList().head);
            freeList() = FreeList{};
        }
    } catch (...) {
        msgprintf("\nProbleme avec la Destruction de Cresbuf : pv=%p gm_nelements=%d\n",
                  static_cast<void*>(freeList().head), gm_nelements);
    }
}

resbuf* Cresbuf::Add() {
    resbuf* node = takeNode();
    if (m_tail)
        m_tail->rbnext = node;
    else
        m_head = node;
    m_tail = node;
    ++m_count;
    return node;
}

resbuf* Cresbuf::NewNode(resbuf* next) {
    resbuf* node = takeNode();
    node->rbnext = next;
    ++m_count;
    return node;
}

resbuf* Cresbuf::InsertAfter(resbuf* node, const resbuf* source) {
    resbuf* added = NewNode(node ? node->rbnext : m_head);
    if (node)
        node->rbnext = added;
    else
        m_head = added;
    if (!added->rbnext) m_tail = added;
    if (source) rbCopy(added, source);
    return added;
}

resbuf* Cresbuf::GetAt(int i) const {
    resbuf* node = i < 0 ? nullptr : m_head;
    for (; node && i > 0; --i)
        node = node->rbnext;
    return node;
}

void Cresbuf::Release(resbuf* node) {
    if (!node) return;
    resbuf* before = nullptr;
    for (resbuf* n = m_head; n && n != node; n = n->rbnext)
        before = n;
    if (before ? before->rbnext == node : m_head == node) {
        (before ? before->rbnext : m_head) = node->rbnext;
        if (m_tail == node) m_tail = before;
    }
    --m_count;
    if (m_pooling && m_count <= kKept) {
        rbFreeValue(node, true);
        node->rbnext = freeList().head;
        freeList().head = node;
        ++freeList().count;
    } else {
        rbFreeValue(node, false);
        node->rbnext = nullptr;
        acutRelRb(node);
    }
}

void Cresbuf::RemoveAll() {
    while (m_head)
        Release(m_head);
    m_head = m_tail = nullptr;
    m_count = 0;
}

void Cresbuf::Append(resbuf* chain) {
    if (!chain) return;
    (m_tail ? m_tail->rbnext : m_head) = chain;
    for (m_tail = chain, ++m_count; m_tail->rbnext; m_tail = m_tail->rbnext)
        ++m_count;
}

void Cresbuf::Attach(resbuf* chain) {
    RemoveAll();
    m_pooling = 0;
    Append(chain);
}

resbuf* Cresbuf::AddString(int code, const ACHAR* text) {
    resbuf* node = Add();
    rbSetString(node, code, text);
    return node;
}

resbuf* Cresbuf::AddText(int code, const char* text) {
    resbuf* node = Add();
    rbSetText(node, code, text);
    return node;
}

resbuf* Cresbuf::AddName(int code, const ads_name name) {
    resbuf* node = Add();
    rbSetName(node, code, name);
    return node;
}

resbuf* Cresbuf::AddPoint(int code, const ads_point point) {
    resbuf* node = Add();
    rbSetPoint(node, code, point);
    return node;
}

resbuf* Cresbuf::AddReal(int code, double value) {
    resbuf* node = Add();
    rbSetValue(node, code, value);
    return node;
}

resbuf* Cresbuf::AddInt(int code, Adesk::Int32 value) {
    resbuf* node = Add();
    rbSetInt(node, code, value);
    return node;
}

int Cresbuf::Dump() const {
    int n = 0;
    for (const resbuf* node = m_head; node; node = node->rbnext)
        n += rbDump(node);
    return n;
}

Cresbufval::Cresbufval(int code, Adesk::Int32 value) : resbuf{} {
    rbSetInt(this, code, value);
}

Cresbufval::Cresbufval(double value) : resbuf{} {
    rbSetValue(this, RTREAL, value);
}

Cresbufval::Cresbufval(const ads_name name) : resbuf{} {
    rbSetName(this, RTENAME, name);
}

Cresbufval::Cresbufval(const ads_point point) : resbuf{} {
    rbSetPoint(this, RT3DPOINT, point);
}

Cresbufval::~Cresbufval() {
    rbFreeValue(this, true);
}
