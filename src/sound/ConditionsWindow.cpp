#include "sound/ConditionsWindow.h"

#include "sound/Conditions.h"

#include <QAction>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

ConditionsForm AddConditionsItem(QMenu* menu)
{
    ConditionsForm form;
    form.item = menu->addAction(QStringLiteral("Conditions de &réception..."));
    form.item->setObjectName(QStringLiteral("conditions"));
    return form;
}

void BuildConditionsWindow(ConditionsForm& form, QWidget* parent)
{
    form.window = new QWidget(parent, Qt::Tool);
    form.window->setObjectName(QStringLiteral("frmConditions"));
    form.window->setWindowTitle(QStringLiteral("Conditions de réception"));
    auto* grid = new QGridLayout(form.window);
    const ReceptionConditions defaults;
    for (size_t r = 0; r < Conditions::All.size(); ++r) {
        const Conditions::Condition& condition = Conditions::All[r];
        const QString key = QString::fromUtf16(condition.key);
        ConditionsForm::Row& row = form.rows[r];
        row.tick = new QCheckBox(QString::fromUtf16(condition.caption), form.window);
        row.tick->setObjectName(key);
        grid->addWidget(row.tick, int(r), 0);
        for (int v = 0; v < condition.valueCount; ++v) {
            const Conditions::Value& value = condition.values[size_t(v)];
            auto* box = new QDoubleSpinBox(form.window);
            box->setObjectName(key + QString::number(v + 1));
            box->setDecimals(0);
            box->setRange(value.min, value.max);
            box->setValue(defaults.*value.field);
            box->setSuffix(u'\u202F' + QString::fromUtf16(value.unit));
            box->setAccelerated(true);
            box->setAccessibleName(QString::fromUtf16(condition.caption) + u", " + QString::fromUtf16(value.name));
            grid->addWidget(new QLabel(QString::fromUtf16(value.name) + u"\u202F:", form.window), int(r), 1 + 2 * v,
                            Qt::AlignRight);
            grid->addWidget(box, int(r), 2 + 2 * v);
            row.values[size_t(v)] = box;
        }
    }
    form.close = new QPushButton(QStringLiteral("Fermer"), form.window);
    form.close->setObjectName(QStringLiteral("fermer"));
    grid->addWidget(form.close, int(Conditions::All.size()), 4);
    form.window->hide();
}
