#pragma once

#include <QTest>

// The tests of a folder share one executable (one link per folder rather than per file): each file
// registers its test class under its own name, the file's name without its extension, and the executable runs the
// one named by its first argument, the rest going to QTest (`tests_sound tst_conditions -v2`). A class's static
// initMain(), if it has one, runs before the application is made, as with QTEST_MAIN.
namespace TestMain {
// What the test needs around it, as QTEST_APPLESS_MAIN, QTEST_GUILESS_MAIN and QTEST_MAIN give it.
enum class App
{
    None,
    Core,
    Widgets
};
using Before = void (*)();
using Run = int (*)(int argc, char** argv);
int add(const char* file, App app, Before before, Run run);

template <class TestObject> void before()
{
    if constexpr (requires { TestObject::initMain(); })
        TestObject::initMain();
}
} // namespace TestMain

#define TONIQUE_TEST(TestObject, app)                                                                                  \
    [[maybe_unused]] static const int toniqueTestRegistered =                                                          \
        TestMain::add(__FILE__, TestMain::App::app, &TestMain::before<TestObject>, [](int argc, char** argv) {         \
            TestObject test;                                                                                           \
            QTest::setMainSourcePath(__FILE__);                                                                        \
            return QTest::qExec(&test, argc, argv);                                                                    \
        });
