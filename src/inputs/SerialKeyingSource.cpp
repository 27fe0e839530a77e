#include "inputs/SerialKeyingSource.h"

#include "inputs/InputTime.h"
#include "inputs/ModemLineFilter.h"
#include "inputs/ModemLines.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>

#ifdef Q_OS_LINUX
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <pthread.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#endif

using namespace Qt::Literals::StringLiterals;

namespace {

const QString KeyboardStays = u" Le clavier reste utilisable."_s;

#ifdef Q_OS_LINUX

// The reader thread sleeps in the kernel (TIOCMIWAIT, or until a deaf line hears again); closing the port from
// another thread would not wake it, as the call holds the file. A signal with a handler that does nothing, installed
// without SA_RESTART, makes the call return EINTR; stop() sends it until the thread has ended, so that a signal
// falling just before the call is not lost.
int WakeSignal()
{
    static const int signal = [] {
        const int number = SIGRTMIN + 4;
        struct sigaction action = {};
        action.sa_handler = [](int) {};
        sigemptyset(&action.sa_mask);
        sigaction(number, &action, nullptr);
        return number;
    }();
    return signal;
}

// The lines of a serial device, closed with it.
class PortLines : public ModemLines
{
public:
    explicit PortLines(int fd) : m_fd(fd) {}
    ~PortLines() override { ::close(m_fd); }
    PortLines(const PortLines&) = delete;
    PortLines& operator=(const PortLines&) = delete;

    int waitForChange() override { return ::ioctl(m_fd, TIOCMIWAIT, TIOCM_CTS | TIOCM_DSR) == 0 ? 0 : errno; }
    int read(bool& cts, bool& dsr) override
    {
        int lines = 0;
        if (::ioctl(m_fd, TIOCMGET, &lines) != 0)
            return errno;
        cts = (lines & TIOCM_CTS) != 0;
        dsr = (lines & TIOCM_DSR) != 0;
        return 0;
    }
    void sleepUntil(KeyTime time) override
    {
        const timespec until{static_cast<time_t>(time / MicrosecondsPerSecond),
                             static_cast<long>(time % MicrosecondsPerSecond) * 1000};
        clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr);
    }

private:
    int m_fd;
};

#endif

} // namespace

SerialKeyingSource::SerialKeyingSource(Port port, QObject* parent) : KeyingSource(parent), m_port(std::move(port)) {}

SerialKeyingSource::SerialKeyingSource(Port port, std::unique_ptr<ModemLines> lines, QObject* parent)
    : KeyingSource(parent), m_port(std::move(port)), m_lines(std::move(lines))
{}

SerialKeyingSource::~SerialKeyingSource()
{
    stop();
}

QString SerialKeyingSource::describeFailure(int error, const QString& device)
{
    switch (error) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return u"Le port série %1 n'existe pas ou n'est plus branché."_s.arg(device) + KeyboardStays;
    case EBUSY:
    case EWOULDBLOCK:
        return u"Le port série %1 est occupé par un autre programme."_s.arg(device) + KeyboardStays;
    case EACCES:
    case EPERM:
        return u"Accès refusé au port série %1 (droits insuffisants)."_s.arg(device) + KeyboardStays;
    case EINVAL:
    case ENOTTY:
        return u"Le périphérique %1 n'a pas de lignes de modem (CTS, DSR)\u202F: un manipulateur ne peut pas y être "
               u"lu."_s.arg(device) +
               KeyboardStays;
    case EIO:
        return u"Le port série %1 a disparu ou ne répond plus (débranché\u202F?)."_s.arg(device) + KeyboardStays;
    default:
        return u"Le port série %1 ne peut pas être lu (erreur système %2)."_s.arg(device).arg(error) + KeyboardStays;
    }
}

bool SerialKeyingSource::tableShowsRts(const QString& table, const QString& device)
{
    static const QRegularExpression builtIn(u"^/dev/ttyS(\\d+)$"_s);
    const QRegularExpressionMatch name = builtIn.match(device);
    if (!name.hasMatch())
        return false;
    // "0: uart:16550A port:000003F8 irq:4 tx:0 rx:0 RTS|CTS|DTR|DSR"
    const QRegularExpression line(u"^%1:[^\\n]*[\\s|]RTS(\\||\\s|$)"_s.arg(name.captured(1)),
                                  QRegularExpression::MultilineOption);
    return line.match(table).hasMatch();
}

#ifdef Q_OS_LINUX

bool SerialKeyingSource::start(QString& failure)
{
    if (m_reader.joinable())
        return true;
    if (!m_lines && m_port.device.isEmpty()) {
        failure = u"Aucun port série ne porte le numéro du passage en émission («\u202Fcom\u202F»)."_s + KeyboardStays;
        return false;
    }
    if (!m_lines && !open(failure))
        return false;
    WakeSignal();
    m_stopping = false;
    m_finished = false;
    m_reader = std::thread([this] { run(); });
    return true;
}

namespace {

// Whether another live process holds the port's lock file (/var/lock/LCK..ttyS0, its process number in text), as
// programs that use a serial port take it; the push-to-talk's own, this process's, is no obstacle.
bool LockedByAnother(const QString& device)
{
    QFile lock(u"/var/lock/LCK.."_s + QFileInfo(device).fileName());
    if (!lock.open(QIODevice::ReadOnly))
        return false;
    const qint64 pid = QString::fromLatin1(lock.read(64)).simplified().section(u' ', 0, 0).toLongLong();
    return pid > 0 && pid != ::getpid() && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
}

} // namespace

bool SerialKeyingSource::open(QString& failure)
{
    if (LockedByAnother(m_port.device)) {
        failure = describeFailure(EBUSY, m_port.device);
        return false;
    }
    QFile table(u"/proc/tty/driver/serial"_s);
    const bool rtsRaised =
        m_port.transmitterKeyed ||
        (table.open(QIODevice::ReadOnly) && tableShowsRts(QString::fromLatin1(table.readAll()), m_port.device));
    const int fd = ::open(QFile::encodeName(m_port.device).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0 && errno == EBUSY && m_port.transmitterKeyed) {
        // The push-to-talk takes the port for itself while the transmitter is keyed (not for root).
        failure = u"Le port série %1 sert au passage en émission pendant que l'exercice est joué\u202F: choisissez de "
                  u"nouveau l'entrée une fois l'exercice fini."_s.arg(m_port.device) +
                  KeyboardStays;
        return false;
    }
    if (fd < 0) {
        failure = describeFailure(errno, m_port.device);
        return false;
    }
    // The open raised RTS: down again before anything else.
    const int rts = TIOCM_RTS;
    if (!rtsRaised)
        ::ioctl(fd, TIOCMBIC, &rts);
    int lines = 0;
    termios settings = {};
    const bool usable =
        ::flock(fd, LOCK_SH | LOCK_NB) == 0 && ::tcgetattr(fd, &settings) == 0 && ::ioctl(fd, TIOCMGET, &lines) == 0;
    const int error = usable ? 0 : errno;
    if (error == 0) {
        // No flow control (the kernel would drive RTS itself) and no hang-up when the carrier line drops: a key
        // interface seldom wires it.
        settings.c_cflag = (settings.c_cflag & ~tcflag_t(CRTSCTS)) | CLOCAL;
        ::tcsetattr(fd, TCSANOW, &settings);
        m_lines = std::make_unique<PortLines>(fd);
        return true;
    }
    failure = describeFailure(error, m_port.device);
    ::close(fd);
    return false;
}

void SerialKeyingSource::stop()
{
    if (m_reader.joinable()) {
        m_stopping = true;
        while (!m_finished) {
            pthread_kill(m_reader.native_handle(), WakeSignal());
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        m_reader.join();
    }
    m_lines.reset();
}

void SerialKeyingSource::run()
{
    ModemLineFilter filter(m_port.debounceMs);
    bool reading = readLines(filter);
    while (reading && !m_stopping) {
        if (const std::optional<KeyTime> at = filter.recheckAt()) {
            m_lines->sleepUntil(*at);
        } else if (const int error = m_lines->waitForChange(); error != 0 && error != EINTR) {
            fail(error);
            break;
        }
        reading = m_stopping || readLines(filter);
    }
    m_finished = true;
}

bool SerialKeyingSource::readLines(ModemLineFilter& filter)
{
    const KeyTime now = InputTimeNow();
    bool cts = false;
    bool dsr = false;
    if (const int error = m_lines->read(cts, dsr)) {
        fail(error);
        return false;
    }
    const std::vector<LineEdge> edges = filter.read(now, cts, dsr);
    if (edges.empty())
        return true;
    // Handed to the window's thread through this object's own queue: deleted with it, so that nothing comes once
    // the source is stopped or gone.
    QMetaObject::invokeMethod(
        this,
        [this, edges] {
            for (const LineEdge& e : edges) {
                if (!m_stopping)
                    emit edge(e.input, e.down, e.time);
            }
        },
        Qt::QueuedConnection);
    return true;
}

void SerialKeyingSource::fail(int error)
{
    const QString message = describeFailure(error, m_port.device);
    QMetaObject::invokeMethod(
        this,
        [this, message] {
            if (!m_stopping)
                emit failed(message);
        },
        Qt::QueuedConnection);
}

#else

bool SerialKeyingSource::start(QString& failure)
{
    failure = u"La lecture d'un manipulateur sur le port série n'est possible que sous Linux."_s + KeyboardStays;
    return false;
}

void SerialKeyingSource::stop() {}

#endif
