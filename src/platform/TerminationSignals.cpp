#include "platform/TerminationSignals.h"

#include <QCoreApplication>
#include <QFile>
#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <csignal>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace {

int g_pipe[2] = {-1, -1};

// Only async-signal-safe work here: one byte into the pipe that the event loop watches.
void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &byte, 1);
}

// The files to remove on a stop, encoded once beforehand: the handler may neither allocate nor convert.
std::vector<QByteArray> g_doomed;

void removeAndStop(int signal)
{
    for (const QByteArray& path : g_doomed)
        ::unlink(path.constData());
    // The default action is back (SA_RESETHAND): the signal, delivered again once this returns, ends the program.
    ::raise(signal);
}

} // namespace

void RemoveOnTerminationSignals(const QStringList& paths)
{
    sigset_t stops, before;
    sigemptyset(&stops);
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        sigaddset(&stops, signal);
    ::sigprocmask(SIG_BLOCK, &stops, &before);
    g_doomed.clear();
    for (const QString& path : paths)
        g_doomed.push_back(QFile::encodeName(path));
    struct sigaction action = {};
    action.sa_handler = removeAndStop;
    action.sa_mask = stops;
    action.sa_flags = SA_RESETHAND;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(signal, &action, nullptr);
    ::sigprocmask(SIG_SETMASK, &before, nullptr);
}

void QuitOnTerminationSignals()
{
    if (g_pipe[0] >= 0 || ::pipe(g_pipe) != 0)
        return;
    for (const int fd : g_pipe) {
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
        ::fcntl(fd, F_SETFL, O_NONBLOCK);
    }
    auto* notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] {
        char bytes[16];
        while (::read(g_pipe[0], bytes, sizeof bytes) > 0) {
        }
        QCoreApplication::quit();
    });
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(signal, &action, nullptr);
}
#else
void QuitOnTerminationSignals() {}
void RemoveOnTerminationSignals(const QStringList&) {}
#endif
