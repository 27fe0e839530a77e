// "Préparer La Musique" in the window (on fakes, offscreen) on the exam exercise that start-up prepares.

#include "fakes/TestApp.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qapp(argc, argv);
    TestApp app;
    std::vector<double> ms;
    for (int i = 0; i < 21; ++i) {
        QElapsedTimer t;
        t.start();
        app.ui().Command3->click();
        ms.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("Préparer La Musique, exam exercise (%lld characters, %lld ms of sound): median %.3f ms, "
                "min %.3f ms, max %.3f ms over %zu runs\n",
                static_cast<long long>(app.exercise().text().size()), static_cast<long long>(app.player.length),
                ms[ms.size() / 2], ms.front(), ms.back(), ms.size());
    return 0;
}
