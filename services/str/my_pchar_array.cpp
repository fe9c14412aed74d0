#include "services/str/str.h"

#include <cstdlib>
#include <cstring>
#include <new>

MyPCharArray::~MyPCharArray() {
    std::free(items);
}

// Makes room for item `index` and the null after the last one: the capacity becomes index + 101.
void MyPCharArray::Reserve(int index) {
    if (index + 1 < capacity) return;
    const int grown = index + 101;
    auto* block = static_cast<char**>(std::realloc(items, sizeof(char*) * static_cast<size_t>(grown)));
    if (!block) throw std::bad_alloc();
    std::memset(block + capacity, 0, sizeof(char*) * static_cast<size_t>(grown - capacity));
    items = block;
    capacity = grown;
}

int MyPCharArray::Add(char* text) {
    SetAt(count, text);
    return count - 1;
}

void MyPCharArray::SetAt(int index, char* text) {
    if (index < 0) return;
    Reserve(index);
    items[index] = text;
    if (index >= count) count = index + 1;
}

void MyPCharArray::SetSize(int size) {
    if (size < 0) size = 0;
    if (size > count) {
        Reserve(size - 1);
    } else if (items) {
        std::memset(items + size, 0, sizeof(char*) * static_cast<size_t>(count - size));
    }
    count = size;
}

char* MyPCharArray::operator[](unsigned index) const {
    return index < static_cast<unsigned>(count) ? items[index] : nullptr;
}

int MyPCharArray::Find(const char* text) const {
    for (int i = 0; i < count; ++i)
        if (items[i] && text && std::strcmp(items[i], text) == 0) return i;
    return -1;
}

namespace {
bool equalNoCase(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b)
        if (STR::Chr_tolower[static_cast<unsigned char>(*a)] !=
            STR::Chr_tolower[static_cast<unsigned char>(*b)])
            return false;
    return *a == *b;
}
} // namespace

int MyPCharArray::FindNoCase(const char* text) const {
    for (int i = 0; i < count; ++i)
        if (items[i] && text && equalNoCase(items[i], text)) return i;
    return -1;
}
