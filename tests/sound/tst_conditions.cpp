// The band conditions measured on rendered samples against the clean rendering of the same text, and tonique-wav's
// options and stored conditions.
#include "TestMain.h"
#include "fakes/BuildFolder.h"
#include "fakes/TestWav.h"
#include "signs/SignTable.h"
#include "sound/RenderExerciseFiles.h"
#include "sound/WavHeader.h"

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <numbers>

using Samples = std::vector<double>;

namespace {

struct Span
{
    qsizetype first, end; // [first, end)
};

// Groups of five letters and figures from a fixed seed.
QString groups(int count, quint32 seed = 7)
{
    const QString set = QStringLiteral("abcdefghijklmnopqrstuvwxyz0123456789");
    QString text;
    for (int i = 0; i < 5 * count; ++i) {
        seed = seed * 1664525u + 1013904223u;
        text += set[qsizetype((seed >> 8) % quint32(set.size()))];
        if (i % 5 == 4)
            text += u' ';
    }
    return text.trimmed();
}

struct Setup
{
    int toneHz = 800, volume = 64;
    double dotMs = 97.7198697068404; // 12 wpm: runs of odd length
    QString text = groups(30);
};

QByteArray renderBytes(const Setup& s, const ReceptionConditions& conditions, quint64 seed = 1)
{
    static const SignFile signs = LoadSignFile(BuildFolder::file("telkey.ref"));
    const SampleRuns runs = *MakeSampleRuns(MakeTonePeriod(s.toneHz, s.volume), s.dotMs, 1, 3, 9, 0);
    ExerciseRenderer renderer(signs.table, runs);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("x.wav"));
    QByteArray header = MakeWavHeader();
    const Failure failed = WriteExerciseWav(path, header, renderer, u"vvv", s.text, u"+", {}, {}, {conditions, seed});
    return failed ? QByteArray() : TestWav::read(path);
}

Samples render(const Setup& s, const ReceptionConditions& conditions, quint64 seed = 1)
{
    const QByteArray wav = renderBytes(s, conditions, seed);
    Samples out;
    for (qsizetype i = 58; i + 1 < wav.size(); i += 2)
        out.push_back(qFromLittleEndian<qint16>(wav.constData() + i));
    return out;
}

// Where the signal sounds: from a non-zero sample to the last one before `gap` silent samples or more.
std::vector<Span> sounding(const Samples& x, double threshold = 0, qsizetype gap = 40)
{
    std::vector<Span> spans;
    qsizetype quiet = gap;
    for (qsizetype i = 0; i < qsizetype(x.size()); ++i) {
        if (std::abs(x[size_t(i)]) <= threshold) {
            ++quiet;
            continue;
        }
        if (quiet >= gap)
            spans.push_back({i, i + 1});
        spans.back().end = i + 1;
        quiet = 0;
    }
    return spans;
}

double power(const Samples& x, const std::vector<Span>& spans)
{
    double sum = 0, n = 0;
    for (const Span& s : spans) {
        for (qsizetype i = s.first; i < s.end; ++i)
            sum += x[size_t(i)] * x[size_t(i)];
        n += double(s.end - s.first);
    }
    return sum / n;
}

// The output as k (clean + added): the factor k the whole file was scaled by, and what was added.
double separate(const Samples& y, const Samples& clean, Samples& added)
{
    double yc = 0, cc = 0;
    for (size_t i = 0; i < clean.size(); ++i) {
        yc += y[i] * clean[i];
        cc += clean[i] * clean[i];
    }
    const double k = yc / cc;
    added.resize(y.size());
    for (size_t i = 0; i < y.size(); ++i)
        added[i] = y[i] / k - clean[i];
    return k;
}

// Frequency from the zero crossings inside each span, placed between samples by linear interpolation.
double frequency(const Samples& x, const std::vector<Span>& spans)
{
    double cycles = 0, seconds = 0;
    for (const Span& s : spans) {
        double first = -1, last = -1;
        int crossings = 0;
        for (qsizetype i = s.first; i + 1 < s.end; ++i) {
            const double a = x[size_t(i)], b = x[size_t(i + 1)];
            if ((a < 0) == (b < 0))
                continue;
            last = double(i) + a / (a - b);
            if (crossings++ == 0)
                first = last;
        }
        if (crossings > 2) {
            cycles += (crossings - 1) / 2.0;
            seconds += (last - first) / 8000;
        }
    }
    return cycles / seconds;
}

// Fits a + b cos + c sin of period `periodS` to (t, v) by least squares; returns the residual, sets the
// amplitude and the mean.
double fit(const std::vector<std::pair<double, double>>& points, double periodS, double& amplitude, double& mean)
{
    double m[3][4] = {};
    for (const auto& [t, v] : points) {
        const double f[3] = {1, std::cos(2 * std::numbers::pi * t / periodS),
                             std::sin(2 * std::numbers::pi * t / periodS)};
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 3; ++c)
                m[r][c] += f[r] * f[c];
            m[r][3] += f[r] * v;
        }
    }
    for (int p = 0; p < 3; ++p) { // Gauss-Jordan on a well-conditioned 3 x 3
        for (int r = 0; r < 3; ++r) {
            if (r == p)
                continue;
            const double factor = m[r][p] / m[p][p];
            for (int c = 0; c < 4; ++c)
                m[r][c] -= factor * m[p][c];
        }
    }
    const double a = m[0][3] / m[0][0], b = m[1][3] / m[1][1], c = m[2][3] / m[2][2];
    amplitude = std::hypot(b, c);
    mean = a;
    double residual = 0;
    for (const auto& [t, v] : points) {
        const double e =
            v - a - b * std::cos(2 * std::numbers::pi * t / periodS) - c * std::sin(2 * std::numbers::pi * t / periodS);
        residual += e * e;
    }
    return residual;
}

// Alternately the lengths of tones and of the gaps between them, in samples.
std::vector<qsizetype> pieces(const Samples& x)
{
    const std::vector<Span> spans = sounding(x);
    std::vector<qsizetype> lengths;
    for (size_t i = 0; i < spans.size(); ++i) {
        if (i > 0)
            lengths.push_back(spans[i].first - spans[i - 1].end);
        lengths.push_back(spans[i].end - spans[i].first);
    }
    return lengths;
}

// Where the gain y / clean of the samples from `from`, `step` apart, crosses one half, in samples (the middle of
// a raised-cosine ramp).
double halfGain(const Samples& y, const Samples& clean, qsizetype from, int step, int count)
{
    double previousN = -1, previousGain = 0;
    for (int n = 0; n < count; ++n) {
        const size_t i = size_t(from + step * n);
        if (std::abs(clean[i]) < 4000)
            continue;
        const double gain = y[i] / clean[i];
        if (gain >= 0.5 && previousN >= 0)
            return previousN + (0.5 - previousGain) * (n - previousN) / (gain - previousGain);
        previousN = n;
        previousGain = gain;
    }
    return -1;
}

// The longest common subsequence of two texts, for the share of characters a decoder read back.
qsizetype common(const QString& a, const QString& b)
{
    std::vector<qsizetype> row(size_t(b.size() + 1), 0);
    for (const QChar ca : a) {
        qsizetype diagonal = 0;
        for (qsizetype j = 1; j <= b.size(); ++j) {
            const qsizetype up = row[size_t(j)];
            row[size_t(j)] = ca == b[j - 1] ? diagonal + 1 : std::max(up, row[size_t(j - 1)]);
            diagonal = up;
        }
    }
    return row.back();
}

} // namespace

class TstConditions : public QObject
{
    Q_OBJECT

    struct Run
    {
        int status = -1;
        QString err;
        QByteArray wav;
    };

    // tonique-wav in a fresh folder; `stored` is the [conditions] section of its settings file.
    Run wav(const QStringList& args, const QByteArray& stored = {})
    {
        QTemporaryDir work;
        const QDir dir(work.path());
        dir.mkpath(QStringLiteral("config/tonique"));
        TestWav::write(dir.filePath("config/tonique/tonique.conf"), "[conditions]\n" + stored);
        TestWav::write(dir.filePath("in.txt"), "cq de f6abc k");
        Run r;
        r.status =
            TestWav::run(BuildFolder::file("tonique-wav"), work.path(), args + QStringList{"in.txt"}, {}, &r.err);
        r.wav = TestWav::read(dir.filePath("TEST.wav"));
        if (r.status != 0)
            r.wav += QByteArray::number(dir.entryList(QDir::Files).size()); // only in.txt may remain
        return r;
    }

private slots:
    // Noise at S dB measures S ± 0.5 dB; at full volume with a second station above the signal the file is
    // scaled down, never clipped.
    void noise_data()
    {
        QTest::addColumn<double>("snrDb");
        QTest::addColumn<int>("volume");
        QTest::addColumn<double>("qrmDb"); // 99: none
        QTest::newRow("-10 dB") << -10.0 << 64 << 99.0;
        QTest::newRow("0 dB") << 0.0 << 64 << 99.0;
        QTest::newRow("10 dB") << 10.0 << 64 << 99.0;
        QTest::newRow("30 dB") << 30.0 << 64 << 99.0;
        QTest::newRow("-10 dB, full volume, QRM +6 dB") << -10.0 << 127 << 6.0;
    }
    void noise()
    {
        QFETCH(double, snrDb);
        QFETCH(int, volume);
        QFETCH(double, qrmDb);
        Setup setup;
        setup.volume = volume;
        ReceptionConditions conditions;
        conditions.noise = true;
        conditions.snrDb = snrDb;
        conditions.qrm = qrmDb < 99;
        conditions.qrmLevelDb = qrmDb;
        const Samples clean = render(setup, {});
        const Samples y = render(setup, conditions);
        QCOMPARE(y.size(), clean.size());
        for (const double v : y)
            QVERIFY2(std::abs(v) < 32767, "a sample at full scale: clipped");
        Samples added;
        separate(y, clean, added);
        if (conditions.qrm)
            return; // the level of the second station is measured below
        const double measured =
            10 * std::log10(power(clean, sounding(clean)) / power(added, {{0, qsizetype(y.size())}}));
        QVERIFY2(std::abs(measured - snrDb) <= 0.5, qPrintable(QString::number(measured)));
    }

    // The envelope of the main signal runs between 1 - depth and 1: depth ± 5 points, period ± 10 %.
    void fading_data()
    {
        QTest::addColumn<double>("depth");
        QTest::addColumn<double>("periodS");
        QTest::newRow("60 %, 8 s") << 60.0 << 8.0;
        QTest::newRow("100 %, 3 s") << 100.0 << 3.0;
        QTest::newRow("20 %, 30 s") << 20.0 << 30.0;
    }
    void fading()
    {
        QFETCH(double, depth);
        QFETCH(double, periodS);
        Setup setup;
        setup.text = groups(45);
        ReceptionConditions conditions;
        conditions.fading = true;
        conditions.fadingDepth = depth;
        conditions.fadingPeriodS = periodS;
        const Samples clean = render(setup, {});
        const Samples y = render(setup, conditions);
        // The envelope of each tone: its mean gain at its loud samples, at its middle.
        std::vector<std::pair<double, double>> envelope;
        for (const Span& tone : sounding(clean)) {
            double sum = 0, n = 0;
            for (qsizetype i = tone.first; i < tone.end; ++i) {
                if (std::abs(clean[size_t(i)]) >= 8000) {
                    sum += y[size_t(i)] / clean[size_t(i)];
                    ++n;
                }
            }
            envelope.emplace_back(double(tone.first + tone.end) / 2 / 8000, sum / n);
        }
        double best = 0, bestResidual = HUGE_VAL, amplitude = 0, mean = 0;
        for (double candidate = 1; candidate <= 40; candidate *= 1.005) {
            double a = 0, m = 0;
            if (const double residual = fit(envelope, candidate, a, m); residual < bestResidual) {
                bestResidual = residual;
                best = candidate;
            }
        }
        fit(envelope, best, amplitude, mean);
        QVERIFY2(std::abs(best - periodS) <= 0.1 * periodS, qPrintable(QString::number(best)));
        QVERIFY2(std::abs(200 * amplitude - depth) <= 5, qPrintable(QString::number(200 * amplitude)));
        QVERIFY2(std::abs(mean + amplitude - 1) <= 0.05, qPrintable(QString::number(mean + amplitude)));
    }

    // The second station: its power while it sounds over the main signal's within ± 1 dB, its tone (offset from the
    // tone as heard, 8000 / 9 Hz at 800 Hz) within ± 2 Hz.
    void secondStation_data()
    {
        QTest::addColumn<double>("offsetHz");
        QTest::addColumn<double>("levelDb");
        QTest::newRow("+250 Hz, -6 dB") << 250.0 << -6.0;
        QTest::newRow("-500 Hz, -20 dB") << -500.0 << -20.0;
        QTest::newRow("+500 Hz, +6 dB: scaled") << 500.0 << 6.0;
        QTest::newRow("-120 Hz, 0 dB") << -120.0 << 0.0;
    }
    void secondStation()
    {
        QFETCH(double, offsetHz);
        QFETCH(double, levelDb);
        Setup setup;
        ReceptionConditions conditions;
        conditions.qrm = true;
        conditions.qrmOffsetHz = offsetHz;
        conditions.qrmLevelDb = levelDb;
        const Samples clean = render(setup, {});
        Samples station;
        separate(render(setup, conditions), clean, station);
        // Sounding where above a tenth of its peak: what is left of the main signal is far below.
        const std::vector<Span> spans = sounding(station, 0.1 * *std::max_element(station.begin(), station.end()));
        QVERIFY(spans.size() > 50);
        const double level = 10 * std::log10(power(station, spans) / power(clean, sounding(clean)));
        QVERIFY2(std::abs(level - levelDb) <= 1, qPrintable(QString::number(level)));
        const double hz = frequency(station, spans);
        QVERIFY2(std::abs(hz - (8000.0 / 9 + offsetHz)) <= 2, qPrintable(QString::number(hz)));
    }

    // Every tone and gap within the percentage of its clean length (± 2 samples where a tone is cut on a zero
    // sample), the mean deviation within ± 1 %, the total length within ± 2 %, and the timing really varies.
    void handTiming_data()
    {
        QTest::addColumn<double>("percent");
        QTest::newRow("5 %") << 5.0;
        QTest::newRow("10 %") << 10.0;
        QTest::newRow("30 %") << 30.0;
    }
    void handTiming()
    {
        QFETCH(double, percent);
        Setup setup;
        setup.dotMs = 60;
        ReceptionConditions conditions;
        conditions.hand = true;
        conditions.handPercent = percent;
        const Samples clean = render(setup, {});
        const Samples y = render(setup, conditions);
        const std::vector<qsizetype> before = pieces(clean), after = pieces(y);
        QCOMPARE(after.size(), before.size());
        double sum = 0, largest = 0;
        for (size_t i = 0; i < before.size(); ++i) {
            const double change = double(after[i] - before[i]);
            QVERIFY2(std::abs(change) <= percent / 100 * double(before[i]) + 2, qPrintable(QString::number(i)));
            sum += change / double(before[i]);
            largest = std::max(largest, std::abs(change) / double(before[i]));
        }
        QVERIFY2(std::abs(sum / double(before.size())) <= 0.01,
                 qPrintable(QString::number(sum / double(before.size()))));
        QVERIFY(largest >= percent / 200);
        QVERIFY(std::abs(double(y.size()) / double(clean.size()) - 1) <= 0.02);
    }

    // Each tone rises and falls over the ramp asked ± 1 sample, and no step between two samples is larger than a
    // full-scale sine of the tone makes (1000 Hz at full volume, where the clean tone itself stays below it), also
    // when hand-sent timing cuts tones anywhere.
    void softEdges_data()
    {
        QTest::addColumn<double>("ms");
        QTest::addColumn<double>("handPercent"); // 0: off
        QTest::newRow("1 ms") << 1.0 << 0.0;
        QTest::newRow("5 ms") << 5.0 << 0.0;
        QTest::newRow("10 ms") << 10.0 << 0.0;
        QTest::newRow("5 ms, hand-sent 30 %") << 5.0 << 30.0;
    }
    void softEdges()
    {
        QFETCH(double, ms);
        QFETCH(double, handPercent);
        Setup setup;
        setup.toneHz = 1000;
        setup.volume = 127;
        setup.dotMs = 60;
        setup.text = groups(8);
        ReceptionConditions conditions;
        conditions.edges = true;
        conditions.edgeMs = ms;
        conditions.hand = handPercent > 0;
        conditions.handPercent = handPercent;
        const Samples y = render(setup, conditions);
        const double largestStep = 2 * 32767 * std::sin(std::numbers::pi * 1000 / 8000);
        for (size_t i = 1; i < y.size(); ++i)
            QVERIFY2(std::abs(y[i] - y[i - 1]) <= largestStep, qPrintable(QString::number(i)));
        if (conditions.hand)
            return;
        const Samples clean = render(setup, {});
        const double ramp = ms * 8;
        for (const Span& tone : sounding(clean)) {
            const double rise = 2 * halfGain(y, clean, tone.first - 1, 1, int(2 * ramp)) + 1;
            const double fall = 2 * halfGain(y, clean, tone.end - 1, -1, int(2 * ramp)) + 1;
            QVERIFY2(std::abs(rise - ramp) <= 1 && std::abs(fall - ramp) <= 1,
                     qPrintable(QStringLiteral("%1 %2 at %3").arg(rise).arg(fall).arg(tone.first)));
        }
    }

    // The same seed gives the same bytes, another seed other bytes; conditions all off give the clean bytes
    // whatever their values.
    void repeatable_data()
    {
        QTest::addColumn<bool>("on");
        QTest::addColumn<quint64>("seed");
        QTest::addColumn<bool>("same"); // as the rendering with seed 1 (every condition on) or the clean one
        QTest::newRow("same seed") << true << quint64(1) << true;
        QTest::newRow("another seed") << true << quint64(2) << false;
        QTest::newRow("all off") << false << quint64(9) << true;
    }
    void repeatable()
    {
        QFETCH(bool, on);
        QFETCH(quint64, seed);
        Setup setup;
        setup.text = groups(3);
        ReceptionConditions all{true, 0, true, 50, 2, true, 100, 0, true, 20, true, 2};
        const QByteArray reference = renderBytes(setup, on ? all : ReceptionConditions{}, 1);
        all.noise = all.fading = all.qrm = all.hand = all.edges = on;
        QTEST(renderBytes(setup, all, seed) == reference, "same");
    }

    // The decoder of a third party still reads the text at 10 dB of noise and with hand-sent timing at 10 %.
    void thirdPartyDecoder_data()
    {
        QTest::addColumn<bool>("noise");
        QTest::addColumn<bool>("hand");
        QTest::newRow("noise 10 dB") << true << false;
        QTest::newRow("hand-sent 10 %") << false << true;
        QTest::newRow("both") << true << true;
    }
    void thirdPartyDecoder()
    {
        QFETCH(bool, noise);
        QFETCH(bool, hand);
        const QString decoder = QStandardPaths::findExecutable(QStringLiteral("multimon-ng"));
        if (decoder.isEmpty())
            QSKIP("multimon-ng is not installed (scripts/setup installs it)");
        Setup setup;
        ReceptionConditions conditions;
        conditions.noise = noise;
        conditions.hand = hand;
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("x.wav"));
        QVERIFY(TestWav::write(path, renderBytes(setup, conditions, 5)));
        QProcess p;
        p.start(decoder, {"-q", "-c", "-a", "MORSE_CW", "-t", "wav", path});
        QVERIFY(p.waitForFinished(60000));
        const QString read = QString::fromLatin1(p.readAllStandardOutput()).toLower().remove(u' ').remove(u'\n');
        const QString sent = QString(setup.text).remove(u' ');
        const double share = double(common(sent, read)) / double(sent.size());
        QVERIFY2(share >= 0.95, qPrintable(QString::number(share) + u' ' + read));
    }

    void wavRefused_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QString>("message");
        QTest::newRow("noise out of range") << QStringList{"--bruit", "31"} << QByteArray()
                                            << "Valeur hors plage pour --bruit\u202F: «\u202F31\u202F» (attendu\u202F: "
                                               "rapport signal/bruit de \u221210 à 30\u202FdB).";
        QTest::newRow("one value for two")
            << QStringList{"--qsb", "60"} << QByteArray() << "--qsb attend deux valeurs séparées par une virgule";
        QTest::newRow("not a number") << QStringList{"--qrm", "250,moins"} << QByteArray()
                                      << "Valeur non numérique pour --qrm\u202F: «\u202F250,moins\u202F».";
        QTest::newRow("decimal comma") << QStringList{"--manuel", "7,5"} << QByteArray()
                                       << "--manuel attend une valeur";
        QTest::newRow("edges too short") << QStringList{"--fronts", "0.5"} << QByteArray()
                                         << "durée des fronts de 1 à 10\u202Fms";
        QTest::newRow("seed not whole") << QStringList{"--graine", "1.5"} << QByteArray() << "pour --graine";
        QTest::newRow("stored value, ticked") << QStringList() << QByteArray("qrm=250\nqrm_actif=1\n")
                                              << "la condition enregistrée «\u202Fqrm\u202F» attend deux valeurs";
        QTest::newRow("stored value of 200 000 characters")
            << QStringList() << "qrm=" + QByteArray(200'000, '9') + "\nqrm_actif=1\n"
            << "pas «\u202F999";
    }
    void wavRefused()
    {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, stored);
        QFETCH(QString, message);
        const Run r = wav(args, stored);
        QCOMPARE(r.status, 2);
        QVERIFY2(r.err.startsWith(u"tonique-wav\u202F: ") && r.err.contains(message), qPrintable(r.err.left(300)));
        QVERIFY2(r.err.size() < 400, "the value is quoted in part only");
        QCOMPARE(r.wav, QByteArray("1"));
    }

    // Options and stored conditions through tonique-wav: the same file as the reference run, or not.
    void wavOptions_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QStringList>("reference"); // with nothing stored
        QTest::addColumn<bool>("same");
        const QStringList clean{"--graine", "4"};
        QTest::newRow("stored conditions apply") << clean << QByteArray("bruit=3\nbruit_actif=1\nqsb_actif=0\n")
                                                 << QStringList{"--bruit", "3", "--graine", "4"} << true;
        QTest::newRow("an option over its stored condition")
            << QStringList{"--bruit", "20", "--graine", "4"} << QByteArray("bruit=3\nbruit_actif=1\n")
            << QStringList{"--bruit", "20", "--graine", "4"} << true;
        QTest::newRow("non turns a stored one off")
            << QStringList{"--manuel", "non"} << QByteArray("manuel=20\nmanuel_actif=1\n") << QStringList() << true;
        QTest::newRow("a stored non is off, whatever its tick")
            << QStringList() << QByteArray("fronts=non\nfronts_actif=1\n") << QStringList() << true;
        QTest::newRow("an unreadable value of an unticked one")
            << clean << QByteArray("qsb=abc\nqsb_actif=0\n") << QStringList() << true;
        QTest::newRow("another seed") << QStringList{"--qrm", "250,-6", "--graine", "5"} << QByteArray()
                                      << QStringList{"--qrm", "250,-6", "--graine", "6"} << false;
    }
    void wavOptions()
    {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, stored);
        QFETCH(QStringList, reference);
        QFETCH(bool, same);
        const Run expected = wav(reference);
        const Run r = wav(args, stored);
        QVERIFY2(r.status == 0 && expected.status == 0, qPrintable(r.err + expected.err));
        QCOMPARE(r.wav == expected.wav, same);
    }
};

TONIQUE_TEST(TstConditions, Core)
#include "tst_conditions.moc"
