//===- quarnbase/internal/RecordLayout.h - Record layout checks --*- C++ -*-===//
// Not part of the interface. A record whose layout clients depend on has its
// layout checked right after its class, in its public header, by a
// specialisation of RecordLayout that the class befriends, so that the checks
// can name fields that are not public.
//===----------------------------------------------------------------------===//
#ifndef QUARNBASE_INTERNAL_RECORDLAYOUT_H
#define QUARNBASE_INTERNAL_RECORDLAYOUT_H

namespace quarn {
namespace detail {

/// The layout checks of `Record` (static_asserts only).
template <class Record>
struct RecordLayout;

}  // namespace detail
}  // namespace quarn

#endif  // QUARNBASE_INTERNAL_RECORDLAYOUT_H
