// rchart_podbuffer: a growing array of plain records for the item list's
// millions of points. It grows with realloc, which for large blocks lets the
// system move the pages instead of copying them and faulting in fresh ones:
// appending a point stays O(1) amortised and far cheaper than in a vector.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <new>
#include <span>
#include <type_traits>

namespace travenel {

template <class T>
class TPodBuffer {
  static_assert(std::is_trivially_copyable_v<T>);

 public:
  TPodBuffer() = default;
  TPodBuffer(const TPodBuffer& o) {
    Reserve(o.size_);
    if (o.size_) std::memcpy(data_, o.data_, o.size_ * sizeof(T));
    size_ = o.size_;
  }
  TPodBuffer& operator=(const TPodBuffer&) = delete;
  ~TPodBuffer() { std::free(data_); }

  void PushBack(const T& v) {
    if (size_ == capacity_) Reserve(capacity_ < 64 ? 64 : 2 * capacity_);
    std::memcpy(static_cast<void*>(data_ + size_), &v, sizeof(T));
    ++size_;
  }
  // Empties the buffer and gives its memory back.
  void Release() {
    std::free(data_);
    data_ = nullptr;
    size_ = capacity_ = 0;
  }
  std::size_t Size() const { return size_; }
  std::size_t Capacity() const { return capacity_; }
  const T* Data() const { return data_; }
  const T& operator[](std::size_t i) const { return data_[i]; }
  std::span<const T> Span() const { return {data_, size_}; }

 private:
  void Reserve(std::size_t n) {
    if (n <= capacity_) return;
    if (n > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_alloc();
    void* p = std::realloc(static_cast<void*>(data_), n * sizeof(T));
    if (!p) throw std::bad_alloc();
    data_ = static_cast<T*>(p);
    capacity_ = n;
  }

  T* data_ = nullptr;
  std::size_t size_ = 0, capacity_ = 0;
};

}  // namespace travenel
