// A record's bytes. A large file holds hundreds of thousands of fields of a few bytes each;
// keeping those inside the object spares each of them an allocation of its own. Offers the
// part of std::vector's interface the program uses, so that it reads like one.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <limits>
#include <memory>
#include <stdexcept>
#include <vector>

namespace kelvara {

class SmallBytes {
public:
    using value_type = uint8_t;
    using size_type = size_t;
    using difference_type = std::ptrdiff_t;
    using reference = uint8_t&;
    using const_reference = const uint8_t&;
    using pointer = uint8_t*;
    using const_pointer = const uint8_t*;
    using iterator = uint8_t*;
    using const_iterator = const uint8_t*;

    // Up to this many bytes are inline; more are on the heap, and the same room holds the heap
    // block's address and capacity. The size alone tells which. Fields of 16 bytes are common.
    static constexpr size_t kInline = 16;

    SmallBytes() = default;
    // Implicit, as is the assignment, so that code written for a vector works; the conversion
    // back is explicit, since it copies and a reference bound to it would see a temporary.
    SmallBytes(const std::vector<uint8_t>& bytes) { assign(bytes.begin(), bytes.end()); }
    SmallBytes(const SmallBytes& other) { assign(other.begin(), other.end()); }
    SmallBytes(SmallBytes&& other) noexcept { Take(other); }
    SmallBytes& operator=(const SmallBytes& other) {
        if (this != &other) {
            assign(other.begin(), other.end());
        }
        return *this;
    }
    SmallBytes& operator=(SmallBytes&& other) noexcept {
        if (this != &other) {
            Free();
            Take(other);
        }
        return *this;
    }
    SmallBytes& operator=(const std::vector<uint8_t>& bytes) {
        assign(bytes.begin(), bytes.end());
        return *this;
    }
    ~SmallBytes() { Free(); }

    explicit operator std::vector<uint8_t>() const { return ToVector(); }
    [[nodiscard]] std::vector<uint8_t> ToVector() const { return std::vector<uint8_t>(begin(), end()); }

    [[nodiscard]] size_t size() const { return mSize; }
    [[nodiscard]] bool empty() const { return mSize == 0; }
    [[nodiscard]] size_t capacity() const { return IsInline() ? kInline : HeapCapacity(); }
    [[nodiscard]] uint8_t* data() { return IsInline() ? mStore : HeapBytes(); }
    [[nodiscard]] const uint8_t* data() const { return IsInline() ? mStore : HeapBytes(); }
    [[nodiscard]] iterator begin() { return data(); }
    [[nodiscard]] iterator end() { return data() + mSize; }
    [[nodiscard]] const_iterator begin() const { return data(); }
    [[nodiscard]] const_iterator end() const { return data() + mSize; }
    uint8_t& operator[](size_t i) { return data()[i]; }
    const uint8_t& operator[](size_t i) const { return data()[i]; }

    void resize(size_t n, uint8_t value = 0) {
        CheckLength(n);
        const size_t kept = std::min(n, size_t{mSize});
        if (n <= kInline) {
            if (!IsInline()) {
                uint8_t* heap = HeapBytes();
                std::memcpy(mStore, heap, kept);
                delete[] heap;
            }
        } else if (n > capacity()) {
            auto* bytes = new uint8_t[n];
            std::memcpy(bytes, data(), kept);
            Free();
            SetHeap(bytes, n);
        }
        mSize = static_cast<uint32_t>(n);
        std::memset(data() + kept, value, n - kept);
    }

    template <typename It>
    void assign(It first, It last) {
        const auto n = static_cast<size_t>(std::distance(first, last));
        CheckLength(n);
        if (n <= kInline) {
            uint8_t bytes[kInline]; // the source may be these very bytes
            std::copy(first, last, bytes);
            Free();
            std::memcpy(mStore, bytes, n);
        } else if (!IsInline() && n <= HeapCapacity()) {
            if constexpr (std::contiguous_iterator<It> && sizeof(std::iter_value_t<It>) == 1) {
                std::memmove(HeapBytes(), std::to_address(first), n); // may be a part of these very bytes
            } else {
                std::copy(first, last, HeapBytes());
            }
        } else {
            auto* bytes = new uint8_t[n];
            std::copy(first, last, bytes);
            Free();
            SetHeap(bytes, n);
        }
        mSize = static_cast<uint32_t>(n);
    }

    friend bool operator==(const SmallBytes& a, const SmallBytes& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end());
    }
    friend bool operator==(const SmallBytes& a, const std::vector<uint8_t>& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end());
    }

private:
    static void CheckLength(size_t n) {
        if (n > std::numeric_limits<uint32_t>::max()) {
            throw std::length_error("record bytes too long");
        }
    }
    [[nodiscard]] bool IsInline() const { return mSize <= kInline; }
    [[nodiscard]] uint8_t* HeapBytes() const {
        uint8_t* bytes = nullptr;
        std::memcpy(&bytes, mStore, sizeof bytes);
        return bytes;
    }
    [[nodiscard]] uint32_t HeapCapacity() const {
        uint32_t capacity = 0;
        std::memcpy(&capacity, mStore + sizeof(uint8_t*), sizeof capacity);
        return capacity;
    }
    // Exactly n: records are read once at their size and seldom grow.
    void SetHeap(uint8_t* bytes, size_t capacity) {
        const auto narrow = static_cast<uint32_t>(capacity);
        std::memcpy(mStore, &bytes, sizeof bytes);
        std::memcpy(mStore + sizeof bytes, &narrow, sizeof narrow);
    }
    void Free() {
        if (!IsInline()) {
            delete[] HeapBytes();
        }
        mSize = 0;
    }
    void Take(SmallBytes& other) {
        std::memcpy(mStore, other.mStore, sizeof mStore);
        mSize = other.mSize;
        other.mSize = 0;
    }

    static_assert(sizeof(uint8_t*) + sizeof(uint32_t) <= kInline);
    uint8_t mStore[kInline]{};
    uint32_t mSize = 0;
};

} // namespace kelvara
