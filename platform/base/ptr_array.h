#pragma once
// CPtrArray: the growable array of untyped pointers that the entity's piece and join operations fill and
// read. Keeps the collection's indexing rules (from 0, insertion and removal shift the rest); it owns the
// slots, never what they point to.
#include <cstddef>
#include <vector>

class CPtrArray {
public:
    int GetSize() const { return static_cast<int>(m_items.size()); }
    int GetCount() const { return GetSize(); }
    bool IsEmpty() const { return m_items.empty(); }

    void* GetAt(int i) const { return m_items.at(static_cast<std::size_t>(i)); }
    void SetAt(int i, void* p) { m_items.at(static_cast<std::size_t>(i)) = p; }
    void* operator[](int i) const { return GetAt(i); }
    void*& operator[](int i) { return m_items.at(static_cast<std::size_t>(i)); }
    // The slots in order, for calls that take a count and an array.
    void* const* GetData() const { return m_items.data(); }
    void** GetData() { return m_items.data(); }

    // Answers the index of the new slot.
    int Add(void* p) {
        m_items.push_back(p);
        return GetSize() - 1;
    }
    void InsertAt(int i, void* p) { m_items.insert(m_items.begin() + i, p); }
    void RemoveAt(int i, int count = 1) { m_items.erase(m_items.begin() + i, m_items.begin() + i + count); }
    void RemoveAll() { m_items.clear(); }

private:
    std::vector<void*> m_items;
};
