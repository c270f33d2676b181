#pragma once

// Window geometry is kept in twips in the settings file (15 twips per pixel).

#include <QFont>

namespace arbrix {

constexpr int TwipsParPixel = 15;
constexpr int EnPixels(int twips) {
    return twips / TwipsParPixel;
}
constexpr int EnTwips(int pixels) {
    return pixels * TwipsParPixel;
}

// The font of every window: the desktop's interface font.
QFont PoliceInterface();

} // namespace arbrix
