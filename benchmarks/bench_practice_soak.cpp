// Soak of the practice handlers on fakes: 10,000 drill rounds, then 10,000 typed characters, printing the
// process's resident memory (VmRSS, kB) along the way and the time per round.
#include "fakes/TestApp.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTextStream>
#include <QTimer>

#include <algorithm>

namespace {

qint64 residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

void report(const char* stage, qint64 kb)
{
    QTextStream(stdout) << stage << ": VmRSS " << kb << " kB\n";
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    // Rounds and typed characters: 10,000, or the number given as the first argument.
    const int Rounds = argc > 1 ? std::max(1000, QString::fromLocal8Bit(argv[1]).toInt()) : 10000;

    TestApp app;
    Form& ui = app.ui();
    report("start", residentKb());

    // Drill: the character sounds, its end notice starts the counter, 23 ticks pass, the right key is typed, and
    // the next character follows inside the answer check.
    QElapsedTimer clock;
    clock.start();
    ui.Clavier->trigger();
    qint64 afterWarmUp = 0;
    for (int round = 1; round <= Rounds; ++round) {
        app.player.finish();
        app.player.commands.clear(); // the fake's own log would otherwise grow by 4 entries a round
        for (int tick = 0; tick < 23; ++tick)
            app.tick(ui.Timer3);
        ui.Text17->setText(app.exercise().text());
        if (round == 1000)
            afterWarmUp = residentKb();
    }
    const double drillMs = double(clock.elapsed()) / Rounds;
    const qint64 afterDrill = residentKb();
    report("drill, after 1000 rounds", afterWarmUp);
    report("drill, at the end", afterDrill);
    QTextStream(stdout) << "drill: " << ui.Combo2->count() << " ranked items, " << drillMs << " ms per round\n";

    // Typed characters: 10,000 pasted at once, one per tick, each ended by the player's notice.
    ui.Command11->click();
    QString pasted;
    for (int i = 0; i < Rounds; ++i)
        pasted += QChar(u'a' + i % 26);
    ui.Text26->setText(pasted);
    clock.restart();
    int played = 0;
    qint64 typedWarm = 0;
    while (!ui.Text26->text().isEmpty()) {
        app.tick(ui.Timer2);
        app.player.finish();
        app.player.commands.clear();
        if (++played == 1000)
            typedWarm = residentKb();
    }
    ui.Timer2->stop();
    ui.Timer3->stop();
    const double typedMs = double(clock.elapsed()) / played;
    const qint64 afterTyped = residentKb();
    report("typed, after 1000 characters", typedWarm);
    report("typed, at the end", afterTyped);
    QTextStream(stdout) << "typed: " << played << " characters, " << typedMs << " ms per character\n";
    return 0;
}
