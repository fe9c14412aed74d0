#pragma once
// The plug-in's owner of a result-buffer chain. Nodes are costly to take from the host, so released ones go
// to a process-wide free list and are taken again from there: emptying a chain keeps at most its last 51
// nodes, the rest go back to the host, and the last Cresbuf destroyed gives the whole free list back.
// Chains that the host allocated are adopted with Attach: their nodes go back to the host, never to the
// free list. Host's command thread only.
#include <string>

#include "host/db/resbuf.h"

class Cresbuf {
public:
    Cresbuf();
    virtual ~Cresbuf();
    Cresbuf(const Cresbuf&) = delete;
    Cresbuf& operator=(const Cresbuf&) = delete;

    resbuf* head() const { return m_head; }
    resbuf* tail() const { return m_tail; }
    int count() const { return m_count; }

    // A cleared node appended at the tail.
    resbuf* Add();
    // A cleared node whose link is `next`, counted but left for the caller to link into the chain.
    resbuf* NewNode(resbuf* next);
    // A new node after `node` (at the head when null), with the code and value of `source` when given.
    resbuf* InsertAfter(resbuf* node, const resbuf* source = nullptr);
    // The node at index i (from 0), or null.
    resbuf* GetAt(int i) const;
    // Frees one node of the chain (unlinked first when it is in the chain): back to the host when more
    // than 50 nodes remain counted or pooling is off, else onto the free list.
    void Release(resbuf* node);
    void RemoveAll();
    // Links an outside chain at the tail; the chain becomes owned.
    void Append(resbuf* chain);
    // Empties the chain, switches pooling off and owns `chain`: for chains the host allocated.
    void Attach(resbuf* chain);

    resbuf* AddString(int code, const ACHAR* text);
    resbuf* AddText(int code, const char* text);
    resbuf* AddName(int code, const ads_name name);
    resbuf* AddPoint(int code, const ads_point point);
    resbuf* AddReal(int code, double value);
    resbuf* AddInt(int code, Adesk::Int32 value);
    // Appends the items of a filter text ("X;0=TAVROPOLY,ZORTAPOLY;8=~0"); a mode given at its start and
    // items such as ":S" go to `mode`. Answers the number of items read.
    int AddFilterText(const char* text, std::string& mode);
    // Prints every node (rbDump); the number printed.
    int Dump() const;

    // Live Cresbuf objects.
    static int gm_nelements;
    // Nodes waiting on the free list.
    static int freeCount();

private:
    resbuf* m_head = nullptr;
    resbuf* m_tail = nullptr;
    int m_count = 0;
    int m_pooling = 1;
};

// A node's code and value on the stack, not linked; a text or binary value it holds is its own.
class Cresbufval : public resbuf {
public:
    Cresbufval(int code, Adesk::Int32 value);
    explicit Cresbufval(double value);
    explicit Cresbufval(const ads_name name);
    explicit Cresbufval(const ads_point point);
    ~Cresbufval();
    Cresbufval(const Cresbufval&) = delete;
    Cresbufval& operator=(const Cresbufval&) = delete;
};
