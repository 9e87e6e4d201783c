// The package opened once per fuzzing process, before the first input, in a temporary working
// directory that is removed again when the process ends.
#include "fuzz_support.h"

#include <cstdio>
#include <cstdlib>

#include "platform/headless.h"
#include "support/files.h"

void fuzz_open_package() {
  headless_reset();
  easel_testing_reset();
  EASEL_open(nullptr, nullptr, const_cast<LPSTR>(""), SW_SHOWDEFAULT);
  EASEL_logging(0);
  EASEL_clear();
}

// Fontconfig keeps part of its configuration where the leak checker cannot see it until it is
// handed back at exit; the fuzzer checks for leaks after single inputs, long before that.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
  // Destroyed at exit, which removes it.
  static TemporaryDirectory work_directory("easel-fuzz");
  if (!work_directory.enter()) {
    std::perror("cannot make a working directory for the fuzzer");
    std::abort();
  }
  fuzz_open_package();
  EASEL_text(0, 0, 0, 12, "fuzz");
  EASEL_printf("fuzz\n");
  return 0;
}
