#include "TestMain.h"
// The learner's settings: each value read as stored (or its default), told once per real change, written to its own
// group under its own key, and read back by the next start.
#include "fakes/FakeSettingsStore.h"
#include "parameters/LearnerSettings.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

using Stored = QMap<QString, QString>; // "group/key" to text

// The four groups the settings may reach; what was written, as "group/key=value" in order.
struct Groups
{
    FakeSettingsStore param, entrainement, correction, textes;

    LearnerSettings::Stores stores() { return {param, entrainement, &correction, &textes}; }
    FakeSettingsStore& group(const QString& name)
    {
        if (name == u"param")
            return param;
        if (name == u"entrainement")
            return entrainement;
        return name == u"correction" ? correction : textes;
    }
    QStringList written()
    {
        QStringList all;
        for (const QString& name : {u"param"_s, u"entrainement"_s, u"correction"_s, u"textes"_s}) {
            for (const QString& key : group(name).writes)
                all << name + u'/' + key + u'=' + group(name).values.value(key);
        }
        return all;
    }
};

// One value of the settings by its name, as a QVariant: the pass mark in hundredths of a percent, the progression
// as its set and its count.
QVariant valueOf(const LearnerSettings& s, const QString& name)
{
    if (name == u"characterSet")
        return s.characterSet();
    if (name == u"groupCount")
        return s.groupCount();
    if (name == u"passMark")
        return s.passMark().hundredths;
    if (name == u"freshDraws")
        return s.freshDraws();
    if (name == u"onlyLearned")
        return s.onlyLearnedCharacters();
    const ProgressionState p = s.progression();
    return QStringList{p.item, QString::number(p.inARow)};
}

void change(LearnerSettings& s, const QString& name, const QVariant& value)
{
    if (name == u"characterSet")
        s.setCharacterSet(value.toString());
    else if (name == u"groupCount")
        s.setGroupCount(value.toDouble());
    else if (name == u"passMark")
        s.setPassMark(PassMark{value.toInt()});
    else if (name == u"freshDraws")
        s.setFreshDraws(value.toBool());
    else if (name == u"onlyLearned")
        s.setOnlyLearnedCharacters(value.toBool());
    else
        s.setProgression({value.toStringList().at(0), value.toStringList().at(1).toInt()});
}

// Counts in `count` every change signal the settings send.
void countChanges(LearnerSettings& s, int& count)
{
    auto up = [&count] { ++count; };
    QObject::connect(&s, &LearnerSettings::characterSetChanged, &s, up);
    QObject::connect(&s, &LearnerSettings::groupCountChanged, &s, up);
    QObject::connect(&s, &LearnerSettings::passMarkChanged, &s, up);
    QObject::connect(&s, &LearnerSettings::freshDrawsChanged, &s, up);
    QObject::connect(&s, &LearnerSettings::onlyLearnedCharactersChanged, &s, up);
    QObject::connect(&s, &LearnerSettings::progressionChanged, &s, up);
}

} // namespace

class TestLearnerSettings : public QObject
{
    Q_OBJECT

private slots:
    // A value as stored (or its default), changed to `next`: one signal and the writes listed; the same value again:
    // nothing; a new start reads `next` where it is kept, the default where the window holds it.
    void changes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<Stored>("stored");
        QTest::addColumn<QVariant>("read");
        QTest::addColumn<QVariant>("next");
        QTest::addColumn<QStringList>("written");
        QTest::addColumn<bool>("kept");
        using Map = Stored;
        const QVariant series = QStringList{u"egmz0ahtr1"_s, u"0"_s};
        QTest::newRow("character set, the window's")
            << u"characterSet"_s << Map{} << QVariant(QString()) << QVariant(u"egmz0"_s) << QStringList{} << false;
        QTest::newRow("count of groups, the window's")
            << u"groupCount"_s << Map{} << QVariant(0.0) << QVariant(12.5) << QStringList{} << false;
        QTest::newRow("pass mark with a comma")
            << u"passMark"_s << Map{{u"correction/admis"_s, u"2,5"_s}} << QVariant(250) << QVariant(1000)
            << QStringList{u"correction/admis=10"_s} << true;
        QTest::newRow("pass mark absent: 5 %") << u"passMark"_s << Map{} << QVariant(500) << QVariant(1250)
                                               << QStringList{u"correction/admis=12,5"_s} << true;
        QTest::newRow("pass mark not a number: 5 %")
            << u"passMark"_s << Map{{u"correction/admis"_s, u"douze"_s}} << QVariant(500) << QVariant(0)
            << QStringList{u"correction/admis=0"_s} << true;
        QTest::newRow("pass mark above 100: 5 %")
            << u"passMark"_s << Map{{u"correction/admis"_s, u"150"_s}} << QVariant(500) << QVariant(10000)
            << QStringList{u"correction/admis=100"_s} << true;
        QTest::newRow("pass mark in param is not its")
            << u"passMark"_s << Map{{u"param/admis"_s, u"7"_s}} << QVariant(500) << QVariant(700)
            << QStringList{u"correction/admis=7"_s} << true;
        QTest::newRow("fresh draws on") << u"freshDraws"_s << Map{{u"entrainement/toujoursNouveaux"_s, u"true"_s}}
                                        << QVariant(true) << QVariant(false)
                                        << QStringList{u"entrainement/toujoursNouveaux=false"_s} << true;
        QTest::newRow("fresh draws, anything else is off")
            << u"freshDraws"_s << Map{{u"entrainement/toujoursNouveaux"_s, u"oui"_s}} << QVariant(false)
            << QVariant(true) << QStringList{u"entrainement/toujoursNouveaux=true"_s} << true;
        QTest::newRow("only learned characters, off by default")
            << u"onlyLearned"_s << Map{} << QVariant(false) << QVariant(true) << QStringList{u"textes/appris=true"_s}
            << true;
        QTest::newRow("series") << u"progression"_s
                                << Map{{u"entrainement/serie"_s, u"egmz0"_s}, {u"entrainement/serieReussies"_s, u"2"_s}}
                                << QVariant(QStringList{u"egmz0"_s, u"2"_s}) << series
                                << QStringList{u"entrainement/serie=egmz0ahtr1"_s, u"entrainement/serieReussies=0"_s}
                                << true;
        QTest::newRow("series absent") << u"progression"_s << Map{} << QVariant(QStringList{QString(), u"0"_s})
                                       << series
                                       << QStringList{u"entrainement/serie=egmz0ahtr1"_s,
                                                      u"entrainement/serieReussies=0"_s}
                                       << true;
    }
    void changes()
    {
        QFETCH(QString, name);
        QFETCH(QVariant, read);
        QFETCH(QVariant, next);
        QFETCH(QStringList, written);
        QFETCH(Stored, stored);
        Groups groups;
        for (auto it = stored.cbegin(); it != stored.cend(); ++it)
            groups.group(it.key().section(u'/', 0, 0)).values.insert(it.key().section(u'/', 1), *it);

        int changes = 0;
        LearnerSettings settings(groups.stores());
        countChanges(settings, changes);
        QCOMPARE(valueOf(settings, name), read);
        change(settings, name, read);
        QCOMPARE(changes, 0);
        change(settings, name, next);
        QCOMPARE(valueOf(settings, name), next);
        QCOMPARE(changes, 1);
        change(settings, name, next);
        QCOMPARE(changes, 1);
        QCOMPARE(groups.written(), written);

        const LearnerSettings again(groups.stores());
        QTEST(valueOf(again, name) == next, "kept");
    }

    // Without a store of its own, a group's values last for the session and are written nowhere.
    void withoutStore()
    {
        Groups groups;
        LearnerSettings settings({groups.param, groups.entrainement, nullptr, nullptr});
        settings.setPassMark(PassMark{1000});
        settings.setOnlyLearnedCharacters(true);
        QCOMPARE(settings.passMark(), PassMark{1000});
        QVERIFY(settings.onlyLearnedCharacters());
        QCOMPARE(groups.written(), QStringList{});
    }
};

TONIQUE_TEST(TestLearnerSettings, Core)
#include "tst_learnersettings.moc"
