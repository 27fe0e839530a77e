// tonique-icons: writes the program's icon into an icon theme folder (hicolor), at build time.

#include "about/Pictures.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("Usage\u202F: tonique-icons DOSSIER_HICOLOR\n", stderr);
        return 2;
    }
    const QDir theme(QString::fromLocal8Bit(argv[1]));
    bool written = true;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString folder = QStringLiteral("%1x%1/apps").arg(size);
        written = theme.mkpath(folder) &&
                  ProgramIconImage(size).save(theme.filePath(folder + u"/tonique.png"), "PNG") && written;
    }
    QFile svg(theme.filePath(QStringLiteral("scalable/apps/tonique.svg")));
    written = theme.mkpath(QStringLiteral("scalable/apps")) && svg.open(QIODevice::WriteOnly) &&
              svg.write(ProgramIconSvg()) > 0 && written;
    if (!written)
        std::fputs("tonique-icons\u202F: impossible d'écrire les icônes\n", stderr);
    return written ? 0 : 1;
}
