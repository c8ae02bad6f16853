// The benchmarks' main. The browser starts on its public home page: the test environment keeps
// it on this machine.
#include <benchmark/benchmark.h>

#include "tests/support/test_environment.h"

int main(int argc, char** argv) {
  BrovisTest::KeepToTheTestMachine();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
