// BenchSupport.h - shared helpers of the quarnbase benchmark program.
//
// Every measurement is registered as a pair named BM_<Group>/<case>/quarn and
// BM_<Group>/<case>/peer, so that scripts/bench-table.py can set the library's
// time against the time of the standard-library (or C-library) peer.
#ifndef QUARNBASE_BENCH_BENCHSUPPORT_H
#define QUARNBASE_BENCH_BENCHSUPPORT_H

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <utility>

namespace bench {

/// Registers `quarn` and `peer` as one side-by-side pair; returns both
/// registrations so that callers can set units or iteration counts on them.
template <class Quarn, class Peer>
std::pair<benchmark::internal::Benchmark*, benchmark::internal::Benchmark*> RegisterPair(
    const std::string& group, const std::string& caseName, Quarn&& quarn, Peer&& peer) {
  const std::string stem = "BM_" + group + "/" + caseName + "/";
  auto* q = benchmark::RegisterBenchmark((stem + "quarn").c_str(), std::forward<Quarn>(quarn));
  auto* p = benchmark::RegisterBenchmark((stem + "peer").c_str(), std::forward<Peer>(peer));
  return {q, p};
}

/// A small deterministic generator (xorshift64*), so that every run and both
/// sides of a pair see the same data.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state(seed != 0 ? seed : 1) {}
  std::uint64_t Next() {
    state ^= state >> 12;
    state ^= state << 25;
    state ^= state >> 27;
    return state * 0x2545F4914F6CDD1DULL;
  }
  /// A value in [0, bound).
  unsigned int Below(unsigned int bound) { return static_cast<unsigned int>(Next() % bound); }
  /// `length` random lowercase letters.
  std::string Letters(std::size_t length) {
    std::string text(length, 'a');
    for (char& c : text) c = static_cast<char>('a' + Below(26));
    return text;
  }

 private:
  std::uint64_t state;
};

// Each file of the program registers its group of pairs.
void RegisterStringBenchmarks();
void RegisterMetaBenchmarks();
void RegisterStringArrayBenchmarks();
void RegisterScalarArrayBenchmarks();
void RegisterPtrListBenchmarks();

}  // namespace bench

#endif  // QUARNBASE_BENCH_BENCHSUPPORT_H
