// Times the exercise-text operations that write once per character or line, on the window built over fakes, at a
// size and at twice that size: linear growth gives a ratio near 2.
#include "exercise/ExerciseController.h"
#include "fakes/TestApp.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextStream>

#include <functional>

namespace {

double seconds(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e9;
}

// Runs `measure` at size n and 2n and prints both times and their ratio against the goal in seconds.
void report(QTextStream& out, const char* what, int n, double goal, const std::function<double(int)>& measure)
{
    const double once = measure(n);
    const double twice = measure(2 * n);
    out << what << ": " << n << " -> " << QString::number(once, 'f', 3) << " s, " << 2 * n << " -> "
        << QString::number(twice, 'f', 3) << " s, growth x" << QString::number(twice / once, 'f', 2)
        << " (goal <= " << goal << " s at " << n << ")" << (once <= goal ? "" : "  TOO SLOW") << Qt::endl;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qapp(argc, argv);
    QTextStream out(stdout);
    TestApp app;
    AppContext& ctx = app.ctx();
    ExerciseController& ex = *ctx.exercises;

    report(out, "Doubler les espaces, characters", 20000, 0.3, [&](int n) {
        QString text;
        for (int i = 0; i < n; ++i)
            text += QChar(u'a' + i % 26);
        ctx.exercise.set(text);
        app.player.commands.clear();
        return seconds([&] { ex.doubleSpaces(); });
    });

    report(out, "Ouvrir, lines of 50 bytes", 20000, 0.5, [&](int n) {
        const QString path = app.folder() + QStringLiteral("/bench.txt");
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        // 48 characters of French prose and CR LF: about 1 MB for 20,000 lines.
        const QByteArray line = QByteArray("Le son se lit a l'oreille, mot apres mot, vite. ") + "\r\n";
        for (int i = 0; i < n; ++i)
            file.write(line);
        file.close();
        app.fileDialog.nextFile = path;
        app.player.commands.clear();
        ctx.exercise.set(QString());
        const double total = seconds([&] { ex.ouvrir(); });
        // The widget's one refresh at the end: laying out the whole text as one paragraph wrapped at 36 columns.
        const QString text = ctx.exercise.text();
        ctx.ui.Text2->setPlainText(QString());
        const double view = seconds([&] { ctx.ui.Text2->setPlainText(text); });
        out << "  " << n << " lines, " << text.size() << " characters: " << QString::number(view, 'f', 3)
            << " s of it is the widget's layout" << Qt::endl;
        return total;
    });

    report(out, "LETTRES, groups", 10000, 0.5, [&](int n) {
        ctx.exercise.set(QString());
        ctx.ui.Text3->setText(QString::number(n));
        app.player.commands.clear();
        return seconds([&] { ex.Command5Click(); });
    });
    return 0;
}
