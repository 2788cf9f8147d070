#include "test_main.h"

#include <cstdio>

#ifdef CIFRANO_WIDGET_TESTS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

namespace cifrano::testing {
std::map<std::string, TestRunner>& Registry() {
    static std::map<std::string, TestRunner> registry;
    return registry;
}
}  // namespace cifrano::testing

int main(int argc, char** argv) {
    TestApplication app(argc, argv);
    const auto& registry = cifrano::testing::Registry();
    const auto test = argc > 1 ? registry.find(argv[1]) : registry.end();
    if (test == registry.end()) {
        std::fputs("Usage: <tests> <TestClass> [Qt Test options]\nClasses:\n", stderr);
        for (const auto& [name, run] : registry) std::fprintf(stderr, "  %s\n", name.c_str());
        return 2;
    }
    argv[1] = argv[0];
    return test->second(argc - 1, argv + 1);
}
