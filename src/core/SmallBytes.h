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
    [[nodiscard]] size_t capacity() const { return mCapacity == 0 ? kInline : mCapacity; }
    [[nodiscard]] uint8_t* data() { return mCapacity == 0 ? mInline : mHeap; }
    [[nodiscard]] const uint8_t* data() const { return mCapacity == 0 ? mInline : mHeap; }
    [[nodiscard]] iterator begin() { return data(); }
    [[nodiscard]] iterator end() { return data() + mSize; }
    [[nodiscard]] const_iterator begin() const { return data(); }
    [[nodiscard]] const_iterator end() const { return data() + mSize; }
    uint8_t& operator[](size_t i) { return data()[i]; }
    const uint8_t& operator[](size_t i) const { return data()[i]; }

    void resize(size_t n, uint8_t value = 0) {
        if (n > capacity()) {
            Grow(n);
        }
        if (n > mSize) {
            std::memset(data() + mSize, value, n - mSize);
        }
        mSize = static_cast<uint32_t>(n);
    }

    template <typename It>
    void assign(It first, It last) {
        const auto n = static_cast<size_t>(std::distance(first, last));
        if (n > capacity()) {
            mSize = 0; // the old bytes are replaced, not kept
            Grow(n);
        }
        std::copy(first, last, data());
        mSize = static_cast<uint32_t>(n);
    }

    friend bool operator==(const SmallBytes& a, const SmallBytes& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end());
    }
    friend bool operator==(const SmallBytes& a, const std::vector<uint8_t>& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end());
    }

private:
    // Exactly n: records are read once at their size and seldom grow.
    void Grow(size_t n) {
        if (n > std::numeric_limits<uint32_t>::max()) {
            throw std::length_error("record bytes too long");
        }
        auto* bytes = new uint8_t[n];
        std::memcpy(bytes, data(), mSize);
        Free();
        mHeap = bytes;
        mCapacity = static_cast<uint32_t>(n);
    }
    void Free() {
        if (mCapacity != 0) {
            delete[] mHeap;
            mCapacity = 0;
        }
    }
    void Take(SmallBytes& other) {
        if (other.mCapacity != 0) {
            mHeap = other.mHeap;
        } else {
            std::memcpy(mInline, other.mInline, other.mSize);
        }
        mSize = other.mSize;
        mCapacity = other.mCapacity;
        other.mSize = 0;
        other.mCapacity = 0;
    }

    union {
        uint8_t mInline[kInline];
        uint8_t* mHeap;
    };
    uint32_t mSize = 0;
    uint32_t mCapacity = 0; // 0: the bytes are inline
};

} // namespace kelvara
