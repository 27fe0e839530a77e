// The window as a screen reader and a keyboard meet it: every control that takes input or acts has a name, Tab
// follows the order in which each view is read and never lands under a panel, and the changing values are told.
#include "TestMain.h"
#include "fakes/BuildFolder.h"
#include "fakes/TestApp.h"

#include <QAbstractSpinBox>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVariant>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

using namespace Qt::StringLiterals;

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

// Read by a screen reader on its own though Tab does not stop there: the editor of a list field, a scroll bar shown.
bool readAlone(const QWidget* w)
{
    return (qobject_cast<const QLineEdit*>(w) && qobject_cast<const QComboBox*>(w->parentWidget())) ||
           (qobject_cast<const QScrollBar*>(w) && w->isVisible());
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

// The real program on a display and a session bus of its own, with the accessibility bus that a screen reader reads
// (at-spi-bus-launcher and its registry, started by the session bus when the program asks for them).
class AtSpiSession
{
public:
    ~AtSpiSession()
    {
        for (QProcess* p : {&m_program, &m_display, &m_bus}) {
            p->terminate();
            if (!p->waitForFinished(3000))
                p->kill();
            p->waitForFinished(1000);
        }
    }

    // Empty when it is running; otherwise what is missing.
    QString start()
    {
        for (const char* tool : {"Xvfb", "dbus-daemon"}) {
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                return QString::fromLatin1(tool) + u" missing";
        }
        if (!QFile::exists(u"/usr/share/dbus-1/services/org.a11y.Bus.service"_s))
            return u"at-spi2-core missing"_s;
        const QString bus = firstLine(m_bus, u"dbus-daemon"_s, {u"--session"_s, u"--nofork"_s, u"--print-address"_s});
        const QString display =
            firstLine(m_display, u"Xvfb"_s, {u"-displayfd"_s, u"1"_s, u"-screen"_s, u"0"_s, u"1024x768x24"_s});
        if (bus.isEmpty() || display.isEmpty())
            return u"no session bus or display"_s;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* dir : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"})
            env.insert(QString::fromLatin1(dir), m_home.path());
        env.insert(u"DBUS_SESSION_BUS_ADDRESS"_s, bus);
        env.insert(u"DISPLAY"_s, u":"_s + display);
        env.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
        env.insert(u"QT_LINUX_ACCESSIBILITY_ALWAYS_ON"_s, u"1"_s);
        // Under the address sanitizer: the X keyboard library copies a keymap name with strndup past the name's end,
        // which only the strict string checks report; the program's own code stays fully checked.
        if (env.contains(u"ASAN_OPTIONS"_s))
            env.insert(u"ASAN_OPTIONS"_s, env.value(u"ASAN_OPTIONS"_s) + u":strict_string_checks=0"_s);
        m_program.setProcessEnvironment(env);
        m_program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_program.start(BuildFolder::file("tonique"), {});
        if (!m_program.waitForStarted())
            return u"the program does not start"_s;
        m_session = QDBusConnection::connectToBus(bus, u"session"_s);
        const QDBusMessage address = m_session.call(
            QDBusMessage::createMethodCall(u"org.a11y.Bus"_s, u"/org/a11y/bus"_s, u"org.a11y.Bus"_s, u"GetAddress"_s));
        if (address.type() != QDBusMessage::ReplyMessage)
            return u"no accessibility bus: "_s + address.errorMessage();
        m_a11y = QDBusConnection::connectToBus(address.arguments().value(0).toString(), u"a11y"_s);
        return m_a11y.isConnected() ? QString() : u"accessibility bus unreachable"_s;
    }

    struct Node
    {
        QString service, path;
    };
    QList<Node> children(const Node& node)
    {
        const QDBusMessage reply = call(node, u"org.a11y.atspi.Accessible"_s, u"GetChildren"_s);
        QList<Node> nodes;
        if (reply.type() != QDBusMessage::ReplyMessage)
            return nodes;
        const QDBusArgument list = reply.arguments().value(0).value<QDBusArgument>();
        list.beginArray();
        while (!list.atEnd()) {
            Node child;
            QDBusObjectPath path;
            list.beginStructure();
            list >> child.service >> path;
            list.endStructure();
            child.path = path.path();
            nodes << child;
        }
        list.endArray();
        return nodes;
    }
    QString roleName(const Node& node)
    {
        return call(node, u"org.a11y.atspi.Accessible"_s, u"GetRoleName"_s).arguments().value(0).toString();
    }
    QString name(const Node& node)
    {
        const QDBusMessage reply =
            call(node, u"org.freedesktop.DBus.Properties"_s, u"Get"_s, {u"org.a11y.atspi.Accessible"_s, u"Name"_s});
        return reply.arguments().value(0).value<QDBusVariant>().variant().toString();
    }
    bool showing(const Node& node)
    {
        QList<uint> states;
        const QDBusArgument words =
            call(node, u"org.a11y.atspi.Accessible"_s, u"GetState"_s).arguments().value(0).value<QDBusArgument>();
        words >> states;
        constexpr uint Showing = 1u << 25;
        return !states.isEmpty() && (states[0] & Showing);
    }

private:
    static QString firstLine(QProcess& process, const QString& program, const QStringList& arguments)
    {
        process.setProcessChannelMode(QProcess::SeparateChannels);
        process.setStandardErrorFile(QProcess::nullDevice());
        process.start(program, arguments);
        QElapsedTimer waited;
        waited.start();
        while (!process.canReadLine() && waited.elapsed() < 10000)
            process.waitForReadyRead(200);
        return QString::fromLocal8Bit(process.readLine()).trimmed();
    }
    QDBusMessage call(const Node& node, const QString& interface, const QString& method,
                      const QVariantList& arguments = {})
    {
        QDBusMessage message = QDBusMessage::createMethodCall(node.service, node.path, interface, method);
        message.setArguments(arguments);
        return m_a11y.call(message, QDBus::Block, 5000);
    }

    QTemporaryDir m_home;
    QProcess m_bus, m_display, m_program;
    QDBusConnection m_session{QString()};
    QDBusConnection m_a11y{QString()};
};

} // namespace

class TstAccessibility : public QObject
{
    Q_OBJECT

private slots:
    void everyControlHasAName()
    {
        TestApp app;
        app.ui().afff->trigger(); // the settings panel shown, over the exercise view
        openEveryWindow(app);
        QStringList unnamed;
        for (QWidget* top : QApplication::topLevelWidgets()) {
            QList<QWidget*> widgets = top->findChildren<QWidget*>();
            widgets.prepend(top);
            for (QWidget* w : widgets) {
                if (takesFocus(w) || qobject_cast<QAbstractButton*>(w) || readAlone(w)) {
                    if (QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name).trimmed().isEmpty())
                        unnamed << describe(w) +
                                       (w->parentWidget() ? u" in " + describe(w->parentWidget()) : QString());
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

    // The same through the bus a screen reader reads: the real window at start-up, every control shown that a user
    // reaches or reads on its own (fields, the editors inside the lists, lists, buttons, boxes, scroll bars) named.
    void atSpiTreeNamed()
    {
        AtSpiSession session;
        if (const QString missing = session.start(); !missing.isEmpty())
            QSKIP(qPrintable(u"no accessibility bus here: "_s + missing));
        const AtSpiSession::Node root{u"org.a11y.atspi.Registry"_s, u"/org/a11y/atspi/accessible/root"_s};
        // The program registers once its window is up; its window's controls come with it.
        QList<AtSpiSession::Node> pending;
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 30000) {
            pending = session.children(root);
            if (!pending.isEmpty() && !session.children(pending[0]).isEmpty())
                break;
            QThread::msleep(200);
        }
        QVERIFY2(!pending.isEmpty(), "the program never showed on the accessibility bus");
        QThread::msleep(1000); // the start-up exercise is prepared
        const QStringList named{u"push button"_s, u"check box"_s, u"text"_s,   u"entry"_s,       u"combo box"_s,
                                u"scroll bar"_s,  u"list"_s,      u"slider"_s, u"spin button"_s, u"toggle button"_s};
        QStringList unnamed, seen;
        while (!pending.isEmpty()) {
            const AtSpiSession::Node node = pending.takeFirst();
            if (!session.showing(node))
                continue;
            const QString role = session.roleName(node);
            seen << role;
            if (named.contains(role) && session.name(node).trimmed().isEmpty())
                unnamed << role + u" " + node.path;
            pending << session.children(node);
        }
        QVERIFY2(seen.contains(u"scroll bar"_s) && seen.count(u"text"_s) >= 5, qPrintable(seen.join(u", ")));
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

TONIQUE_TEST(TstAccessibility, Widgets)
#include "tst_accessibility.moc"
