// The sidetone's samples: the tone rises and falls with the key over 5 ms, at the frequency and volume asked for.
#include "TestMain.h"
#include "platform/QtSidetone.h"

#include <QTest>

#include <cmath>
#include <vector>

namespace {

constexpr int Rate = 48000;
constexpr int EdgeSamples = Rate / 200; // 5 ms

std::vector<qint16> Read(SidetoneSource& source, int count)
{
    std::vector<qint16> samples(count);
    const qint64 read = source.read(reinterpret_cast<char*>(samples.data()), qint64(count) * 2);
    samples.resize(size_t(read / 2));
    return samples;
}

int Peak(const std::vector<qint16>& samples, size_t from, size_t to)
{
    int peak = 0;
    for (size_t i = from; i < to; ++i)
        peak = std::max(peak, std::abs(int(samples[i])));
    return peak;
}

} // namespace

class TstSidetone : public QObject
{
    Q_OBJECT

private slots:
    void followsTheKey_data()
    {
        QTest::addColumn<double>("hz");
        QTest::addColumn<double>("volume");
        QTest::newRow("800 Hz, half volume") << 800.0 << 0.5;
        QTest::newRow("400 Hz, full volume") << 400.0 << 1.0;
        QTest::newRow("1200 Hz, volume beyond 1") << 1200.0 << 3.0;
        QTest::newRow("silent") << 600.0 << 0.0;
    }
    void followsTheKey()
    {
        QFETCH(double, hz);
        QFETCH(double, volume);
        SidetoneSource source(Rate);
        source.setTone(hz, volume);
        QCOMPARE(Peak(Read(source, 480), 0, 480), 0); // key up: silence

        source.key(true);
        const std::vector<qint16> down = Read(source, Rate / 10);
        const int full = int(32000 * std::min(volume, 1.0));
        // A soft rise: the first millisecond stays low, the full level comes after 5 ms and not before 4.
        QVERIFY(Peak(down, 0, Rate / 1000) <= full / 10 + 1);
        QVERIFY(Peak(down, EdgeSamples * 4 / 5 - 40, EdgeSamples * 4 / 5) < full * 0.99 || full == 0);
        QVERIFY(std::abs(Peak(down, EdgeSamples, down.size()) - full) <= full / 100 + 1);
        // The frequency: a sine crosses zero upwards once a period.
        int crossings = 0;
        for (size_t i = EdgeSamples + 1; i < down.size(); ++i)
            crossings += down[i - 1] < 0 && down[i] >= 0;
        if (full > 0)
            QVERIFY(std::abs(crossings - hz * (down.size() - EdgeSamples) / Rate) <= 1);

        source.key(false);
        const std::vector<qint16> up = Read(source, Rate / 50);
        QVERIFY(Peak(up, 0, 48) > full / 2 || full == 0); // no cut: it falls...
        QCOMPARE(Peak(up, EdgeSamples, up.size()), 0);    // ...to silence within 5 ms
    }
};

TONIQUE_TEST(TstSidetone, Core)
#include "tst_sidetone.moc"
