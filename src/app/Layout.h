#pragma once

#include <QtGlobal>

// The window's measures are kept in twips (1/1440 inch) as designed; 15 twips make a pixel at 96 dpi and Qt
// scales pixels for high-density screens.
constexpr int Twips(int twips)
{
    return (twips + 7) / 15;
}

namespace WindowSize {
inline constexpr int Width = 8222;       // twips, outer width
inline constexpr int FullHeight = 5592;  // twips, outer height
inline constexpr int CacheHeight = 2200; // twips, with "Cache" ticked: only the rows above the exercise text
inline constexpr int SettingsHeight = 5952;
// The caption bar and borders are outside Qt's client size.
inline constexpr int FramePixels = 30;
} // namespace WindowSize
