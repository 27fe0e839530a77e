// What the desktop's screen reader finds when Tonique announces something: one notification per window, named with
// the latest text and shown anew, which is what makes a screen reader speak it wherever the focus is.
#include "TestMain.h"
#include "platform/QtScreenReader.h"

#include <QAccessible>
#include <QEvent>
#include <QLabel>
#include <QTest>
#include <QVBoxLayout>

class TstQtScreenReader : public QObject
{
    Q_OBJECT

private slots:
    void announcementIsANotificationShownAnew()
    {
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* result = new QLabel(&window);
        auto* other = new QLabel(&window);
        layout->addWidget(result);
        layout->addWidget(other);
        window.show();
        QtScreenReader reader;
        reader.announce(result, QStringLiteral("0250 e"));

        QWidget* line = window.findChild<QWidget*>(QStringLiteral("annonce"));
        QVERIFY(line);
        int shows = 0;
        struct ShowCounter : QObject
        {
            int* count;
            explicit ShowCounter(int* c) : count(c) {}
            bool eventFilter(QObject*, QEvent* e) override
            {
                *count += e->type() == QEvent::Show;
                return false;
            }
        } counter(&shows);
        line->installEventFilter(&counter);
        reader.announce(other, QStringLiteral("5 erreurs sur 5 caractères (0,0 %) — Refusé"));

        QCOMPARE(window.findChildren<QWidget*>(QStringLiteral("annonce")).size(), 1);
        QCOMPARE(shows, 1);
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(line);
        QCOMPARE(iface->role(), QAccessible::Notification);
        QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("5 erreurs sur 5 caractères (0,0 %) — Refusé"));
        QVERIFY(line->isVisible());
        QVERIFY(!(line->focusPolicy() & Qt::TabFocus));
    }
};

TONIQUE_TEST(TstQtScreenReader, Widgets)
#include "tst_qtscreenreader.moc"
