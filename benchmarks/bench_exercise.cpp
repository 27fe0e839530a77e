// Times the exercise-text operations that write once per character or line, on the window built over fakes, at a
// size and at twice that size: linear growth gives a ratio near 2.
#include "fakes/TestApp.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
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
    Form& ui = app.ui();

    report(out, "Doubler les espaces, characters", 20000, 0.3, [&](int n) {
        QString text;
        for (int i = 0; i < n; ++i)
            text += QChar(u'a' + i % 26);
        app.exercise().set(text);
        app.player.commands.clear();
        return seconds([&] { ui.doubleSpaces->trigger(); });
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
        app.exercise().set(QString());
        const double total = seconds([&] { ui.ouvrir->trigger(); });
        // The widget's one refresh at the end: laying out the whole text as one paragraph wrapped at 36 columns.
        const QString text = app.exercise().text();
        ui.Text2->setPlainText(QString());
        const double view = seconds([&] { ui.Text2->setPlainText(text); });
        out << "  " << n << " lines, " << text.size() << " characters: " << QString::number(view, 'f', 3)
            << " s of it is the widget's layout" << Qt::endl;
        return total;
    });

    // One line: the whole file is one paragraph of the view.
    report(out, "Ouvrir, one line of kB", 2500, 1.0, [&](int n) {
        const QString path = app.folder() + QStringLiteral("/oneline.txt");
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        const QByteArray group = QByteArray("abcde ");
        for (int i = 0; i < n * 1000 / 6; ++i)
            file.write(group);
        file.close();
        app.fileDialog.nextFile = path;
        app.exercise().set(QString());
        return seconds([&] {
            ui.ouvrir->trigger();
            QApplication::processEvents(); // shown
        });
    });

    report(out, "LETTRES, groups", 10000, 0.5, [&](int n) {
        app.exercise().set(QString());
        ui.Text3->setText(QString::number(n));
        app.player.commands.clear();
        return seconds([&] { ui.Command5->click(); });
    });
    return 0;
}
