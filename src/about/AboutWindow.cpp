#include "about/AboutWindow.h"

#include "about/Pictures.h"
#include "common/Version.h"

#include <QFont>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel* namedLabel(const QString& name, const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

} // namespace

QString AboutWindow::versionText()
{
    return QStringLiteral("Version %1.%2.%3").arg(Version::Major).arg(Version::Minor).arg(Version::Revision);
}

AboutWindow::AboutWindow(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("À propos de ") + title());
    setModal(false);

    m_picIcon = namedLabel(QStringLiteral("picIcon"), QString(), this);
    m_picIcon->setPixmap(ProgramIcon(48));
    m_picIcon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    m_lblTitle = namedLabel(QStringLiteral("lblTitle"), title(), this);
    QFont titleFont = m_lblTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.8);
    titleFont.setBold(true);
    m_lblTitle->setFont(titleFont);

    m_lblVersion = namedLabel(QStringLiteral("lblVersion"), versionText(), this);
    m_lblDescription = namedLabel(QStringLiteral("lblDescription"),
                                  QStringLiteral("Logiciel destiné à l'aprentissage de la télégraphie."), this);
    m_lblDescription->setWordWrap(true);

    m_lblDisclaimer = namedLabel(
        QStringLiteral("lblDisclaimer"),
        QStringLiteral("Ce logiciel est distribué gratuitement, tel quel, sans aucune garantie. Vous pouvez le copier "
                       "et le diffuser librement, à condition de ne pas le modifier ni le vendre. N'hésitez pas à "
                       "faire part de vos avis et de vos remarques\u202F: ils aideront à l'améliorer."),
        this);
    m_lblDisclaimer->setWordWrap(true);

    m_cmdOK = new QPushButton(QStringLiteral("OK"), this);
    m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
    m_cmdOK->setDefault(true); // Enter; Escape rejects the dialog, which closes it as well
    m_cmdSysInfo = new QPushButton(QStringLiteral("&Infos système..."), this);
    m_cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    m_cmdSysInfo->setAutoDefault(false);

    arrange();
    // Closed like any window, so that the program ends when it was the last one open.
    connect(m_cmdOK, &QPushButton::clicked, this, &QWidget::close);
    connect(m_cmdSysInfo, &QPushButton::clicked, this, &AboutWindow::sysInfoRequested);
    // Closed by OK, Escape or the title bar: the window is unloaded, the next "A Propos" builds it anew.
    connect(this, &QDialog::finished, this, &QObject::deleteLater);
}

void AboutWindow::arrange()
{
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    auto* grid = new QGridLayout;
    grid->addWidget(m_picIcon, 0, 0, 3, 1);
    grid->addWidget(m_lblTitle, 0, 1);
    grid->addWidget(m_lblVersion, 1, 1);
    grid->addWidget(m_lblDescription, 2, 1);
    grid->setColumnStretch(1, 1);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_cmdOK);
    buttons->addWidget(m_cmdSysInfo);
    buttons->addStretch();
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_lblDisclaimer, 1);
    bottom->addLayout(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(line);
    layout->addLayout(bottom);
    setMinimumWidth(480);
}
