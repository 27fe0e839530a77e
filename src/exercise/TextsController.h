#pragma once

#include "common/Result.h"
#include "playback/TextFields.h"

#include <QSet>
#include <QString>

#include <functional>
#include <optional>

class ExerciseText;
class MessageBox;
class PreparedSound;
class QAction;
class QComboBox;
class RandomSource;
class SettingsStore;
class TextSource;

// The menu "Textes": French texts as exercises (a contact, words, plain language, the full exam with its
// plain-language part), each written into the exercise text with the pieces it is made of and its sound prepared at
// once, as the presets do; and the choice "Seulement les caractères appris", which keeps the texts to the characters
// of TEXT1.
class TextsController
{
public:
    struct Controls
    {
        const QComboBox* TEXT1 = nullptr; // the learner's characters
        QAction* appris = nullptr;        // "Seulement les caractères appris", checkable
    };
    struct Services
    {
        ExerciseText& exercise;
        PreparedSound& sound;
        RandomSource& random;
        MessageBox& messages;
        TextSource* texts = nullptr;       // none: the items say that the texts are not available
        SettingsStore* settings = nullptr; // the group "textes"; none: the choice is off and not kept
        std::function<void()> examGroups;  // appends the groups of "Style examen 30 + 6"
    };
    // Ticks "Seulement les caractères appris" as stored.
    TextsController(const Controls& controls, Services services);

    // As many words as a preset has groups, and as many characters of plain language as its groups hold.
    static constexpr int WordsPerExercise = 36;
    static constexpr int PlainCharacters = 180;

    void qso();
    void mots();
    void texteEnClair();
    void examenComplet(); // the exam's groups, then plain language: two parts marked each on its own
    void apprisToggled(bool on);

private:
    // The characters the texts keep to, when the learner asked for it.
    std::optional<QString> allowed() const;
    // False, with the reason told, when there is no text generator.
    bool available();
    // The text written with its pieces and its sound prepared; a failure told, the exercise left as it was.
    void show(const Result<GeneratedText>& generated);
    // What the generator had to leave out, told once for the characters in use: a learner who asks for contact after
    // contact with the same few characters is not stopped at every one.
    void tellLeftOut(const QStringList& leftOut);

    Controls m_ui;
    Services m_services;
    QString m_toldFor;    // the characters for which m_told was said
    QSet<QString> m_told; // the pieces said to be left out
};
