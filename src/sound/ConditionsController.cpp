#include "sound/ConditionsController.h"

#include "platform/MessageBox.h"
#include "platform/SettingsStore.h"
#include "playback/PreparedSound.h"
#include "sound/Conditions.h"
#include "sound/PlayerView.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QWidget>

ConditionsController::ConditionsController(const Controls& controls, const Services& services)
    : m_ui(controls), m_services(services)
{}

void ConditionsController::load()
{
    const Result<ReceptionConditions> stored = Conditions::Stored(m_services.store);
    m_services.conditions = stored ? *stored : ReceptionConditions();
    if (!stored)
        m_services.messages.warningLater(stored.failure());
    showConditions();
}

void ConditionsController::open()
{
    if (!m_ui.form.window)
        makeWindow();
    m_ui.form.window->show();
    m_ui.form.window->raise();
    m_ui.form.window->activateWindow();
}

void ConditionsController::makeWindow()
{
    ConditionsForm& form = m_ui.form;
    BuildConditionsWindow(form, m_ui.owner);
    showConditions();
    QObject::connect(form.close, &QPushButton::clicked, form.window, &QWidget::hide);
    for (const ConditionsForm::Row& row : form.rows) {
        QObject::connect(row.tick, &QCheckBox::toggled, form.window, [this] { changed(); });
        for (QDoubleSpinBox* box : row.values) {
            if (box)
                QObject::connect(box, &QDoubleSpinBox::valueChanged, form.window, [this] { changed(); });
        }
    }
}

void ConditionsController::changed()
{
    ReceptionConditions conditions;
    for (size_t r = 0; r < Conditions::All.size(); ++r) {
        const Conditions::Condition& condition = Conditions::All[r];
        const ConditionsForm::Row& row = m_ui.form.rows[r];
        conditions.*condition.on = row.tick->isChecked();
        for (int v = 0; v < condition.valueCount; ++v)
            conditions.*condition.values[size_t(v)].field = row.values[size_t(v)]->value();
    }
    // What is heard changes only with the conditions that are on.
    const bool heard = Conditions::Summary(conditions) != Conditions::Summary(m_services.conditions);
    m_services.conditions = conditions;
    Conditions::Store(m_services.store, conditions);
    showConditions();
    if (heard)
        m_services.sound.withdraw();
}

void ConditionsController::showConditions()
{
    const ReceptionConditions& conditions = m_services.conditions;
    m_ui.MMControl1->setConditions(Conditions::Summary(conditions));
    if (!m_ui.form.window)
        return;
    for (size_t r = 0; r < Conditions::All.size(); ++r) {
        const Conditions::Condition& condition = Conditions::All[r];
        const ConditionsForm::Row& row = m_ui.form.rows[r];
        const QSignalBlocker tickBlocker(row.tick);
        row.tick->setChecked(conditions.*condition.on);
        for (int v = 0; v < condition.valueCount; ++v) {
            const QSignalBlocker valueBlocker(row.values[size_t(v)]);
            row.values[size_t(v)]->setValue(conditions.*condition.values[size_t(v)].field);
        }
    }
}
