// The quarnbase benchmark program: registers every pair, then hands over to
// Google Benchmark (which takes its usual --benchmark_* options).
#include "BenchSupport.h"

int main(int argc, char** argv) {
  bench::RegisterStringBenchmarks();
  bench::RegisterMetaBenchmarks();
  bench::RegisterStringArrayBenchmarks();
  bench::RegisterScalarArrayBenchmarks();
  bench::RegisterPtrListBenchmarks();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
