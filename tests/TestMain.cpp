#include "TestMain.h"

#include <QApplication>
#include <QCoreApplication>

#include <cstdio>
#include <map>
#include <string>

namespace {
struct Entry
{
    TestMain::App app;
    TestMain::Before before;
    TestMain::Run run;
};

std::map<std::string, Entry>& registry()
{
    static std::map<std::string, Entry> tests;
    return tests;
}

std::string nameOf(const std::string& file)
{
    const auto slash = file.find_last_of("/\\");
    const std::string base = slash == std::string::npos ? file : file.substr(slash + 1);
    return base.substr(0, base.find('.'));
}

int run(const Entry& entry, int argc, char** argv)
{
    entry.before();
    switch (entry.app) {
    case TestMain::App::None:
        return entry.run(argc, argv);
    case TestMain::App::Core: {
        QCoreApplication app(argc, argv);
        QCoreApplication::setAttribute(Qt::AA_Use96Dpi, true);
        return entry.run(argc, argv);
    }
    case TestMain::App::Widgets: {
        QApplication app(argc, argv);
        QCoreApplication::setAttribute(Qt::AA_Use96Dpi, true);
        return entry.run(argc, argv);
    }
    }
    return 1;
}
} // namespace

int TestMain::add(const char* file, App app, Before before, Run run)
{
    registry()[nameOf(file)] = {app, before, run};
    return 0;
}

int main(int argc, char** argv)
{
    const auto found = argc > 1 ? registry().find(argv[1]) : registry().end();
    if (found == registry().end()) {
        std::fprintf(stderr, "Usage: %s TEST [QTest options]\nTests:\n", argv[0]);
        for (const auto& test : registry())
            std::fprintf(stderr, "  %s\n", test.first.c_str());
        return 2;
    }
    // The test sees the executable's name first, then its own options.
    argv[1] = argv[0];
    return run(found->second, argc - 1, argv + 1);
}
