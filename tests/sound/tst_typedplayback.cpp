#include "fakes/TestApp.h"
#include "sound/TypedPlayback.h"

#include <QLineEdit>
#include <QTest>
#include <QTimer>

class TestTypedPlayback : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestApp> m_app;

    void tick() { m_app->ctx().typed->PlayTypedCharacter(); }
    bool playing() const { return m_app->ui().Text25->isVisibleTo(m_app->ui().Text25->parentWidget()); }

private slots:
    void init() { m_app = std::make_unique<TestApp>(); }
    void cleanup() { m_app.reset(); }

    // "ab": one character per tick, the next only after the end notice; the marks back in their fields.
    void queueWaitsForTheEnd()
    {
        Form& ui = m_app->ui();
        ui.Text26->setText(QStringLiteral("ab"));
        tick();
        QCOMPARE(m_app->ctx().exercise.text(), "a");
        QCOMPARE(ui.Text26->text(), "b");
        QVERIFY(playing() && ui.Timer2->isActive() && m_app->player.isPlaying());
        QCOMPARE(ui.Text9->text() + ui.Text4->text(), "VVV+");
        tick();
        QCOMPARE(ui.Text26->text(), "b");
        m_app->player.finish();
        tick();
        QCOMPARE(m_app->ctx().exercise.text(), "b");
        QCOMPARE(m_app->player.commands.count("Play"), 2);
    }

    // Silent characters still end their playback, so the queue goes on; upper case sounds like lower case.
    void sounds_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("sounds");
        QTest::newRow("upper case") << "A" << true;
        QTest::newRow("space") << " " << false;
        QTest::newRow("missing from the sign table") << "#" << false;
    }
    void sounds()
    {
        QFETCH(QString, typed);
        QFETCH(bool, sounds);
        m_app->ui().Text26->setText(typed + typed.toLower() + u'x');
        tick();
        const qint64 length = m_app->player.lengthMs();
        QCOMPARE(length > 0, sounds);
        m_app->player.finish();
        tick();
        QCOMPARE(m_app->player.lengthMs(), length);
        m_app->player.finish();
        tick();
        QCOMPARE(m_app->ctx().exercise.text(), "x");
    }

    // 10,000 characters pasted leave one by one, the caret at 500 (the soak benchmark plays them all).
    void pastedText()
    {
        QString pasted;
        for (int i = 0; i < 10000; ++i)
            pasted += QChar(u'a' + i % 26);
        m_app->ui().Text26->setText(pasted);
        for (int played = 0; played < 300; ++played) {
            tick();
            QCOMPARE(m_app->ctx().exercise.text(), pasted.mid(played, 1));
            QCOMPARE(m_app->ui().Text26->cursorPosition(), 500);
            m_app->player.finish();
        }
        QCOMPARE(m_app->ui().Text26->text(), pasted.mid(300));
    }
};

QTEST_MAIN(TestTypedPlayback)
#include "tst_typedplayback.moc"
