#pragma once
// An array that grows a block at a time: room is never copied to grow, so a
// collection's peak is what it holds plus one block, not the two arrays a growing
// vector has at once. Elements keep their places until sorted or cleared.
#include <cstddef>
#include <iterator>
#include <memory>
#include <vector>

template <typename T, size_t BlockShift>
class BlockArray {
public:
    static constexpr size_t blockSize = size_t{1} << BlockShift;

    size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    T& operator[](size_t i) { return blocks_[i >> BlockShift][i & (blockSize - 1)]; }
    const T& operator[](size_t i) const { return blocks_[i >> BlockShift][i & (blockSize - 1)]; }

    T& push_back(const T& value) {
        if ((size_ >> BlockShift) == blocks_.size()) blocks_.push_back(std::make_unique<T[]>(blockSize));
        T& slot = (*this)[size_++];
        slot = value;
        return slot;
    }
    // Empties it and keeps its blocks for the next search.
    void clear() { size_ = 0; }

    class Iterator {
    public:
        using iterator_category = std::random_access_iterator_tag;
        using value_type = T;
        using difference_type = std::ptrdiff_t;
        using pointer = T*;
        using reference = T&;

        Iterator() = default;
        Iterator(BlockArray* array, difference_type at) : array_(array), at_(at) {}
        T& operator*() const { return (*array_)[static_cast<size_t>(at_)]; }
        T* operator->() const { return &**this; }
        T& operator[](difference_type n) const { return *(*this + n); }
        Iterator& operator++() { return ++at_, *this; }
        Iterator& operator--() { return --at_, *this; }
        Iterator operator++(int) { Iterator before = *this; ++at_; return before; }
        Iterator operator--(int) { Iterator before = *this; --at_; return before; }
        Iterator& operator+=(difference_type n) { return at_ += n, *this; }
        Iterator& operator-=(difference_type n) { return at_ -= n, *this; }
        friend Iterator operator+(Iterator i, difference_type n) { return i += n; }
        friend Iterator operator+(difference_type n, Iterator i) { return i += n; }
        friend Iterator operator-(Iterator i, difference_type n) { return i -= n; }
        friend difference_type operator-(const Iterator& a, const Iterator& b) { return a.at_ - b.at_; }
        friend bool operator==(const Iterator& a, const Iterator& b) { return a.at_ == b.at_; }
        friend bool operator!=(const Iterator& a, const Iterator& b) { return a.at_ != b.at_; }
        friend bool operator<(const Iterator& a, const Iterator& b) { return a.at_ < b.at_; }
        friend bool operator>(const Iterator& a, const Iterator& b) { return a.at_ > b.at_; }
        friend bool operator<=(const Iterator& a, const Iterator& b) { return a.at_ <= b.at_; }
        friend bool operator>=(const Iterator& a, const Iterator& b) { return a.at_ >= b.at_; }

    private:
        BlockArray* array_ = nullptr;
        difference_type at_ = 0;
    };
    Iterator begin() { return Iterator(this, 0); }
    Iterator end() { return Iterator(this, static_cast<std::ptrdiff_t>(size_)); }

private:
    std::vector<std::unique_ptr<T[]>> blocks_;
    size_t size_ = 0;
};
