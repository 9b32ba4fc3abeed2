// The teardown probe compiled into every Windows test program (see teardown_probe.cpp). Under Wine an
// exception inside a DLL's process detach is swallowed and the program still exits 0, so the probe
// prints a last line only once every module of the build has finished its process detach, and reports
// every fault raised in the build's code. cmake/RunGTest.cmake requires that line.
#pragma once

namespace kqtest {

// The line printed after the last watched module's process detach at process exit.
constexpr const char* kTeardownMarker = "kqtest: teardown complete";

// Watches the modules loaded from the program's folder that are not watched yet. Called once before the
// tests start; a program that loads a module at run time calls it again once that module is loaded.
void WatchModuleTeardown();

} // namespace kqtest
