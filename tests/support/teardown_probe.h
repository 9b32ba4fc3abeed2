// In every Windows test program: Wine swallows an exception in a DLL's process detach and exits 0, so the
// probe prints this last line (which cmake/RunGTest.cmake requires) only once every module of the build
// has finished its detach.
#pragma once

namespace kqtest {

constexpr const char* kTeardownMarker = "kqtest: teardown complete";

// Watches the build's modules not watched yet: again after loading one at run time.
void WatchModuleTeardown();

} // namespace kqtest
