#include "cli/StandardOutput.h"

#include "common/FileErrors.h"

#include <cerrno>
#include <cstdio>

namespace {

int g_outputError = 0; // errno of the first failed write (0 when the system gave none)
bool g_outputFailed = false;

void keepFailure()
{
    if (!g_outputFailed) {
        g_outputFailed = true;
        g_outputError = errno;
    }
}

} // namespace

void WriteStandardOutput(const QString& text)
{
    const QByteArray bytes = text.toLocal8Bit();
    errno = 0;
    if (std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) != size_t(bytes.size()))
        keepFailure();
}

void WriteStandardError(const QString& text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
}

int FinishStandardOutput(const QString& program, int status)
{
    errno = 0;
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        keepFailure();
    if (!g_outputFailed)
        return status;
    WriteStandardError(program + u"\u202F: impossible d'écrire sur la sortie standard\u202F: " +
                       FileFailureReason(g_outputError, QFileDevice::WriteError) + u".\n");
    return 2;
}
