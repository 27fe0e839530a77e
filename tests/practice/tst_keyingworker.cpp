// The keyer and the decoder of the window "Manipulation" on a thread of their own, handed edges from an input's
// reader thread as the serial port's or the MIDI input's are.
#include "TestMain.h"
#include "fakes/BuildFolder.h"
#include "practice/KeyingWorker.h"
#include "signs/SignTable.h"

#include <QtTest>

#include <atomic>
#include <thread>

using namespace Qt::StringLiterals;

class TstKeyingWorker : public QObject
{
    Q_OBJECT

private slots:
    void editsFromAnotherThread_data()
    {
        QTest::addColumn<bool>("paddle");    // else a straight key
        QTest::addColumn<QString>("keying"); // a straight key's letters, or the dot lever's holds in dots; "/" a word
        QTest::addColumn<QString>("decoded");
        QTest::addColumn<int>("keyed"); // the key edges the keyer sent, for the sidetone
        QTest::newRow("straight key") << false << u"-.-. --.- / -.-. --.-"_s << u"cq cq"_s << 0;
        // The dot lever held 4.5 dots sends three dots, then held 2.5 dots two.
        QTest::newRow("paddle") << true << u"4.5 / 2.5"_s << u"s i"_s << 10;
    }
    void editsFromAnotherThread()
    {
        QFETCH(bool, paddle);
        QFETCH(QString, keying);
        QFETCH(QString, decoded);
        QFETCH(int, keyed);
        constexpr KeyTime Dot = 60'000;
        const SignTable signs = SignTable::fromLines(LoadSignFile(BuildFolder::file("telkey.ref")).lines);
        KeyingWorker worker(signs, KeyingThreading::OwnThread);
        // The key edges the keyer sent on the worker's own thread, neither the window's nor the reader's.
        std::atomic<int> sent{0};
        connect(
            &worker, &KeyingWorker::keyed, this,
            [&sent] { sent += QThread::currentThread()->objectName() == u"manipulation" ? 1 : 0; },
            Qt::DirectConnection);
        if (paddle)
            worker.setKeyer(IambicKeyer(IambicKeyer::Mode::A, Dot));
        // A reader thread stamps the edges and brings the time on, as the window's timer does every 10 ms; the
        // worker's thread works through each word without the window's help, once it has been woken for the first.
        KeyTime at = Dot;
        const auto hold = [&](KeyInput input, KeyTime down, KeyTime after) {
            worker.edge(input, true, at);
            for (KeyTime t = at; t < at + down; t += 10'000)
                worker.advanceTo(t);
            worker.edge(input, false, at + down);
            at += down + after;
        };
        QString text;
        const auto decodedSoFar = [&] {
            text += TextOf(worker.take().signs);
            return text.trimmed();
        };
        const QStringList words = keying.split(u" / "_s);
        for (qsizetype word = 0; word < words.size(); ++word) {
            std::thread reader([&] {
                for (const QString& token : words[word].split(u' ')) {
                    if (paddle)
                        hold(KeyInput::DotLever, KeyTime(token.toDouble() * Dot), 10 * Dot);
                    for (const QChar c : paddle ? QString() : token)
                        hold(KeyInput::Straight, (c == u'.' ? 1 : 3) * Dot, Dot);
                    at += (paddle ? 0 : 2) * Dot;
                }
                worker.advanceTo(at + 6 * Dot);
            });
            reader.join();
            QTRY_COMPARE(decodedSoFar(), decoded.section(u' ', 0, int(word)));
            at += 6 * Dot;
        }
        QCOMPARE(sent.load(), keyed);
        const KeyTime end = at + 20 * Dot;
        // Nothing more once the window's thread works through the rest itself at the end of a run.
        worker.advanceTo(end);
        worker.pump();
        const KeyingWorker::Decoded rest = worker.take();
        QCOMPARE(TextOf(rest.signs).trimmed(), QString());
        QCOMPARE(rest.until, end);
        QVERIFY(rest.wordsPerMinute > 19 && rest.wordsPerMinute < 21);
    }
};

TONIQUE_TEST(TstKeyingWorker, Core)
#include "tst_keyingworker.moc"
