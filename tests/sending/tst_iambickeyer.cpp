#include "TestMain.h"
#include "sending/IambicKeyer.h"

#include <QTest>

namespace {

constexpr KeyTime Ms = 1000;

// Levers as "d" (dot), "D" (dash) or "k" (a straight key), each edge "<lever><v|^><ms>": "dv0 d^250".
// The keyer runs as the window would drive it: called at each of its next events, and at each edge.
QString Run(IambicKeyer::Mode mode, const QString& levers)
{
    IambicKeyer keyer(mode, 100 * Ms);
    const auto runUntil = [&keyer](KeyTime until) {
        for (auto next = keyer.nextEventAt(); next && *next <= until; next = keyer.nextEventAt())
            keyer.advanceTo(*next);
    };
    for (const QString& edge : levers.split(u' ')) {
        const KeyTime time = edge.mid(2).toLongLong() * Ms;
        runUntil(time);
        const bool down = edge[1] == u'v';
        if (edge[0] == u'k')
            keyer.straightKeyEdge({time, down});
        else
            keyer.paddleEdge(edge[0] == u'd' ? ElementKind::Dot : ElementKind::Dash, down, time);
    }
    runUntil(std::numeric_limits<KeyTime>::max());
    QStringList sent;
    for (const auto& edge : keyer.takeEdges())
        sent << QString::number(edge.time / Ms) + (edge.down ? u'v' : u'^');
    return sent.join(u' ');
}

} // namespace

class TestIambicKeyer : public QObject
{
    Q_OBJECT

private slots:
    void timeline_data();
    void timeline();
};

void TestIambicKeyer::timeline_data()
{
    QTest::addColumn<bool>("modeB");
    QTest::addColumn<QString>("levers");
    QTest::addColumn<QString>("sent");
    QTest::newRow("dot lever held repeats dots") << false << "dv0 d^250"
                                                 << "0v 100^ 200v 300^";
    QTest::newRow("dash lever tapped sends one dash") << false << "Dv0 D^10"
                                                      << "0v 300^";
    QTest::newRow("A: squeeze let go during the dash stops") << false << "dv0 Dv50 d^350 D^350"
                                                             << "0v 100^ 200v 500^";
    QTest::newRow("B: squeeze let go during the dash adds a dot") << true << "dv0 Dv50 d^350 D^350"
                                                                  << "0v 100^ 200v 500^ 600v 700^";
    QTest::newRow("A: squeeze held alternates") << false << "dv0 Dv50 d^1050 D^1050"
                                                << "0v 100^ 200v 500^ 600v 700^ 800v 1100^";
    QTest::newRow("B: squeeze held alternates, then one more") << true << "dv0 Dv50 d^1050 D^1050"
                                                               << "0v 100^ 200v 500^ 600v 700^ 800v 1100^ 1200v 1300^";
    QTest::newRow("dash memory: tapped during a dot") << false << "dv0 d^30 Dv60 D^90"
                                                      << "0v 100^ 200v 500^";
    QTest::newRow("dot memory: tapped during a dash") << true << "Dv0 D^30 dv100 d^130"
                                                      << "0v 300^ 400v 500^";
    QTest::newRow("dot memory: tapped in the space after a dot") << false << "dv0 d^30 dv150 d^160"
                                                                 << "0v 100^ 200v 300^";
    QTest::newRow("B: one lever alone is as in A") << true << "Dv0 D^450"
                                                   << "0v 300^ 400v 700^";
    QTest::newRow("lever pressed after the space starts afresh") << false << "dv0 d^30 Dv450 D^460"
                                                                 << "0v 100^ 450v 750^";
    QTest::newRow("straight key passes through") << false << "kv0 k^70 kv150 k^400"
                                                 << "0v 70^ 150v 400^";
}

void TestIambicKeyer::timeline()
{
    QFETCH(bool, modeB);
    QFETCH(QString, levers);
    QFETCH(QString, sent);
    QCOMPARE(Run(modeB ? IambicKeyer::Mode::B : IambicKeyer::Mode::A, levers), sent);
}

TONIQUE_TEST(TestIambicKeyer, None)
#include "tst_iambickeyer.moc"
