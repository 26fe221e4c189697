// UIntArrayC and DblArrayC against std::vector: appending with a growth
// increment (against push_back into reserved room) and SetSize followed by
// SetAt (against resize and indexed stores).
#include <quarnbase/ScalarArrays.h>

#include <vector>

#include "BenchSupport.h"

namespace bench {
namespace {

constexpr int kCount = 100000;

// Registers the pairs of one array type; `Value` is its element type.
template <class Array, class Value>
void RegisterArrayPairs(const std::string& typeName) {
  // One block for the whole run on both sides: growBy covers every element.
  RegisterPair(
      "ArrayAdd", typeName + "/growby-all",
      [](benchmark::State& state) {
        for (auto _ : state) {
          Array a;
          a.SetSize(0, kCount);
          for (int i = 0; i < kCount; ++i) a.Add(static_cast<Value>(i));
          benchmark::DoNotOptimize(a.GetAt(kCount - 1));
        }
      },
      [](benchmark::State& state) {
        for (auto _ : state) {
          std::vector<Value> v;
          v.reserve(kCount);
          for (int i = 0; i < kCount; ++i) v.push_back(static_cast<Value>(i));
          benchmark::DoNotOptimize(v.back());
        }
      });
  // A fixed increment, as callers usually set it, against geometric growth.
  RegisterPair(
      "ArrayAdd", typeName + "/growby-4096-vs-no-reserve",
      [](benchmark::State& state) {
        for (auto _ : state) {
          Array a;
          a.SetSize(0, 4096);
          for (int i = 0; i < kCount; ++i) a.Add(static_cast<Value>(i));
          benchmark::DoNotOptimize(a.GetAt(kCount - 1));
        }
      },
      [](benchmark::State& state) {
        for (auto _ : state) {
          std::vector<Value> v;
          for (int i = 0; i < kCount; ++i) v.push_back(static_cast<Value>(i));
          benchmark::DoNotOptimize(v.back());
        }
      });
  RegisterPair(
      "ArraySetSize", typeName + "/then-set",
      [](benchmark::State& state) {
        for (auto _ : state) {
          Array a;
          a.SetSize(kCount);
          for (int i = 0; i < kCount; ++i) a.SetAt(i, static_cast<Value>(i));
          benchmark::DoNotOptimize(a.GetAt(kCount - 1));
        }
      },
      [](benchmark::State& state) {
        for (auto _ : state) {
          std::vector<Value> v;
          v.resize(kCount);
          for (int i = 0; i < kCount; ++i) v[i] = static_cast<Value>(i);
          benchmark::DoNotOptimize(v.back());
        }
      });
}

}  // namespace

void RegisterScalarArrayBenchmarks() {
  RegisterArrayPairs<UIntArrayC, unsigned int>("uint");
  RegisterArrayPairs<DblArrayC, double>("double");
}

}  // namespace bench
