#include "about/AboutController.h"
#include "fakes/TestApp.h"

#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>

class TestAboutWindow : public QObject
{
    Q_OBJECT

private slots:
    // Its texts, not modal, one at a time, no tool away from Windows; OK unloads it.
    void aboutWindow()
    {
        TestApp app;
        app.ui().apropos->trigger();
        auto* about = qobject_cast<QDialog*>(app.ctx().about->window());
        QVERIFY(about && about->isVisible() && !about->isModal());
        QCOMPARE(about->windowTitle(), "À propos de Tonique");
        QCOMPARE(about->findChild<QLabel*>("lblTitle")->text(), "Tonique");
        QCOMPARE(about->findChild<QLabel*>("lblVersion")->text(), "Version 2.0.1");
        QCOMPARE(about->findChild<QLabel*>("lblDescription")->text(),
                 "Logiciel destiné à l'aprentissage de la télégraphie.");
        app.ui().apropos->trigger();
        QCOMPARE(app.ctx().about->window(), about);

        auto* sysInfo = about->findChild<QPushButton*>("cmdSysInfo");
        QCOMPARE(sysInfo->text(), "&Infos système...");
        sysInfo->click();
#ifndef Q_OS_WIN
        QVERIFY(app.launcher.started.isEmpty());
        QCOMPARE(app.messages.informations,
                 QStringList{"Les informations système ne sont pas disponibles actuellement"});
#endif
        QVERIFY(about->isVisible());

        auto* ok = about->findChild<QPushButton*>("cmdOK");
        QVERIFY(ok->isDefault());
        ok->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!app.ctx().about->window());
    }
};

QTEST_MAIN(TestAboutWindow)
#include "tst_aboutwindow.moc"
