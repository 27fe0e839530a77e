#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

// The single-byte Western European code page of the program's files (sign file, exercise text file).

// Bytes to text: 0x80-0x9F through the code page's table, every other byte as Latin-1.
QString FromWindows1252(const QByteArray& bytes);

// Text to bytes; a character the code page lacks becomes "?".
QByteArray ToWindows1252(QStringView text);

// The code (0-255) of one character in the code page, or 63 ("?") when the page lacks it.
unsigned char Windows1252Code(QChar c);

// Whether the bytes begin with the byte-order mark of UTF-16 or UTF-32 (Notepad's "Unicode" files): the only
// texts that hold NUL bytes.
bool IsWideText(const QByteArray& bytes);

// A text file as the user means it: UTF-16 or UTF-32 after their byte-order mark, UTF-8 when the bytes are valid
// UTF-8 (a leading byte-order mark dropped), otherwise Windows-1252.
QString DecodeTextFile(const QByteArray& bytes);
