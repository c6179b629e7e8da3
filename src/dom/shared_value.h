#pragma once
// An unchanging value shared by reference count, kept in one block with its count: a pointer's
// size in the node that holds it, where a shared_ptr takes two. Every session's pages hold
// hundreds of nodes, most of them sharing their attributes and texts with the page's template.
// Safe to share between threads.

#include <cstddef>
#include <memory>
#include <utility>

#include <boost/smart_ptr/intrusive_ptr.hpp>
#include <boost/smart_ptr/intrusive_ref_counter.hpp>

namespace cn::dom {

template <typename T>
class SharedValue {
 public:
  SharedValue() = default;
  SharedValue(std::nullptr_t) {}  // NOLINT(google-explicit-constructor): none, as a shared_ptr
  explicit SharedValue(T value)
      : block_(std::make_unique<const Block>(std::move(value)).release()) {}

  explicit operator bool() const { return static_cast<bool>(block_); }
  const T& operator*() const { return block_->value; }
  const T* operator->() const { return &block_->value; }
  const T* get() const { return block_ ? &block_->value : nullptr; }
  long use_count() const { return block_ ? static_cast<long>(block_->use_count()) : 0; }
  // The value itself, to change in place: only while this is its one holder.
  T& Owned() { return const_cast<Block&>(*block_).value; }

 private:
  struct Block : boost::intrusive_ref_counter<Block, boost::thread_safe_counter> {
    explicit Block(T v) : value(std::move(v)) {}
    T value;
  };
  boost::intrusive_ptr<const Block> block_;
};

}  // namespace cn::dom
