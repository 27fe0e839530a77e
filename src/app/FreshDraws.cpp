#include "app/FreshDraws.h"

#include "common/RandomSource.h"
#include "platform/Entropy.h"
#include "platform/SettingsStore.h"

#include <QAction>
#include <QMenu>

namespace {

const QString Key = QStringLiteral("toujoursNouveaux");

} // namespace

FreshDraws::FreshDraws(QMenu* menu, SettingsStore& training, Entropy& entropy, RandomSource& random)
    : m_item(menu->addAction(QStringLiteral("Exercices toujours &nouveaux"))), m_training(training), m_entropy(entropy),
      m_random(random)
{
    m_item->setObjectName(QStringLiteral("toujoursNouveaux"));
    m_item->setCheckable(true);
    m_item->setChecked(m_training.read(Key, QStringLiteral("false")) == u"true");
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
    m_training.write(Key, on ? QStringLiteral("true") : QStringLiteral("false"));
}
