// PlexC: creating blocks on a chain and releasing whole chains.
#include <quarnbase/PtrListC.h>

#include <new>

#include "Allocation.h"
#include "Checked.h"

PlexC* PlexC::Create(PlexC*& chainHead, unsigned int count, unsigned int elementSize) {
  // The size is computed and the block allocated before the head changes, so a
  // failure leaves the chain as it was.
  const std::size_t bytes = quarn::platform::CheckedBlockBytes(count, elementSize, sizeof(PlexC));
  PlexC* block = ::new (quarn::platform::AllocateBytes(bytes)) PlexC{chainHead, count, 0};
  chainHead = block;
  return block;
}

void PlexC::FreeDataChain(PlexC* head) noexcept {
  while (head != nullptr) {
    PlexC* older = head->next;
    quarn::platform::ReleaseBytes(head);
    head = older;
  }
}
