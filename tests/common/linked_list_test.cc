#include "common/linked_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace towngen {
namespace {

std::vector<std::string> contents(const LinkedList<std::string>& list) {
  return std::vector<std::string>(list.begin(), list.end());
}

LinkedList<std::string> listOf(std::initializer_list<const char*> words) {
  LinkedList<std::string> list;
  for (const char* word : words) list.append(word);
  return list;
}

TEST(LinkedList, AppendKeepsOrderAndCount) {
  LinkedList<std::string> list = listOf({"a", "b", "c"});
  EXPECT_EQ(list.count(), 3);
  EXPECT_EQ(contents(list), (std::vector<std::string>{"a", "b", "c"}));
}

TEST(LinkedList, GetAtCopiesOutAndLeavesOutUnchangedPastTheEnd) {
  LinkedList<std::string> list = listOf({"a", "b"});
  std::string out = "untouched";
  EXPECT_TRUE(list.getAt(1, out));
  EXPECT_EQ(out, "b");
  out = "untouched";
  EXPECT_FALSE(list.getAt(2, out));
  EXPECT_FALSE(list.getAt(-1, out));
  EXPECT_EQ(out, "untouched");
}

TEST(LinkedList, PopFrontEmptiesHeadAndTailTogether) {
  LinkedList<std::string> list = listOf({"a", "b"});
  list.popFront();
  EXPECT_EQ(contents(list), (std::vector<std::string>{"b"}));
  list.popFront();
  EXPECT_TRUE(list.isEmpty());
  list.popFront();  // an empty list stays empty
  EXPECT_EQ(list.count(), 0);
  list.append("c");  // the tail was reset: the new node is head and tail
  EXPECT_EQ(contents(list), (std::vector<std::string>{"c"}));
}

TEST(LinkedList, ClearThenReuse) {
  LinkedList<std::string> list = listOf({"a", "b"});
  list.clear();
  EXPECT_EQ(list.count(), 0);
  EXPECT_EQ(list.begin(), list.end());
  list.append("x");
  EXPECT_EQ(contents(list), (std::vector<std::string>{"x"}));
}

TEST(LinkedList, CopiesAreIndependentAndMovesEmptyTheSource) {
  LinkedList<std::string> original = listOf({"a", "b"});
  LinkedList<std::string> copy(original);
  copy.append("c");
  EXPECT_EQ(original.count(), 2);
  EXPECT_EQ(copy.count(), 3);

  copy = original;
  EXPECT_EQ(contents(copy), contents(original));
  const LinkedList<std::string>& same = copy;
  copy = same;  // assigning a list to itself changes nothing
  EXPECT_EQ(copy.count(), 2);

  LinkedList<std::string> moved(std::move(copy));
  EXPECT_EQ(moved.count(), 2);
  EXPECT_EQ(copy.count(), 0);  // NOLINT(bugprone-use-after-move): moved-from is empty
  copy.append("again");
  EXPECT_EQ(copy.count(), 1);

  moved = std::move(copy);
  EXPECT_EQ(contents(moved), (std::vector<std::string>{"again"}));
}

}  // namespace
}  // namespace towngen
