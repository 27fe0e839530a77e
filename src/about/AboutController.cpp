#include "about/AboutController.h"

#include "about/AboutWindow.h"
#include "platform/MessageBox.h"
#include "platform/ProcessLauncher.h"

#include <QFile>
#include <QSettings>

namespace {

#ifdef Q_OS_WIN
// A string value of the local machine's registry, empty when the key or the value is missing.
QString localMachineValue(const QString& key, const QString& name)
{
    QSettings registry(QStringLiteral("HKEY_LOCAL_MACHINE\\") + key, QSettings::NativeFormat);
    return registry.value(name).toString();
}
#endif

// Where the system-information tool is, empty when it cannot be found.
QString sysInfoPath()
{
#ifdef Q_OS_WIN
    const QString path =
        localMachineValue(QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"), QStringLiteral("PATH"));
    if (!path.isEmpty())
        return path;
    const QString folder =
        localMachineValue(QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location"), QStringLiteral("MSINFO"));
    const QString candidate = folder + QStringLiteral("\\MSINFO32.EXE");
    if (!folder.isEmpty() && QFile::exists(candidate))
        return candidate;
#endif
    return {};
}

} // namespace

AboutController::AboutController(ProcessLauncher& launcher, MessageBox& messages)
    : m_launcher(launcher), m_messages(messages)
{}

AboutController::~AboutController()
{
    delete m_window.data();
}

void AboutController::apropos()
{
    if (!m_window) {
        // A window of its own, not a child of the main window: closing the main window leaves it open, and the
        // program ends when the last of its windows is closed.
        auto* window = new AboutWindow(nullptr);
        QObject::connect(window, &AboutWindow::sysInfoRequested, window, [this] { StartSysInfo(); });
        m_window = window;
    }
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

QWidget* AboutController::window() const
{
    return m_window.data();
}

void AboutController::StartSysInfo()
{
    const QString path = sysInfoPath();
    if (path.isEmpty() || m_launcher.startDetached(path))
        m_messages.information(QStringLiteral("Les informations système ne sont pas disponibles actuellement"));
}
