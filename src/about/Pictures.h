#pragma once

#include <QByteArray>
#include <QImage>
#include <QPixmap>

// The program's pictures, drawn so that no image file is needed.

// The settings panel's picture: a straight Morse key.
QPixmap KeyPicture(int size);

// The program's icon: a dot and a dash on a round plate.
QPixmap ProgramIcon(int size);
QImage ProgramIconImage(int size);
// The same drawing as a scalable image (SVG), for the desktop's icon theme.
QByteArray ProgramIconSvg();
