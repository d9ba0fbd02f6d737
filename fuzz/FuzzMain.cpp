// The libFuzzer program of one harness; VEXOR_FUZZ_HARNESS names it when the program is built.
#include <cstddef>
#include <cstdint>

#include "Harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const vexor::fuzz::Harness* harness = vexor::fuzz::FindHarness(VEXOR_FUZZ_HARNESS);
  if (harness == nullptr) __builtin_trap();
  harness->run(data, size);
  return 0;
}
