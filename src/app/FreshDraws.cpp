#include "app/FreshDraws.h"

#include "common/RandomSource.h"
#include "parameters/LearnerSettings.h"
#include "platform/Entropy.h"

#include <QAction>
#include <QMenu>

FreshDraws::FreshDraws(QMenu* menu, LearnerSettings& learner, Entropy& entropy, RandomSource& random)
    : m_item(menu->addAction(QStringLiteral("Exercices toujours &nouveaux"))), m_learner(learner), m_entropy(entropy),
      m_random(random)
{
    m_item->setObjectName(QStringLiteral("toujoursNouveaux"));
    m_item->setCheckable(true);
    m_item->setChecked(m_learner.freshDraws());
    m_item->setToolTip(
        QStringLiteral("Des exercices tirés au hasard à chaque démarrage, que l'on ne peut pas apprendre "
                       "par cœur (prend effet au prochain démarrage)"));
}

void FreshDraws::startStream()
{
    if (m_item->isChecked())
        m_random.startFrom(m_entropy.draw());
}

void FreshDraws::itemToggled(bool on)
{
    m_learner.setFreshDraws(on);
}
