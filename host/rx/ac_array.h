#pragma once
// The host's growable array and the array types its interfaces take.
#include <algorithm>
#include <vector>

#include "host/ge/ge.h"
#include "host/rx/adesk.h"

template <typename T> class AcArray {
public:
    AcArray() = default;
    explicit AcArray(int physicalLength, int growLength = 8) : m_grow(growLength) {
        m_items.reserve(physicalLength);
    }

    int length() const { return static_cast<int>(m_items.size()); }
    int logicalLength() const { return length(); }
    int physicalLength() const { return static_cast<int>(m_items.capacity()); }
    bool isEmpty() const { return m_items.empty(); }
    int growLength() const { return m_grow; }
    AcArray& setGrowLength(int n) {
        m_grow = n;
        return *this;
    }
    AcArray& setLogicalLength(int n) {
        m_items.resize(n < 0 ? 0 : n);
        return *this;
    }
    AcArray& setPhysicalLength(int n) {
        if (n < length()) m_items.resize(n);
        m_items.reserve(n);
        return *this;
    }

    T& operator[](int i) { return m_items[i]; }
    const T& operator[](int i) const { return m_items[i]; }
    T& at(int i) { return m_items.at(i); }
    const T& at(int i) const { return m_items.at(i); }
    T& first() { return m_items.front(); }
    T& last() { return m_items.back(); }
    const T& first() const { return m_items.front(); }
    const T& last() const { return m_items.back(); }
    T* asArrayPtr() { return m_items.data(); }
    const T* asArrayPtr() const { return m_items.data(); }

    int append(const T& v) {
        m_items.push_back(v);
        return length() - 1;
    }
    AcArray& append(const AcArray& other) {
        m_items.insert(m_items.end(), other.m_items.begin(), other.m_items.end());
        return *this;
    }
    AcArray& insertAt(int i, const T& v) {
        m_items.insert(m_items.begin() + i, v);
        return *this;
    }
    AcArray& removeAt(int i) {
        m_items.erase(m_items.begin() + i);
        return *this;
    }
    AcArray& removeLast() {
        m_items.pop_back();
        return *this;
    }
    AcArray& removeAll() {
        m_items.clear();
        return *this;
    }
    AcArray& reverse() {
        std::reverse(m_items.begin(), m_items.end());
        return *this;
    }
    bool find(const T& v, int& index, int start = 0) const {
        for (int i = start; i < length(); ++i)
            if (m_items[i] == v) {
                index = i;
                return true;
            }
        return false;
    }
    bool contains(const T& v, int start = 0) const {
        int i;
        return find(v, i, start);
    }

    auto begin() { return m_items.begin(); }
    auto end() { return m_items.end(); }
    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }
    bool operator==(const AcArray& other) const { return m_items == other.m_items; }

private:
    std::vector<T> m_items;
    int m_grow = 8;
};

using AcGePoint3dArray = AcArray<AcGePoint3d>;
using AcGePoint2dArray = AcArray<AcGePoint2d>;
using AcGeVector3dArray = AcArray<AcGeVector3d>;
using AcGeDoubleArray = AcArray<double>;
using AcDbIntArray = AcArray<int>;
using AcDbVoidPtrArray = AcArray<void*>;
using AcGeIntArray = AcArray<int>;
