// ContainerFuzz.cpp - StringAC, UIntArrayC and PtrListC against models.
//
// The input is a sequence of byte-coded operations, each on one of two
// instances of one of the three containers (the other instance serves as the
// operand of joins, inserts and assignments, and an operation may also name its
// own target). After every operation the container is compared with its
// model: the elements, and for the arrays the capacity and growth increment
// (the growth rules are exact), for the list the positions (a position keeps
// naming its element, and the node freed last is the one reused first).
#include <quarnbase/PtrListC.h>
#include <quarnbase/ScalarArrays.h>
#include <quarnbase/StringAC.h>

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <list>
#include <string>
#include <utility>
#include <vector>

#include "FuzzSupport.h"
#include "ObjectLayout.h"

namespace {

using quarn::fuzz::ByteReader;
using quarn::fuzz::BytesOf;
using quarn::fuzz::CText;
using quarn::fuzz::kCallsOutsidePreconditions;
using quarn::fuzz::MakeString;
using quarn::test::FieldsOf;

constexpr int kMaxOperations = 128;
constexpr int kMaxElements = 96;  // arrays beyond this are cleared, to keep runs fast

// A small signed argument: -2 .. span - 3.
int SmallInt(ByteReader& in, int span) { return static_cast<int>(in.Byte() % span) - 2; }

// ---------------------------------------------------------------------------
// Array capacity model, shared by both arrays: SetSize's growth rule.

template <class E>
struct ArrayModel {
  std::vector<E> items;
  int maxSize = 0;
  int growBy = 0;
  bool defaultIncrement = false;  // StringAC: growBy 0 means maxSize / 2 + 10

  // Capacity after SetSize(newSize) grows or keeps the block; items untouched.
  void Reserve(int newSize) {
    if (newSize == 0) {
      maxSize = 0;
    } else if (maxSize == 0) {
      maxSize = newSize;
    } else if (newSize > maxSize) {
      const int increment = (defaultIncrement && growBy == 0) ? maxSize / 2 + 10 : growBy;
      maxSize = std::max(maxSize + increment, newSize);
    }
  }
  void SetSize(int newSize, int newGrowBy, const E& zero) {
    if (newSize < 0) return;  // changes nothing, growBy included
    if (newGrowBy != -1) growBy = newGrowBy;
    Reserve(newSize);
    items.resize(static_cast<std::size_t>(newSize), zero);
  }
  // InsertAt(index, value, count): pads up to index, opens a gap, fills it.
  void Insert(int index, const E& value, int count, const E& zero) {
    if (index < 0 || count < 0) return;
    const int size = static_cast<int>(items.size());
    if (index >= size) {
      SetSize(index + count, -1, zero);
      std::fill(items.begin() + index, items.end(), value);
    } else {
      Reserve(size + count);
      items.insert(items.begin() + index, static_cast<std::size_t>(count), value);
    }
  }
  void Remove(int index, int count) {
    const int size = static_cast<int>(items.size());
    if (index < 0 || count < 0 || index >= size) return;
    items.erase(items.begin() + index, items.begin() + std::min(size, index + count));
  }
  void FreeExtra() { maxSize = static_cast<int>(items.size()); }
};

// ---------------------------------------------------------------------------
// UIntArrayC

using UIntModel = ArrayModel<unsigned int>;

void Verify(const UIntArrayC& a, const UIntModel& m, const char* what) {
  const auto f = FieldsOf(a);
  const std::string where = std::string(" after UIntArrayC ") + what;
  FUZZ_CHECK(f.elementCount == static_cast<int>(m.items.size()), "count" + where);
  FUZZ_CHECK(f.maxSize == m.maxSize, "capacity " + std::to_string(f.maxSize) + ", model " +
                                         std::to_string(m.maxSize) + where);
  FUZZ_CHECK(f.growBy == m.growBy, "growBy" + where);
  FUZZ_CHECK((f.data == nullptr) == (f.maxSize == 0), "block" + where);
  FUZZ_CHECK(a.GetSize() == f.elementCount && a.GetUpperBound() == f.elementCount - 1,
             "GetSize" + where);
  for (int k = 0; k < f.elementCount; ++k) FUZZ_CHECK(a.GetAt(k) == m.items[k], "element" + where);
}

void UIntOperation(ByteReader& in, UIntArrayC (&arrays)[2], UIntModel (&models)[2]) {
  const std::uint8_t code = in.Byte();
  const int t = code & 1;
  const bool self = (code & 2) != 0;
  UIntArrayC& a = arrays[t];
  UIntModel& m = models[t];
  if (static_cast<int>(m.items.size()) > kMaxElements) {
    a.RemoveAll();
    m.items.clear();
    m.maxSize = 0;
  }
  UIntArrayC& other = self ? a : arrays[1 - t];
  const UIntModel otherModel = self ? m : models[1 - t];
  const unsigned int value = in.Byte();
  const char* what = "?";
  switch ((code >> 2) % 12) {
    case 0: {
      what = "SetSize";
      const int size = SmallInt(in, 40);
      const int grow = SmallInt(in, 12);
      a.SetSize(size, grow);
      m.SetSize(size, grow, 0);
      break;
    }
    case 1:
    case 2:
      what = "Add";
      FUZZ_CHECK(a.Add(value) == static_cast<int>(m.items.size()), "Add's index");
      m.Insert(static_cast<int>(m.items.size()), value, 1, 0);
      break;
    case 3: {
      what = "SetAtGrow";
      const int index = SmallInt(in, 40);
      a.SetAtGrow(index, value);
      if (index >= 0) {
        if (index >= static_cast<int>(m.items.size())) m.SetSize(index + 1, -1, 0);
        m.items[static_cast<std::size_t>(index)] = value;
      }
      break;
    }
    case 4: {
      what = "InsertAt(value, count)";
      const int index = SmallInt(in, 40);
      const int count = SmallInt(in, 10);
      a.InsertAt(index, value, count);
      m.Insert(index, value, count, 0);
      break;
    }
    case 5: {
      what = "InsertAt(array)";
      const int index = SmallInt(in, 40);
      a.InsertAt(index, &other);
      if (!otherModel.items.empty() && index >= 0) {
        m.Insert(index, 0u, static_cast<int>(otherModel.items.size()), 0);
        std::copy(otherModel.items.begin(), otherModel.items.end(), m.items.begin() + index);
      }
      break;
    }
    case 6: {
      what = "RemoveAt";
      const int index = SmallInt(in, 40);
      const int count = SmallInt(in, 10);
      a.RemoveAt(index, count);
      m.Remove(index, count);
      break;
    }
    case 7:
      what = "FreeExtra";
      a.FreeExtra();
      m.FreeExtra();
      break;
    case 8:
      what = "RemoveAll";
      a.RemoveAll();
      m.items.clear();
      m.maxSize = 0;
      break;
    case 9: {
      what = "copy constructor";
      const UIntArrayC copy(a);
      UIntModel expected = m;
      expected.maxSize = static_cast<int>(m.items.size());
      expected.growBy = 0;
      Verify(copy, expected, what);
      break;
    }
    case 10:
      what = "operator=";
      a = other;
      if (!self) {
        m.items = otherModel.items;
        m.maxSize = static_cast<int>(m.items.size());
      }
      break;
    default: {
      what = "SetAt, ElementAt";
      if (!m.items.empty()) {
        const int index = static_cast<int>(in.Byte() % m.items.size());
        a.SetAt(index, value);
        a.ElementAt(index) += 1;
        m.items[static_cast<std::size_t>(index)] = value + 1;
      }
      break;
    }
  }
  Verify(arrays[0], models[0], what);
  Verify(arrays[1], models[1], what);
}

// ---------------------------------------------------------------------------
// StringAC

using StringModel = ArrayModel<std::string>;

void Verify(const StringAC& a, const StringModel& m, const char* what) {
  const auto f = FieldsOf(a);
  const std::string where = std::string(" after StringAC ") + what;
  FUZZ_CHECK(f.elementCount == static_cast<int>(m.items.size()), "count" + where);
  FUZZ_CHECK(f.maxSize == m.maxSize, "capacity " + std::to_string(f.maxSize) + ", model " +
                                         std::to_string(m.maxSize) + where);
  FUZZ_CHECK(f.growBy == m.growBy, "growBy" + where);
  FUZZ_CHECK((f.data == nullptr) == (f.maxSize == 0), "block" + where);
  FUZZ_CHECK(a.length() == f.elementCount && a.GetSize() == f.elementCount &&
                 a.size() == f.maxSize && a.GetUpperBound() == f.elementCount - 1,
             "accessors" + where);
  for (int k = 0; k < f.elementCount; ++k) {
    const StringC& e = f.data[k];
    FUZZ_CHECK(BytesOf(e) == m.items[static_cast<std::size_t>(k)], "element text" + where);
    FUZZ_CHECK(e.length() < e.size() && static_cast<const char*>(e)[e.length()] == '\0',
               "element invariants" + where);
    FUZZ_CHECK((static_cast<const char*>(e) == quarn::fuzz::SharedEmpty()) == (e.size() == 1),
               "element buffer" + where);
  }
}

int Compare(const std::string& a, const std::string& b, bool noCase) {
  return MakeString(a).Compare(MakeString(b), noCase ? StrCompNoCase : StrCompExact);
}

std::vector<std::string> Tokens(const std::string& text, const std::string& delimiters) {
  std::vector<std::string> tokens;
  const std::string c = CText(text);
  std::size_t at = 0;
  while (at < c.size()) {
    const std::size_t start = c.find_first_not_of(delimiters, at);
    if (start == std::string::npos) break;
    const std::size_t end = std::min(c.find_first_of(delimiters, start), c.size());
    tokens.push_back(c.substr(start, end - start));
    at = end;
  }
  return tokens;
}

// Checks a sorted array against the elements it was sorted from, and makes the
// model follow it (the order of equal elements is not defined).
void CheckSort(const StringAC& a, StringModel& m, bool unique, bool noCase) {
  const auto f = FieldsOf(a);
  std::vector<std::string> sorted;
  for (int k = 0; k < f.elementCount; ++k) sorted.push_back(BytesOf(f.data[k]));
  for (std::size_t k = 1; k < sorted.size(); ++k) {
    const int order = Compare(sorted[k - 1], sorted[k], noCase);
    FUZZ_CHECK(unique ? order < 0 : order <= 0, "sort order");
  }
  std::vector<std::string> before = m.items;
  std::sort(before.begin(), before.end(),
            [&](const std::string& x, const std::string& y) { return Compare(x, y, noCase) < 0; });
  if (unique) {
    before.erase(std::unique(before.begin(), before.end(),
                             [&](const std::string& x, const std::string& y) {
                               return Compare(x, y, noCase) == 0;
                             }),
                 before.end());
  }
  FUZZ_CHECK(before.size() == sorted.size(), "sort kept the wrong number of elements");
  for (std::size_t k = 0; k < sorted.size(); ++k) {
    FUZZ_CHECK(Compare(before[k], sorted[k], noCase) == 0, "sort changed the elements");
    if (!noCase) FUZZ_CHECK(before[k] == sorted[k], "exact sort changed an element");
  }
  m.items = sorted;
}

void StringOperation(ByteReader& in, StringAC (&arrays)[2], StringModel (&models)[2]) {
  const std::uint8_t code = in.Byte();
  const int t = code & 1;
  const bool self = (code & 2) != 0;
  StringAC& a = arrays[t];
  StringModel& m = models[t];
  if (static_cast<int>(m.items.size()) > kMaxElements) {
    a.RemoveAll();
    m.items.clear();
    m.maxSize = 0;
  }
  StringAC& other = self ? a : arrays[1 - t];
  const StringModel otherModel = self ? m : models[1 - t];
  const std::string text = in.Bytes(10);
  const char* what = "?";
  switch ((code >> 2) % 18) {
    case 0: {
      what = "SetSize";
      const int size = SmallInt(in, 40);
      const int grow = SmallInt(in, 12);
      a.SetSize(size, grow);
      m.SetSize(size, grow, std::string());
      break;
    }
    case 1:
    case 2:
      what = "Add";
      FUZZ_CHECK(a.Add(text.c_str()) == static_cast<int>(m.items.size()), "Add's index");
      m.Insert(static_cast<int>(m.items.size()), CText(text), 1, std::string());
      break;
    case 3: {
      what = "SetAt, SetAtGrow";
      const int index = SmallInt(in, 40);
      const bool inRange = index >= 0 && index < static_cast<int>(m.items.size());
      if (in.Byte() & 1) {
        if (kCallsOutsidePreconditions || inRange) a.SetAt(index, text.c_str());
        if (inRange) m.items[static_cast<std::size_t>(index)] = CText(text);
      } else {
        a.SetAtGrow(index, text.c_str());
        if (index >= 0) {
          if (index >= static_cast<int>(m.items.size())) m.SetSize(index + 1, -1, std::string());
          m.items[static_cast<std::size_t>(index)] = CText(text);
        }
      }
      break;
    }
    case 4: {
      what = "InsertAt(text, count)";
      const int index = SmallInt(in, 40);
      const int count = SmallInt(in, 10);
      if (!kCallsOutsidePreconditions && (index < 0 || count < 0)) break;
      a.InsertAt(index, text.c_str(), count);
      m.Insert(index, CText(text), count, std::string());
      break;
    }
    case 5: {
      what = "InsertAt(array)";
      const int index = SmallInt(in, 40);
      if (!kCallsOutsidePreconditions && index < 0) break;
      a.InsertAt(index, &other);
      if (!otherModel.items.empty() && index >= 0) {
        // Elements arrive as C text, cut at a zero byte.
        m.Insert(index, std::string(), static_cast<int>(otherModel.items.size()), std::string());
        for (std::size_t k = 0; k < otherModel.items.size(); ++k) {
          m.items[static_cast<std::size_t>(index) + k] = CText(otherModel.items[k]);
        }
      }
      break;
    }
    case 6: {
      what = "RemoveAt";
      const int index = SmallInt(in, 40);
      const int count = SmallInt(in, 10);
      const int size = static_cast<int>(m.items.size());
      if (!kCallsOutsidePreconditions && (index < 0 || count < 0 || count > size - index)) break;
      a.RemoveAt(index, count);
      m.Remove(index, count);
      break;
    }
    case 7: {
      what = "truncate";
      const int size = SmallInt(in, 40);
      a.truncate(size);
      if (size >= 0 && size < static_cast<int>(m.items.size())) {
        m.items.resize(static_cast<std::size_t>(size));
      }
      break;
    }
    case 8:
      what = "FreeExtra";
      a.FreeExtra();
      m.FreeExtra();
      break;
    case 9:
      what = "RemoveAll";
      a.RemoveAll();
      m.items.clear();
      m.maxSize = 0;
      break;
    case 10:
      what = "operator+=(const StringAC&)";
      a += other;
      if (!otherModel.items.empty()) {
        m.items.insert(m.items.end(), otherModel.items.begin(), otherModel.items.end());
        m.maxSize = static_cast<int>(m.items.size());
      }
      break;
    case 11: {
      what = "operator+=(const StringC&)";
      if (self && !m.items.empty()) {
        const int index = static_cast<int>(in.Byte() % m.items.size());
        a += a[index];
        m.items.push_back(m.items[static_cast<std::size_t>(index)]);
      } else {
        a += MakeString(text);
        m.items.push_back(text);
      }
      m.maxSize = static_cast<int>(m.items.size());
      break;
    }
    case 12: {
      what = "operator+";
      const StringAC joined = a + other;
      StringModel expected;
      expected.items = m.items;
      expected.items.insert(expected.items.end(), otherModel.items.begin(), otherModel.items.end());
      expected.maxSize = static_cast<int>(expected.items.size());
      Verify(joined, expected, "operator+(const StringAC&)");
      const StringAC appended = a + MakeString(text);
      expected.items = m.items;
      expected.items.push_back(text);
      expected.maxSize = static_cast<int>(expected.items.size());
      Verify(appended, expected, "operator+(const StringC&)");
      break;
    }
    case 13: {
      what = "operator=, copy constructor";
      const StringAC copy(a);
      StringModel expected = m;
      expected.maxSize = static_cast<int>(m.items.size());
      expected.growBy = 0;
      Verify(copy, expected, "copy constructor");
      a = other;
      if (!self) {
        m.items = otherModel.items;
        m.maxSize = static_cast<int>(m.items.size());
      }
      break;
    }
    case 14: {
      what = "index, GetAt";
      const int start = SmallInt(in, 20);
      int expected = -1;
      for (std::size_t k = static_cast<std::size_t>(std::max(start, 0)); k < m.items.size(); ++k) {
        if (m.items[k] == text) {
          expected = static_cast<int>(k);
          break;
        }
      }
      FUZZ_CHECK(a.index(MakeString(text), start) == expected, "index");
      if (!m.items.empty()) {
        const int k = static_cast<int>(in.Byte() % m.items.size());
        const StringAC& constant = a;
        FUZZ_CHECK(BytesOf(constant.GetAt(k)) == m.items[static_cast<std::size_t>(k)], "GetAt");
        FUZZ_CHECK(BytesOf(constant[k]) == m.items[static_cast<std::size_t>(k)], "operator[]");
      }
      break;
    }
    case 15: {
      what = "sort";
      const bool unique = (in.Byte() & 1) != 0;
      const bool noCase = (in.Byte() & 1) != 0;
      a.sort(unique ? 1 : 0, noCase ? 1 : 0);
      CheckSort(a, m, unique, noCase);
      break;
    }
    case 16: {
      what = "parse";
      const std::string delimiters = CText(in.Bytes(3));
      StringC source = MakeString(text);
      const StringAC tokens = source.parse(delimiters.c_str());
      StringModel expected;
      expected.items = Tokens(text, delimiters);
      expected.maxSize = static_cast<int>(expected.items.size());
      Verify(tokens, expected, what);
      FUZZ_CHECK(BytesOf(source) == text, "parse changed its string");
      break;
    }
    default: {
      what = "copy of an rvalue";
      StringAC moved(std::move(a));  // no move constructor: an exact copy, growBy 0
      StringModel movedModel = m;
      movedModel.maxSize = static_cast<int>(m.items.size());
      movedModel.growBy = 0;
      Verify(moved, movedModel, "copy constructor");
      a = std::move(moved);  // copy assignment: exact block, a keeps its growBy
      m.maxSize = movedModel.maxSize;
      break;
    }
  }
  Verify(arrays[0], models[0], what);
  Verify(arrays[1], models[1], what);
}

// ---------------------------------------------------------------------------
// PtrListC

struct ListModel {
  std::vector<std::pair<POSITION, void*>> nodes;  // in list order
  std::vector<POSITION> freed;                    // the top is reused first
};

void* Value(ByteReader& in) {
  return reinterpret_cast<void*>(static_cast<std::uintptr_t>(in.Byte() % 8));
}

void Verify(const PtrListC& list, const ListModel& m, const char* what) {
  const std::string where = std::string(" after PtrListC ") + what;
  FUZZ_CHECK(list.GetCount() == static_cast<int>(m.nodes.size()), "count" + where);
  FUZZ_CHECK(list.IsEmpty() == (m.nodes.empty() ? 1 : 0), "IsEmpty" + where);
  POSITION p = list.GetHeadPosition();
  for (const auto& node : m.nodes) {
    FUZZ_CHECK(p == node.first, "position" + where);
    FUZZ_CHECK(list.GetNext(p) == node.second, "element" + where);
  }
  FUZZ_CHECK(p == nullptr, "list longer than its count" + where);
  p = list.GetTailPosition();
  for (auto node = m.nodes.rbegin(); node != m.nodes.rend(); ++node) {
    FUZZ_CHECK(p == node->first, "backward position" + where);
    FUZZ_CHECK(list.GetPrev(p) == node->second, "backward element" + where);
  }
  FUZZ_CHECK(p == nullptr, "backward walk too long" + where);
  FUZZ_CHECK(list.GetHead() == (m.nodes.empty() ? nullptr : m.nodes.front().second),
             "GetHead" + where);
  FUZZ_CHECK(list.GetTail() == (m.nodes.empty() ? nullptr : m.nodes.back().second),
             "GetTail" + where);
}

// Records a node added at `at`; it must be the most recently freed node if any.
void Added(ListModel& m, std::size_t at, POSITION position, void* value) {
  if (!m.freed.empty()) {
    FUZZ_CHECK(position == m.freed.back(), "the node freed last was not reused first");
    m.freed.pop_back();
  }
  for (const auto& node : m.nodes) FUZZ_CHECK(node.first != position, "a live node was reused");
  m.nodes.insert(m.nodes.begin() + static_cast<long>(at), {position, value});
}

void Removed(ListModel& m, std::size_t at) {
  m.freed.push_back(m.nodes[at].first);
  m.nodes.erase(m.nodes.begin() + static_cast<long>(at));
}

// Takes the list's positions after an operation that added nodes whose
// positions the model cannot predict, checking the values.
void Resync(const PtrListC& list, ListModel& m, const std::vector<void*>& values,
            const char* what) {
  std::vector<std::pair<POSITION, void*>> nodes;
  for (POSITION p = list.GetHeadPosition(); p != nullptr;) {
    const POSITION at = p;
    nodes.push_back({at, list.GetNext(p)});
  }
  const std::string where = std::string(" after PtrListC ") + what;
  FUZZ_CHECK(nodes.size() == values.size(), "count " + std::to_string(nodes.size()) + ", model " +
                                                std::to_string(values.size()) + where);
  for (std::size_t k = 0; k < nodes.size(); ++k) {
    FUZZ_CHECK(nodes[k].second == values[k], "elements" + where);
  }
  const std::size_t added = nodes.size() - std::min(nodes.size(), m.nodes.size());
  m.freed.resize(m.freed.size() - std::min(added, m.freed.size()));
  m.nodes = std::move(nodes);
}

std::vector<void*> Values(const ListModel& m) {
  std::vector<void*> values;
  for (const auto& node : m.nodes) values.push_back(node.second);
  return values;
}

void ListOperation(ByteReader& in, PtrListC (&lists)[2], ListModel (&models)[2]) {
  const std::uint8_t code = in.Byte();
  const int t = code & 1;
  const bool self = (code & 2) != 0;
  PtrListC& list = lists[t];
  ListModel& m = models[t];
  if (m.nodes.size() > static_cast<std::size_t>(kMaxElements)) {
    list.RemoveAll();
    m = ListModel{};
  }
  PtrListC& other = self ? list : lists[1 - t];
  const ListModel otherModel = self ? m : models[1 - t];
  void* const value = Value(in);
  const std::size_t n = m.nodes.size();
  const std::size_t k = n == 0 ? 0 : in.Byte() % n;
  const char* what = "?";
  switch ((code >> 2) % 14) {
    case 0:
      what = "AddHead";
      Added(m, 0, list.AddHead(value), value);
      break;
    case 1:
      what = "AddTail";
      Added(m, m.nodes.size(), list.AddTail(value), value);
      break;
    case 2: {
      what = "InsertBefore";
      const POSITION at = m.nodes.empty() ? nullptr : m.nodes[k].first;
      Added(m, m.nodes.empty() ? 0 : k, list.InsertBefore(at, value), value);
      break;
    }
    case 3: {
      what = "InsertAfter";
      const POSITION at = m.nodes.empty() ? nullptr : m.nodes[k].first;
      Added(m, m.nodes.empty() ? 0 : k + 1, list.InsertAfter(at, value), value);
      break;
    }
    case 4:
      what = "RemoveHead";
      if (!m.nodes.empty()) {
        FUZZ_CHECK(list.RemoveHead() == m.nodes.front().second, "RemoveHead's element");
        Removed(m, 0);
      } else if (kCallsOutsidePreconditions) {
        FUZZ_CHECK(list.RemoveHead() == nullptr, "RemoveHead on an empty list");
      }
      break;
    case 5:
      what = "RemoveTail";
      if (!m.nodes.empty()) {
        FUZZ_CHECK(list.RemoveTail() == m.nodes.back().second, "RemoveTail's element");
        Removed(m, m.nodes.size() - 1);
      } else if (kCallsOutsidePreconditions) {
        FUZZ_CHECK(list.RemoveTail() == nullptr, "RemoveTail on an empty list");
      }
      break;
    case 6:
      what = "RemoveAt";
      if (!m.nodes.empty()) {
        list.RemoveAt(m.nodes[k].first);
        Removed(m, k);
      }
      break;
    case 7:
      what = "SetAt, GetAt";
      if (!m.nodes.empty()) {
        list.SetAt(m.nodes[k].first, value);
        m.nodes[k].second = value;
        FUZZ_CHECK(list.GetAt(m.nodes[k].first) == value, "GetAt");
      }
      break;
    case 8: {
      what = "FindIndex, Find";
      const int index = static_cast<int>(k) - 1;
      const POSITION found = list.FindIndex(index);
      FUZZ_CHECK(found == (index >= 0 && index < static_cast<int>(m.nodes.size())
                               ? m.nodes[static_cast<std::size_t>(index)].first
                               : nullptr),
                 "FindIndex");
      const bool fromStart = (in.Byte() & 1) != 0 || m.nodes.empty();
      const std::size_t first = fromStart ? 0 : k + 1;
      POSITION expected = nullptr;
      for (std::size_t i = first; i < m.nodes.size(); ++i) {
        if (m.nodes[i].second == value) {
          expected = m.nodes[i].first;
          break;
        }
      }
      FUZZ_CHECK(list.Find(value, fromStart ? nullptr : m.nodes[k].first) == expected, "Find");
      break;
    }
    case 9:
      what = "RemoveAll";
      list.RemoveAll();
      m = ListModel{};
      break;
    case 10: {
      what = "AddHead(list)";
      std::vector<void*> values = Values(otherModel);
      const std::vector<void*> own = Values(m);
      values.insert(values.end(), own.begin(), own.end());
      list.AddHead(&other);
      Resync(list, m, values, what);
      break;
    }
    case 11: {
      what = "AddTail(list)";
      std::vector<void*> values = Values(m);
      const std::vector<void*> added = Values(otherModel);
      values.insert(values.end(), added.begin(), added.end());
      list.AddTail(&other);
      Resync(list, m, values, what);
      break;
    }
    case 12: {
      what = "copy constructor, operator=";
      const PtrListC copy(list);
      ListModel copyModel;
      Resync(copy, copyModel, Values(m), "copy constructor");
      list = other;
      if (!self) {
        m = ListModel{};
        Resync(list, m, Values(otherModel), what);
      }
      break;
    }
    default: {
      what = "move";
      PtrListC moved(std::move(list));
      Verify(moved, m, "move constructor");
      Verify(list, ListModel{}, "moved from");
      list = std::move(moved);
      break;
    }
  }
  Verify(lists[0], models[0], what);
  Verify(lists[1], models[1], what);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ByteReader in(data, size);
  // The first byte chooses the list block sizes (1 to 4 nodes).
  const std::uint8_t blocks = in.Byte();
  StringAC strings[2];
  StringModel stringModels[2];
  for (StringModel& m : stringModels) m.defaultIncrement = true;
  UIntArrayC uints[2];
  UIntModel uintModels[2];
  PtrListC lists[2] = {PtrListC(1 + (blocks & 3)), PtrListC(1 + ((blocks >> 2) & 3))};
  ListModel listModels[2];
  for (int n = 0; n < kMaxOperations && in.More(); ++n) {
    switch (in.Byte() % 3) {
      case 0:
        StringOperation(in, strings, stringModels);
        break;
      case 1:
        UIntOperation(in, uints, uintModels);
        break;
      default:
        ListOperation(in, lists, listModels);
        break;
    }
  }
  return 0;
}
