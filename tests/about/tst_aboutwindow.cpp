#include "TestMain.h"
#include "fakes/TestApp.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

class TestAboutWindow : public QObject
{
    Q_OBJECT

private slots:
    // Its texts, not modal, one at a time, no tool away from Windows; OK unloads it.
    void aboutWindow()
    {
        TestApp app;
        app.ui().apropos->trigger();
        auto* about = qobject_cast<QDialog*>(TestApp::aboutWindow());
        QVERIFY(about && about->isVisible() && !about->isModal());
        QCOMPARE(about->windowTitle(), "À propos de Tonique");
        QCOMPARE(about->findChild<QLabel*>("lblTitle")->text(), "Tonique");
        QCOMPARE(about->findChild<QLabel*>("lblVersion")->text(), "Version 2.0.1");
        QCOMPARE(about->findChild<QLabel*>("lblDescription")->text(),
                 "Logiciel destiné à l'aprentissage de la télégraphie.");
        app.ui().apropos->trigger();
        QCOMPARE(TestApp::aboutWindow(), about);

        QCOMPARE(about->findChild<QPushButton*>("cmdSysInfo")->text(), "&Infos système...");

        auto* ok = about->findChild<QPushButton*>("cmdOK");
        QVERIFY(ok->isDefault());
        ok->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!TestApp::aboutWindow());
    }

    // The About window is a window of its own: closing the main window leaves it, and the program, running; the
    // program ends when it is closed too, by its OK button.
    void outlivesMainWindow()
    {
        TestApp app;
        app.ui().apropos->trigger();
        QPointer<QWidget> about = TestApp::aboutWindow();
        bool aboutOpenAfterMainClosed = false;
        QTimer::singleShot(0, [&] {
            app.window->close();
            QTimer::singleShot(0, [&] {
                aboutOpenAfterMainClosed = about && about->isVisible();
                if (about)
                    about->findChild<QPushButton*>("cmdOK")->click();
            });
        });
        QTimer::singleShot(5000, qApp, &QCoreApplication::quit); // in case nothing ends the program
        QElapsedTimer clock;
        clock.start();
        QApplication::exec();
        QVERIFY(aboutOpenAfterMainClosed);
        QVERIFY(clock.elapsed() < 4000);
    }
};

TONIQUE_TEST(TestAboutWindow, Widgets)
#include "tst_aboutwindow.moc"
