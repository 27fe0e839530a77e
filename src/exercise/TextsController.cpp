#include "exercise/TextsController.h"

#include "exercise/ExerciseText.h"
#include "platform/MessageBox.h"
#include "platform/SettingsStore.h"
#include "playback/PreparedSound.h"
#include "playback/TextSource.h"

#include <QAction>
#include <QComboBox>

#include <utility>

namespace {

// Where the choice "Seulement les caractères appris" is kept: the group "textes", key "appris".
bool LearnedOnlyStored(const SettingsStore* settings)
{
    return settings && settings->read(QStringLiteral("appris"), QStringLiteral("false")) == u"true";
}

void StoreLearnedOnly(SettingsStore* settings, bool on)
{
    if (settings)
        settings->write(QStringLiteral("appris"), on ? QStringLiteral("true") : QStringLiteral("false"));
}

// A part of the full exam, from its first character to its last that is not a space, `offset` into the text.
std::optional<TextField> Part(const QString& label, QStringView part, qsizetype offset)
{
    qsizetype first = 0;
    qsizetype last = part.size();
    while (first < last && part[first].isSpace())
        ++first;
    while (last > first && part[last - 1].isSpace())
        --last;
    if (first == last)
        return std::nullopt;
    return TextField{FieldKind::Part, offset + first, last - first, label};
}

// The fields of the full exam: its two parts, then the pieces of the plain language where it stands.
TextFields ExamFields(const QString& groups, const GeneratedText& plain)
{
    TextFields fields;
    for (const auto& part : {Part(QStringLiteral("Groupes"), groups, 0),
                             Part(QStringLiteral("Texte en clair"), plain.text, groups.size())}) {
        if (part)
            fields << *part;
    }
    for (TextField field : plain.fields) {
        field.start += groups.size();
        fields << field;
    }
    return fields;
}

} // namespace

TextsController::TextsController(const Controls& controls, Services services)
    : m_ui(controls), m_services(std::move(services))
{
    m_ui.appris->setChecked(LearnedOnlyStored(m_services.settings));
}

void TextsController::apprisToggled(bool on)
{
    StoreLearnedOnly(m_services.settings, on);
}

std::optional<QString> TextsController::allowed() const
{
    if (!m_ui.appris->isChecked())
        return std::nullopt;
    return m_ui.TEXT1->currentText();
}

bool TextsController::available()
{
    if (m_services.texts)
        return true;
    m_services.messages.warningLater(
        QStringLiteral("Les textes (QSO, mots, texte en clair) ne sont pas disponibles dans cette installation de "
                       "Tonique\u202F: l'exercice reste tel qu'il était."));
    return false;
}

void TextsController::qso()
{
    if (available())
        show(m_services.texts->qso(m_services.random, allowed()));
}

void TextsController::mots()
{
    if (available())
        show(m_services.texts->words(WordsPerExercise, m_services.random, allowed()));
}

void TextsController::texteEnClair()
{
    if (available())
        show(m_services.texts->plainText(PlainCharacters, m_services.random, allowed()));
}

void TextsController::show(const Result<GeneratedText>& generated)
{
    if (!generated) {
        m_services.messages.warningLater(generated.failure());
        return;
    }
    m_services.exercise.set(generated->text, generated->fields);
    m_services.sound.prepare(SoundOrigin::Exercise);
    tellLeftOut(generated->leftOut);
}

void TextsController::examenComplet()
{
    if (!available())
        return;
    // The groups are those of the exam preset, drawn first as the preset draws them; the plain language follows.
    ExerciseText& exercise = m_services.exercise;
    Failure failed;
    QStringList leftOut;
    {
        ExerciseText::Batch batch(exercise);
        exercise.set(QString());
        m_services.examGroups();
        const QString groups = exercise.text();
        const Result<GeneratedText> plain = m_services.texts->plainText(PlainCharacters, m_services.random, allowed());
        if (plain) {
            exercise.set(groups + plain->text, ExamFields(groups, *plain));
            leftOut = plain->leftOut;
        } else {
            failed = plain.failure();
        }
    }
    // Without its plain language the exam is still worth hearing: its groups are prepared as the preset's are.
    m_services.sound.prepare(SoundOrigin::Exercise);
    if (failed)
        m_services.messages.warningLater(*failed);
    else
        tellLeftOut(leftOut);
}

void TextsController::tellLeftOut(const QStringList& leftOut)
{
    const QString characters = m_ui.TEXT1->currentText();
    if (characters != m_toldFor) {
        m_told.clear();
        m_toldFor = characters;
    }
    QStringList fresh;
    for (const QString& piece : leftOut) {
        if (!m_told.contains(piece)) {
            m_told.insert(piece);
            fresh << piece;
        }
    }
    if (fresh.isEmpty())
        return;
    m_services.messages.warningLater(u"Écrit avec les seuls caractères appris, le texte laisse de côté\u202F: " +
                                     fresh.join(QStringLiteral(", ")) +
                                     u".\nCe qui manque n'est dit qu'une fois pour ces caractères.");
}
