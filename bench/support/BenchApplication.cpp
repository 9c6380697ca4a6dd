#include "bench/support/BenchApplication.h"

#include <QApplication>
#include <string>

namespace BenchSupport {

void EnsureApplication(const char* name) {
    if (QApplication::instance()) return;
    // The application keeps argc and argv for its whole life.
    static std::string program;
    program = name;
    static int argc = 1;
    static char* argv[] = {program.data(), nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    new QApplication(argc, argv);
}

}  // namespace BenchSupport
