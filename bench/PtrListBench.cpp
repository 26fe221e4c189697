// PtrListC against std::list<void*>: queue churn (AddTail/RemoveHead), a full
// walk, and insertion after a node in the middle.
#include <quarnbase/PtrListC.h>

#include <cstdint>
#include <iterator>
#include <list>

#include "BenchSupport.h"

namespace bench {
namespace {

constexpr int kQueueLength = 1000;
constexpr int kWalkLength = 100000;
constexpr int kInserts = 1000;

void* Item(std::intptr_t i) { return reinterpret_cast<void*>(i); }

}  // namespace

void RegisterPtrListBenchmarks() {
  // A queue held at kQueueLength elements: each operation adds one and removes one.
  RegisterPair(
      "ListChurn", "steady-queue",
      [](benchmark::State& state) {
        PtrListC list;
        for (int i = 0; i < kQueueLength; ++i) list.AddTail(Item(i));
        std::intptr_t i = 0;
        for (auto _ : state) {
          list.AddTail(Item(++i));
          benchmark::DoNotOptimize(list.RemoveHead());
        }
      },
      [](benchmark::State& state) {
        std::list<void*> list;
        for (int i = 0; i < kQueueLength; ++i) list.push_back(Item(i));
        std::intptr_t i = 0;
        for (auto _ : state) {
          list.push_back(Item(++i));
          benchmark::DoNotOptimize(list.front());
          list.pop_front();
        }
      });
  // A list that fills to kQueueLength and drains again, over and over.
  RegisterPair(
      "ListChurn", "fill-drain",
      [](benchmark::State& state) {
        PtrListC list;
        for (auto _ : state) {
          for (int i = 0; i < kQueueLength; ++i) list.AddTail(Item(i));
          while (!list.IsEmpty()) benchmark::DoNotOptimize(list.RemoveHead());
        }
      },
      [](benchmark::State& state) {
        std::list<void*> list;
        for (auto _ : state) {
          for (int i = 0; i < kQueueLength; ++i) list.push_back(Item(i));
          while (!list.empty()) {
            benchmark::DoNotOptimize(list.front());
            list.pop_front();
          }
        }
      });
  RegisterPair(
      "ListWalk", "100k",
      [](benchmark::State& state) {
        PtrListC list;
        for (int i = 0; i < kWalkLength; ++i) list.AddTail(Item(i));
        for (auto _ : state) {
          std::uintptr_t sum = 0;
          for (POSITION p = list.GetHeadPosition(); p != nullptr;) {
            sum += reinterpret_cast<std::uintptr_t>(list.GetNext(p));
          }
          benchmark::DoNotOptimize(sum);
        }
      },
      [](benchmark::State& state) {
        std::list<void*> list;
        for (int i = 0; i < kWalkLength; ++i) list.push_back(Item(i));
        for (auto _ : state) {
          std::uintptr_t sum = 0;
          for (void* value : list) sum += reinterpret_cast<std::uintptr_t>(value);
          benchmark::DoNotOptimize(sum);
        }
      });
  // kInserts insertions after the middle node of a 1000-element list, then
  // their removal, so that every iteration starts from the same list.
  RegisterPair(
      "ListInsertAfter", "middle-insert-then-remove",
      [](benchmark::State& state) {
        PtrListC list;
        for (int i = 0; i < kQueueLength; ++i) list.AddTail(Item(i));
        const POSITION middle = list.FindIndex(kQueueLength / 2);
        for (auto _ : state) {
          for (int i = 0; i < kInserts; ++i) list.InsertAfter(middle, Item(i));
          for (int i = 0; i < kInserts; ++i) {
            POSITION next = middle;
            list.GetNext(next);
            list.RemoveAt(next);
          }
        }
      },
      [](benchmark::State& state) {
        std::list<void*> list;
        for (int i = 0; i < kQueueLength; ++i) list.push_back(Item(i));
        const auto middle = std::next(list.begin(), kQueueLength / 2);
        for (auto _ : state) {
          for (int i = 0; i < kInserts; ++i) list.insert(std::next(middle), Item(i));
          for (int i = 0; i < kInserts; ++i) list.erase(std::next(middle));
        }
      });
}

}  // namespace bench
