#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <utility>

namespace towngen {

// A singly linked list that owns its nodes. Elements are copied in and copied
// out; nobody keeps a reference into a list. Copying a list copies every element,
// moving it hands the nodes over and leaves the source empty.
//
// Nodes taken off the list by popFront and clear are kept for reuse (at most
// kSpareLimit of them), so a list that is filled and emptied again and again,
// as the treasure lists are for every townsperson, stops allocating.
template <typename T>
class LinkedList {
  struct Node {
    explicit Node(const T& v) : value(v) {}
    T value;
    Node* next = nullptr;
  };

 public:
  static constexpr std::int32_t kSpareLimit = 64;

  LinkedList() = default;
  ~LinkedList() {
    clear();
    while (spare_ != nullptr) {
      Node* next = spare_->next;
      delete spare_;
      spare_ = next;
    }
  }

  LinkedList(const LinkedList& other) {
    for (const T& value : other) append(value);
  }
  LinkedList& operator=(const LinkedList& other) {
    if (this != &other) {
      LinkedList copy(other);
      swap(copy);
    }
    return *this;
  }
  LinkedList(LinkedList&& other) noexcept { swap(other); }
  LinkedList& operator=(LinkedList&& other) noexcept {
    if (this != &other) {
      clear();
      swap(other);
    }
    return *this;
  }

  // Copies `value` into a new node at the tail.
  void append(const T& value) {
    Node* node = spare_;
    if (node != nullptr) {
      spare_ = node->next;
      --spareCount_;
      node->value = value;
      node->next = nullptr;
    } else {
      node = new Node(value);
    }
    if (tail_ == nullptr) {
      head_ = node;
    } else {
      tail_->next = node;
    }
    tail_ = node;
    ++count_;
  }

  // Walks from the head to the 0-based `position` and copies the element there
  // into `out`. Returns false, leaving `out` unchanged, when the position lies
  // outside the list.
  bool getAt(std::int32_t position, T& out) const {
    const T* found = at(position);
    if (found == nullptr) return false;
    out = *found;
    return true;
  }

  // The element at the 0-based `position`, found by walking from the head, or
  // nullptr when the position lies outside the list.
  const T* at(std::int32_t position) const {
    if (position < 0) return nullptr;
    const Node* node = head_;
    for (std::int32_t i = 0; node != nullptr && i < position; ++i) node = node->next;
    return node == nullptr ? nullptr : &node->value;
  }

  // Unlinks and frees the head node; does nothing on an empty list.
  void popFront() {
    if (head_ == nullptr) return;
    Node* old = head_;
    head_ = head_->next;
    if (head_ == nullptr) tail_ = nullptr;
    release(old);
    --count_;
  }

  // Takes every node off from the head; the list is then empty.
  void clear() {
    while (head_ != nullptr) {
      Node* next = head_->next;
      release(head_);
      head_ = next;
    }
    tail_ = nullptr;
    count_ = 0;
  }

  std::int32_t count() const { return count_; }
  bool isEmpty() const { return count_ == 0; }
  // The element at the tail. REQUIRES: the list is not empty.
  const T& back() const { return tail_->value; }

  void swap(LinkedList& other) noexcept {
    std::swap(head_, other.head_);
    std::swap(tail_, other.tail_);
    std::swap(count_, other.count_);
    std::swap(spare_, other.spare_);
    std::swap(spareCount_, other.spareCount_);
  }

  // Read-only forward iteration from the head, for range-for over the elements.
  class ConstIterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = T;
    using difference_type = std::ptrdiff_t;
    using pointer = const T*;
    using reference = const T&;

    ConstIterator() = default;
    explicit ConstIterator(const Node* node) : node_(node) {}
    reference operator*() const { return node_->value; }
    pointer operator->() const { return &node_->value; }
    ConstIterator& operator++() {
      node_ = node_->next;
      return *this;
    }
    ConstIterator operator++(int) {
      ConstIterator before = *this;
      node_ = node_->next;
      return before;
    }
    bool operator==(const ConstIterator& other) const { return node_ == other.node_; }

   private:
    const Node* node_ = nullptr;
  };

  ConstIterator begin() const { return ConstIterator(head_); }
  ConstIterator end() const { return ConstIterator(nullptr); }

 private:
  // Keeps a node taken off the list for reuse, or frees it when enough are kept.
  void release(Node* node) {
    if (spareCount_ >= kSpareLimit) {
      delete node;
      return;
    }
    node->next = spare_;
    spare_ = node;
    ++spareCount_;
  }

  Node* head_ = nullptr;
  Node* tail_ = nullptr;
  std::int32_t count_ = 0;
  Node* spare_ = nullptr;
  std::int32_t spareCount_ = 0;
};

}  // namespace towngen
