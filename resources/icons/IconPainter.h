// Draws the tray pictures and the program icon pixel by pixel: a monitor overlapped by a
// clock dial, in the standard 16-colour palette on a transparent background.
#pragma once

#include <QImage>
#include <QString>

#include <array>

namespace IconPainter {

// What the dial shows.
enum class Dial
{
    Hand,   // progress step 0: a grey hand to 12
    Sector, // progress steps 1..14: a teal sector
    Full,   // progress step 15: all red, maroon rim
    Idle,   // switched off: black screen, a grey centre dot
};

// The picture of one state at size x size pixels (a multiple of 16 looks best); step is
// used by Sector.
QImage draw(int size, Dial dial, int step = 0);
// The progress picture of step 0..15.
QImage progress(int size, int step);
// ImageN of the main window (1..17) for the step table; Image6 is the idle picture.
QImage trayImage(int size, int image);
// The program icon, drawn at any size; these are the ones committed and installed.
QImage programIcon(int size);
inline constexpr std::array<int, 6> ProgramIconSizes{16, 32, 48, 64, 128, 256};
// The program icon as scalable SVG: the same shapes in sixteenths, drawn with the proportions
// of the large pictures.
QString programIconSvg();

} // namespace IconPainter
