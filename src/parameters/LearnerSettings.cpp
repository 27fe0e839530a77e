#include "parameters/LearnerSettings.h"

#include "parameters/Parameters.h"
#include "platform/SettingsStore.h"

#include <QHash>

using namespace Qt::StringLiterals;

namespace {

const QString PassMarkKey = u"admis"_s;
const QString FreshDrawsKey = u"toujoursNouveaux"_s;
const QString OnlyLearnedKey = u"appris"_s;
const QString SeriesKey = u"serie"_s;
const QString InARowKey = u"serieReussies"_s;

// The values of a group that has no store, for the session only.
class SessionStore : public SettingsStore
{
public:
    QString read(const QString& key, const QString& defaultValue) const override
    {
        return m_values.value(key, defaultValue);
    }
    void write(const QString& key, const QString& value) override { m_values.insert(key, value); }

private:
    QHash<QString, QString> m_values;
};

bool readFlag(const SettingsStore& store, const QString& key)
{
    return store.read(key, u"false"_s) == u"true";
}

void writeFlag(SettingsStore& store, const QString& key, bool on)
{
    store.write(key, on ? u"true"_s : u"false"_s);
}

} // namespace

LearnerSettings::LearnerSettings(const Stores& stores, QObject* parent)
    : QObject(parent), m_session(std::make_unique<SessionStore>()), m_parameters(stores.parameters),
      m_training(stores.training), m_marking(stores.marking ? *stores.marking : *m_session),
      m_texts(stores.texts ? *stores.texts : *m_session)
{}

LearnerSettings::~LearnerSettings() = default;

void LearnerSettings::setCharacterSet(const QString& set)
{
    if (set == m_characterSet)
        return;
    m_characterSet = set;
    emit characterSetChanged(set);
}

void LearnerSettings::setGroupCount(double count)
{
    if (count == m_groupCount)
        return;
    m_groupCount = count;
    emit groupCountChanged(count);
}

PassMark LearnerSettings::passMark() const
{
    const Result<PassMark> stored = ParsePassMark(m_marking.read(PassMarkKey, FormatPassMark(PassMark{})));
    return stored ? *stored : PassMark{};
}

void LearnerSettings::setPassMark(PassMark pass)
{
    if (pass == passMark())
        return;
    m_marking.write(PassMarkKey, FormatPassMark(pass));
    emit passMarkChanged(pass);
}

bool LearnerSettings::freshDraws() const
{
    return readFlag(m_training, FreshDrawsKey);
}

void LearnerSettings::setFreshDraws(bool on)
{
    if (on == freshDraws())
        return;
    writeFlag(m_training, FreshDrawsKey, on);
    emit freshDrawsChanged(on);
}

bool LearnerSettings::onlyLearnedCharacters() const
{
    return readFlag(m_texts, OnlyLearnedKey);
}

void LearnerSettings::setOnlyLearnedCharacters(bool on)
{
    if (on == onlyLearnedCharacters())
        return;
    writeFlag(m_texts, OnlyLearnedKey, on);
    emit onlyLearnedCharactersChanged(on);
}

ProgressionState LearnerSettings::progression() const
{
    return {m_training.read(SeriesKey, QString()), m_training.read(InARowKey, u"0"_s).toInt()};
}

void LearnerSettings::setProgression(const ProgressionState& state)
{
    if (state == progression())
        return;
    m_training.write(SeriesKey, state.item);
    m_training.write(InARowKey, QString::number(state.inARow));
    emit progressionChanged(state);
}

void LearnerSettings::keepStartingSet(const QString& set)
{
    m_parameters.write(Parameters::name(Parameters::prog), set);
}
