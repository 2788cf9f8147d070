#pragma once
// The test classes of a group of folders share one executable (one link per
// group); its first argument names the class to run.
#include <QTest>
#include <functional>
#include <map>
#include <string>

namespace cifrano::testing {

using TestRunner = std::function<int(int argc, char** argv)>;
std::map<std::string, TestRunner>& Registry();

template <class T>
bool Register(const char* name) {
    Registry()[name] = [](int argc, char** argv) {
        T test;
        return QTest::qExec(&test, argc, argv);
    };
    return true;
}

}  // namespace cifrano::testing

#define CIFRANO_TEST_MAIN(Class) \
    static const bool cifranoRegistered##Class = cifrano::testing::Register<Class>(#Class);
