#pragma once

#include <QPixmap>

// The picture of the settings panel: a straight Morse key, drawn so that no image file is needed.
QPixmap KeyPicture(int size);
