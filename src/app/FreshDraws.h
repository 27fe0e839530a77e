#pragma once

class Entropy;
class LearnerSettings;
class QAction;
class QMenu;
class RandomSource;

// "Exercices toujours nouveaux": when the user chose it, the random stream starts at start-up from the system's
// entropy instead of its fixed state, so that no two starts give the same exercises. Off by default; the choice is
// one of the learner's settings and takes effect at the next start.
class FreshDraws
{
public:
    // Adds the item to `menu`, ticked as stored.
    FreshDraws(QMenu* menu, LearnerSettings& learner, Entropy& entropy, RandomSource& random);

    QAction* item() const { return m_item; }
    // Start-up, before the first draw: the stream's start.
    void startStream();
    // The item ticked or unticked: the choice kept for the next start.
    void itemToggled(bool on);

private:
    QAction* m_item;
    LearnerSettings& m_learner;
    Entropy& m_entropy;
    RandomSource& m_random;
};
