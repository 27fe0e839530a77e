// The window as a screen reader and a keyboard meet it: every control that takes input or acts has a name, Tab
// follows the order in which each view is read and never lands under a panel, and the changing values are told.
#include "fakes/TestApp.h"

#include <QAbstractSpinBox>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

namespace {

// A control of its own that Tab can reach; the editor inside a list field or a spin box is part of it.
bool takesFocus(const QWidget* w)
{
    if (w->isWindow() || !(w->focusPolicy() & Qt::TabFocus) || w->focusProxy())
        return false;
    const QWidget* parent = w->parentWidget();
    return !qobject_cast<const QComboBox*>(parent) && !qobject_cast<const QAbstractSpinBox*>(parent) &&
           w->window()->windowType() != Qt::Popup;
}

QString describe(const QObject* o)
{
    return o->objectName().isEmpty() ? QString::fromLatin1(o->metaObject()->className()) : o->objectName();
}

// Every window the program has built, with what its menus open: the training menu's windows, About.
void openEveryWindow(TestApp& app)
{
    for (QAction* item : app.ui().entrainement->actions()) {
        if (!item->isCheckable())
            item->trigger();
    }
    app.ui().apropos->trigger();
}

// The controls Tab goes through from `view`'s first one, in order, once round.
QList<QWidget*> tabChain(QWidget* window)
{
    QList<QWidget*> chain;
    QWidget* w = window;
    do {
        if (takesFocus(w) && w->isVisible() && w->isEnabled())
            chain << w;
        w = w->nextInFocusChain();
    } while (w != window);
    return chain;
}

} // namespace

class TstAccessibility : public QObject
{
    Q_OBJECT

private slots:
    void everyControlHasAName()
    {
        TestApp app;
        openEveryWindow(app);
        QStringList unnamed;
        for (QWidget* top : QApplication::topLevelWidgets()) {
            QList<QWidget*> widgets = top->findChildren<QWidget*>();
            widgets.prepend(top);
            for (QWidget* w : widgets) {
                if (takesFocus(w) || qobject_cast<QAbstractButton*>(w)) {
                    if (QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name).trimmed().isEmpty())
                        unnamed << describe(w);
                }
                if (qobject_cast<QMenu*>(w) || qobject_cast<QMenuBar*>(w)) {
                    for (QAction* a : w->actions()) {
                        if (!a->isSeparator() && a->text().remove(u'&').trimmed().isEmpty())
                            unnamed << describe(a);
                    }
                }
            }
        }
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(u", ")));
    }

    // Tab goes along each row from left to right, then down; a column to the right of all that came before is read
    // after them. Nothing beneath a panel is reached while it is shown.
    void tabFollowsReadingOrder_data()
    {
        QTest::addColumn<QString>("view");
        QTest::newRow("exercise view") << "exerciseView";
        QTest::newRow("settings panel") << "Frame1";
        QTest::newRow("drill panel") << "Frame2";
        QTest::newRow("band conditions") << "frmConditions";
        QTest::newRow("about") << "frmAbout";
        QTest::newRow("copy marking") << "Correction";
        QTest::newRow("progress") << "Progres";
    }
    void tabFollowsReadingOrder()
    {
        QFETCH(QString, view);
        TestApp app;
        Form& ui = app.ui();
        if (view == u"Frame1")
            ui.afff->trigger();
        else if (view == u"Frame2")
            ui.Clavier->trigger();
        else if (view != u"exerciseView")
            openEveryWindow(app);
        QWidget* container = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets())
            container = container ? container : (top->objectName() == view ? top : top->findChild<QWidget*>(view));
        QVERIFY(container && container->isVisible());

        const QList<QWidget*> chain = tabChain(container->window());
        QList<QWidget*> inView;
        for (QWidget* w : chain) {
            QVERIFY2(container->isAncestorOf(w) || w == container || ui.window->menuBar()->isAncestorOf(w),
                     qPrintable(describe(w) + u" reached outside " + view));
            if (container->isAncestorOf(w))
                inView << w;
        }
        QVERIFY(inView.size() >= 2);
        int rightmost = INT_MIN;
        QRect previous;
        for (QWidget* w : inView) {
            const QRect r(w->mapTo(container, QPoint(0, 0)), w->size());
            if (!previous.isNull() && r.left() < rightmost) {
                const int overlap = std::min(r.bottom(), previous.bottom()) - std::max(r.top(), previous.top());
                const bool sameRow = overlap >= std::min(r.height(), previous.height()) / 2;
                QVERIFY2(sameRow ? r.left() > previous.left() : r.center().y() > previous.center().y(),
                         qPrintable(describe(w) + u" after a control read later"));
            }
            rightmost = std::max(rightmost, r.right());
            previous = r;
        }
    }

    // What changes on its own is told to the screen reader, with the text now shown.
    void changesAreTold_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<bool>("spoken"); // at once, wherever the focus is; otherwise read when the user is on it
        // The drilled character is played in Morse: speaking it would give the answer away.
        QTest::newRow("count-down") << "Text25" << false;
        QTest::newRow("drilled character") << "Label19" << false;
        QTest::newRow("drill result") << "Combo2" << true;
        QTest::newRow("marking verdict") << "resultat" << true;
    }
    void changesAreTold()
    {
        QFETCH(QString, control);
        TestApp app;
        Form& ui = app.ui();
        QString shown;
        if (control == u"resultat") {
            app.exercise().set(QStringLiteral("PARIS"));
            ui.Command3->click();
            app.find<QAction>(QStringLiteral("corrigerCopie"))->trigger();
            QWidget* marking = nullptr;
            for (QWidget* top : QApplication::topLevelWidgets())
                marking = top->objectName() == u"Correction" ? top : marking;
            QVERIFY(marking);
            marking->findChild<QPushButton*>(QStringLiteral("corriger"))->click();
            shown = marking->findChild<QLabel*>(control)->text();
            QVERIFY(!shown.isEmpty());
        } else if (control == u"Text25") {
            app.player.length = 125300;
            app.pressPlay();
            app.player.tick();
            app.player.tick();
            shown = ui.Text25->text();
        } else {
            ui.Clavier->trigger();
            shown = ui.Label19->text();
            if (control == u"Combo2") {
                // A slow answer, then a fast one: the list shows the slow one, the fast one is told.
                TestApp::tick(ui.Timer3);
                QTest::keyClicks(ui.Text17, app.exercise().text());
                QTest::keyClicks(ui.Text17, app.exercise().text());
                shown = ui.Combo2->itemText(0);
                QVERIFY(shown.startsWith(u"0000 "));
            }
        }
        QFETCH(bool, spoken);
        const auto& heard = spoken ? app.screenReader.spoken : app.screenReader.told;
        QVERIFY2(heard.contains(std::pair(control, shown)),
                 qPrintable(control + u" changed to « " + shown + u" » unheard"));
    }
};

QTEST_MAIN(TstAccessibility)
#include "tst_accessibility.moc"
