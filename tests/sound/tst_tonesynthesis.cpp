#include "TestMain.h"
#include "sound/ToneSynthesis.h"
#include "sound/WavHeader.h"

#include <QtTest>

class TstToneSynthesis : public QObject
{
    Q_OBJECT

private slots:
    void header_data()
    {
        QTest::addColumn<quint64>("samples");
        QTest::addColumn<quint32>("riff");
        QTest::addColumn<quint32>("frames");
        QTest::newRow("no sample") << quint64(0) << 50u << 0u;
        QTest::newRow("odd 1001 bytes") << quint64(1001) << 1051u << 500u;
        QTest::newRow("one second") << quint64(16000) << 16050u << 8000u;
    }
    void header()
    {
        QFETCH(quint64, samples);
        QFETCH(quint32, riff);
        QFETCH(quint32, frames);
        QByteArray h = MakeWavHeader();
        PatchWavHeader(h, 58 + samples);
        auto u32 = [&h](int at) { return qFromLittleEndian<quint32>(h.constData() + at); };
        QCOMPARE(h.size(), 58);
        const QByteArray fmt = "WAVEfmt " + QByteArray::fromHex("1200000001000100401f0000803e0000020010000000");
        QCOMPARE(h.left(4) + h.mid(8, 38) + h.mid(50, 4),
                 "RIFF" + fmt + "fact" + QByteArray::fromHex("04000000") + "data");
        QCOMPARE(u32(4), riff);
        QCOMPARE(u32(46), frames);
        QCOMPARE(quint64(u32(54)), samples);
    }

    void sizeLimit()
    {
        QVERIFY(WavLengthFits(0xFFFFFFFFull + 8));
        QVERIFY(!WavLengthFits(0xFFFFFFFFull + 9));
    }

    void tonePeriod_data()
    {
        QTest::addColumn<int>("frequency");
        QTest::addColumn<int>("samples");
        QTest::addColumn<QByteArray>("levels"); // first byte of each sample, when checked
        QTest::newRow("800 Hz, heard at 889 Hz") << 800 << 9 << QByteArray::fromHex("00253c3c2500d9c2c2");
        QTest::newRow("1000 Hz") << 1000 << 8 << QByteArray();
        QTest::newRow("2000 Hz, 255 encoding") << 2000 << 4 << QByteArray::fromHex("003f00bf");
        QTest::newRow("300 Hz") << 300 << 26 << QByteArray();
    }
    void tonePeriod()
    {
        QFETCH(int, frequency);
        QFETCH(int, samples);
        QFETCH(QByteArray, levels);
        const QByteArray period = MakeTonePeriod(frequency, 64);
        QCOMPARE(period.size(), 2 * samples);
        for (int i = 0; i < samples; ++i) {
            QCOMPARE(period[2 * i], period[2 * i + 1]);
            if (!levels.isEmpty())
                QCOMPARE(uchar(period[2 * i]), uchar(levels[i]));
        }
    }

    void runs_data()
    {
        QTest::addColumn<int>("frequency");
        QTest::addColumn<double>("d");
        QTest::addColumn<QList<double>>("gaps"); // espa, espb, espc, supl
        QTest::addColumn<QList<int>>("lengths"); // tone in a dot, dot run, dash run, char gap, word gap; empty: none
        QTest::newRow("default timing") << 800 << 97.7198697068404 << QList<double>{1, 3, 9, 0}
                                        << QList<int>{1548, 3126, 6222, 3127, 9381};
        QTest::newRow("60 ms") << 1000 << 60.0 << QList<double>{2, 3, 7, 0} << QList<int>{960, 2880, 4800, 960, 3840};
        QTest::newRow("thinking time") << 1000 << 60.0 << QList<double>{1, 3, 7, 1.5}
                                       << QList<int>{960, 1920, 3840, 3360, 3840};
        QTest::newRow("negative dot") << 800 << -5.0 << QList<double>{1, 3, 9, 0} << QList<int>{};
        QTest::newRow("espb + supl below espa") << 800 << 60.0 << QList<double>{3, 2, 9, 0} << QList<int>{};
        QTest::newRow("espc below espb") << 800 << 60.0 << QList<double>{1, 3, 2, 0} << QList<int>{};
        QTest::newRow("dot of days") << 800 << 1e9 << QList<double>{1, 3, 9, 0} << QList<int>{};
    }
    void runs()
    {
        QFETCH(int, frequency);
        QFETCH(double, d);
        QFETCH(QList<double>, gaps);
        QFETCH(QList<int>, lengths);
        const QByteArray period = MakeTonePeriod(frequency, 64);
        const auto runs = MakeSampleRuns(period, d, gaps[0], gaps[1], gaps[2], gaps[3]);
        QCOMPARE(runs.has_value(), !lengths.isEmpty());
        if (!runs)
            return;
        const int tone = lengths[0];
        QCOMPARE(runs->dot.left(tone), period.repeated(tone / period.size()));
        QCOMPARE(runs->dot.mid(tone), QByteArray(lengths[1] - tone, '\0'));
        QCOMPARE(runs->dash, runs->dot.left(tone).repeated(2) + runs->dot);
        QCOMPARE(runs->dash.size(), lengths[2]);
        QCOMPARE(runs->charGap, QByteArray(lengths[3], '\0'));
        QCOMPARE(runs->wordGap, QByteArray(lengths[4], '\0'));
        QCOMPARE(runs->elementGap, qsizetype(16 * d * gaps[0]));
    }
};

TONIQUE_TEST(TstToneSynthesis, None)
#include "tst_tonesynthesis.moc"
