// The yardstick of bench_first_paint: a minimal Qt window of the same kind as Tonique's (a menu bar with five menus
// and a text view), shown at once.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    for (const char* title : {"&Fichier", "&Exercices", "&Textes", "E&ntraînement", "&Aide"})
        window.menuBar()->addMenu(QString::fromUtf8(title))->addAction(QStringLiteral("&Quitter"));
    auto* text = new QPlainTextEdit(&window);
    text->setPlainText(QStringLiteral("VVV = CQ DE F8ABC"));
    window.setCentralWidget(text);
    window.resize(640, 480);
    window.show();
    return app.exec();
}
