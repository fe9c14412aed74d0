#pragma once
// The items of a LISP list: one block of values that every copy of the list, and every tail taken from it,
// shares, counting its users; a change made through one copy first takes a block of its own (copy on
// write). Copying a list, binding it to a symbol or taking its CDR thus costs no allocation. The count is
// not atomic: the LISP runs on the host's command thread.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <new>
#include <utility>
#include <vector>

#include "host/lisp/item_blocks.h"

namespace host {

template <typename T> class SharedItems {
public:
    SharedItems() = default;
    SharedItems(const SharedItems& other) noexcept
        : m_block(other.m_block), m_first(other.m_first), m_size(other.m_size) {
        if (m_block) ++m_block->users;
    }
    SharedItems(SharedItems&& other) noexcept
        : m_block(std::exchange(other.m_block, nullptr)), m_first(std::exchange(other.m_first, 0)),
          m_size(std::exchange(other.m_size, 0)) {}
    SharedItems& operator=(SharedItems other) noexcept {
        swap(other);
        return *this;
    }
    ~SharedItems() { release(); }

    template <std::input_iterator Iterator> SharedItems(Iterator begin, Iterator end) {
        reserve(static_cast<std::size_t>(std::distance(begin, end)));
        for (; begin != end; ++begin)
            push_back(*begin);
    }
    SharedItems(std::initializer_list<T> items) : SharedItems(items.begin(), items.end()) {}
    SharedItems(const std::vector<T>& items) : SharedItems(items.begin(), items.end()) {}
    SharedItems(std::vector<T>&& items)
        : SharedItems(std::make_move_iterator(items.begin()), std::make_move_iterator(items.end())) {}

    std::size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    const T* data() const { return m_block ? m_block->items() + m_first : nullptr; }
    const T* begin() const { return data(); }
    const T* end() const { return data() + m_size; }
    const T& operator[](std::size_t i) const { return data()[i]; }
    const T& front() const { return data()[0]; }
    const T& back() const { return data()[m_size - 1]; }

    // The items from `first` on, sharing this block.
    SharedItems tail(std::size_t first) const {
        if (first >= m_size) return {};
        SharedItems out(*this);
        out.m_first += static_cast<std::uint32_t>(first);
        out.m_size -= static_cast<std::uint32_t>(first);
        return out;
    }

    void reserve(std::size_t capacity) {
        if (capacity == 0) return;
        if (!m_block || m_block->users > 1 || m_first + capacity > m_block->capacity) reallocate(capacity);
    }
    void push_back(T&& item) {
        if (!hasRoomAtEnd()) reallocate(m_size < 2 ? 2 : m_size * 2);
        new (m_block->items() + m_first + m_size) T(std::move(item));
        ++m_size;
        ++m_block->size;
    }
    void push_back(const T& item) {
        if (hasRoomAtEnd()) {
            new (m_block->items() + m_first + m_size) T(item);
            ++m_size;
            ++m_block->size;
        } else {
            push_back(T(item)); // copied first: `item` may be one of these items
        }
    }
    // Adds the item `make()` returns, made in its place.
    template <typename Make> T& emplaceWith(Make make) {
        if (!hasRoomAtEnd()) reallocate(m_size < 2 ? 2 : m_size * 2);
        T* item = new (m_block->items() + m_first + m_size) T(make());
        ++m_size;
        ++m_block->size;
        return *item;
    }
    // The last item, to change it in place.
    T& mutableBack() {
        if (m_block->users > 1) reallocate(m_size);
        return m_block->items()[m_first + m_size - 1];
    }

    void swap(SharedItems& other) noexcept {
        std::swap(m_block, other.m_block);
        std::swap(m_first, other.m_first);
        std::swap(m_size, other.m_size);
    }

private:
    struct alignas(std::max_align_t) Block {
        std::uint32_t users;
        std::uint32_t size; // items constructed, from the block's start
        std::uint32_t capacity;
        T* items() { return reinterpret_cast<T*>(this + 1); }
    };

    static std::size_t bytesFor(std::size_t capacity) { return sizeof(Block) + capacity * sizeof(T); }

    // Whether an item can be added in place: the block is this list's alone and has room after its items.
    bool hasRoomAtEnd() const {
        return m_block && m_block->users == 1 && m_first + m_size == m_block->size &&
               m_block->size < m_block->capacity;
    }

    // A block of its own holding this list's items, with room for `capacity`.
    void reallocate(std::size_t capacity) {
        if (capacity < m_size) capacity = m_size;
        void* memory = allocateItemBlock(bytesFor(capacity));
        Block* block = new (memory) Block{1, 0, static_cast<std::uint32_t>(capacity)};
        const bool alone = m_block && m_block->users == 1;
        try {
            for (; block->size < m_size; ++block->size) {
                T& item = m_block->items()[m_first + block->size];
                if (alone)
                    new (block->items() + block->size) T(std::move(item));
                else
                    new (block->items() + block->size) T(item);
            }
        } catch (...) {
            free(block);
            throw;
        }
        release();
        m_block = block;
        m_first = 0;
    }

    static void free(Block* block) noexcept {
        for (std::uint32_t i = block->size; i > 0; --i)
            block->items()[i - 1].~T();
        const std::size_t bytes = bytesFor(block->capacity);
        block->~Block();
        releaseItemBlock(block, bytes);
    }

    void release() noexcept {
        if (m_block && --m_block->users == 0) free(m_block);
        m_block = nullptr;
    }

    Block* m_block = nullptr;
    std::uint32_t m_first = 0;
    std::uint32_t m_size = 0;
};

} // namespace host
