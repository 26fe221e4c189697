// PtrListC: copying, clearing, bulk insertion, searches and block refills.
#include <quarnbase/PtrListC.h>

#include <new>
#include <utility>

#include "Checked.h"

PtrListC::PtrListC(const PtrListC& other) : PtrListC(other.blockSize) {
  // The delegated constructor has finished, so a failure here runs the
  // destructor and releases the blocks taken so far.
  AddTail(&other);
}

PtrListC::PtrListC(PtrListC&& other) noexcept : PtrListC(other.blockSize) { SwapNodes(other); }

PtrListC& PtrListC::operator=(const PtrListC& other) {
  if (this != &other) {
    PtrListC copy(blockSize);
    copy.AddTail(&other);
    SwapNodes(copy);  // the old nodes and blocks leave with `copy`
  }
  return *this;
}

PtrListC& PtrListC::operator=(PtrListC&& other) noexcept {
  if (this != &other) {
    RemoveAll();
    SwapNodes(other);
    blockSize = other.blockSize;  // the adopted blocks hold other's block size
  }
  return *this;
}

PtrListC::~PtrListC() { RemoveAll(); }

void PtrListC::AddHead(const PtrListC* other) {
  assert(other != nullptr && "AddHead of a null list");
  // Walking a fixed number of steps from the tail visits exactly the elements
  // `other` had at the start, even when `other` is this list and grows in front.
  const CNode* node = other->tail;
  for (int left = other->count; left > 0; --left) {
    void* value = node->data;
    node = node->prev;
    AddHead(value);
  }
}

void PtrListC::AddTail(const PtrListC* other) {
  assert(other != nullptr && "AddTail of a null list");
  // As in AddHead: a fixed number of steps, so a list can append itself.
  const CNode* node = other->head;
  for (int left = other->count; left > 0; --left) {
    void* value = node->data;
    node = node->next;
    AddTail(value);
  }
}

void PtrListC::RemoveAll() {
  head = nullptr;
  tail = nullptr;
  count = 0;
  freeList = nullptr;
  PlexC::FreeDataChain(blocks);
  blocks = nullptr;
}

POSITION PtrListC::FindIndex(int index) const {
  if (index < 0 || index >= count) return nullptr;
  CNode* node = head;
  for (; index > 0; --index) node = node->next;
  return PositionOf(node);
}

POSITION PtrListC::Find(void* value, POSITION startAfter) const {
  CNode* node = startAfter != nullptr ? NodeAt(startAfter)->next : head;
  while (node != nullptr && node->data != value) node = node->next;
  return PositionOf(node);
}

void PtrListC::GrowFreeList() {
  assert(freeList == nullptr && "refill of a non-empty free list");
  // With the free list empty every node is in use, so `count` is the number of
  // nodes in all blocks; one more block must not let the count overflow.
  quarn::platform::CheckedCountSum(count, blockSize);
  PlexC* block = PlexC::Create(blocks, static_cast<unsigned int>(blockSize), sizeof(CNode));
  // Push from the last node to the first, so the lowest address ends on top.
  char* area = static_cast<char*>(block->data());
  for (int i = blockSize - 1; i >= 0; --i) {
    void* slot = area + quarn::platform::ElementBytes<CNode>(i);
    freeList = ::new (slot) CNode{freeList, nullptr, nullptr};
  }
}

void PtrListC::SwapNodes(PtrListC& other) noexcept {
  std::swap(head, other.head);
  std::swap(tail, other.tail);
  std::swap(count, other.count);
  std::swap(freeList, other.freeList);
  std::swap(blocks, other.blocks);
}
