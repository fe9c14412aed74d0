// The integrity check of the vertex list that ends every mode of the editor before it changes a broken list.
#include "cadutil/command_line/print.h"
#include "plugin/editor/editor_state.h"
#include "plugin/editor/qpoly_edit.h"

namespace {

const void* at(const void* p) {
    return p;
}

} // namespace

int qpoly_edit::checkChain() {
    if (!entity) return 0;
    int errors = 0;
    P_Vertex* head = entity->H();
    P_Vertex* tail = entity->T();
    if (head && head->pVB) {
        msgprintf("\n Head Bach n'est pas nul >> Mauvaise tete =%p != %p ", at(head), at(head->pVB));
        ++errors;
    }
    // The walk never takes more steps than the list has vertices, so a ring of links ends it too.
    const int count = entity->GetCount();
    int walked = 0;
    bool currentMet = current == nullptr;
    P_Vertex* reached = nullptr;
    for (P_Vertex* v = head; v && walked < count; v = v->pVN) {
        ++walked;
        reached = v;
        if (v == current) currentMet = true;
        if (v == tail) break;
        if (v->pVN && v->pVN->pVB != v) {
            msgprintf("\npoly %p pvi=%p , sommet No %d probleme next<>back ", at(entity), at(v), walked);
            ++errors;
        }
    }
    // A tail that links on closes a ring.
    if (reached != tail || (tail && tail->pVN)) {
        msgprintf("\n Tail =%p != %p n'est pas le dernier sommet ", at(reached), at(tail));
        ++errors;
    }
    if (!currentMet) {
        msgprintf("\n pvcourant =%p introuvable ", at(current));
        ++errors;
    }
    if (errors) {
        msgprintf("\n%d erreurs sur la poly :%p de %d sommets >>", errors, at(entity), walked);
        int number = 0;
        for (P_Vertex* v = head; v && number < count; v = v->pVN)
            msgprintf(" %d=%p !", ++number, at(v));
        for (int beep = 0; beep < 5; ++beep)
            editor_state::errorBeep();
    }
    return errors;
}
