#pragma once

#include <QStringView>

#include <optional>

// The serial port number typed in Text15: its leading number, if above 0 and below 10, rounded to the nearest whole
// number (a half to the even one). Nothing when the text gives no port from 1 to 9 ("", "abc", "0", "10", "0.4");
// the previous port number then stays.
std::optional<int> PortNumberFromText(QStringView text);
