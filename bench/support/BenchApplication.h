#pragma once
// The widgets under measurement need an application, and the benchmark library owns main().

namespace BenchSupport {

// Creates the one QApplication, named `name`, unless there already is one. Without a chosen
// platform it runs offscreen, so benchmarks need no display.
void EnsureApplication(const char* name);

}  // namespace BenchSupport
