// Draws the tray pictures and the program icon pixel by pixel.
#include "resources/icons/IconPainter.h"

#include "core/TrayStatus.h"

#include <array>
#include <cmath>
#include <numbers>

namespace IconPainter {
namespace {

// The standard 16-colour palette entries the pictures use.
constexpr QRgb Black = 0xff000000;
constexpr QRgb Maroon = 0xff800000;
constexpr QRgb Teal = 0xff008080;
constexpr QRgb Silver = 0xffc0c0c0;
constexpr QRgb Grey = 0xff808080;
constexpr QRgb Red = 0xffff0000;
constexpr QRgb Blue = 0xff0000ff;
constexpr QRgb Cyan = 0xff00ffff;
constexpr QRgb White = 0xffffffff;

void drawMonitor(QImage& image, double f, bool on)
{
    const int line = std::max(1, static_cast<int>(std::lround(f * 0.75)));
    const int frame = static_cast<int>(std::lround(f));
    const auto px = [f](double units) { return static_cast<int>(std::lround(units * f)); };
    // Case 0..12 wide, 0..9 high, then a neck and a foot, all in sixteenths of the picture.
    const int x0 = 0, x1 = px(12), y0 = px(0.5), y1 = px(9.5);
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            QRgb c = Blue;
            if (x < x0 + line || x >= x1 - line || y < y0 + line || y >= y1 - line) {
                c = Black;
            } else if (x < x0 + line + frame || x >= x1 - line - frame || y < y0 + line + frame ||
                       y >= y1 - line - frame) {
                c = Silver;
            } else if (!on) {
                c = Black;
            } else {
                // A one-pixel glint across the screen's top-left corner.
                const int dx = x - (x0 + line + frame);
                const int dy = y - (y0 + line + frame);
                if (dx + dy == frame) {
                    c = White;
                }
            }
            image.setPixel(x, y, c);
        }
    }
    for (int y = y1; y < px(10.5); ++y) {
        for (int x = px(5); x < px(7); ++x) {
            image.setPixel(x, y, Grey);
        }
    }
    for (int y = px(10.5); y < px(11.5); ++y) {
        for (int x = px(2); x < px(10); ++x) {
            image.setPixel(x, y, Black);
        }
    }
}

void drawDial(QImage& image, double f, Dial dial, int step)
{
    const double cx = 10.5 * f;
    const double cy = 10.5 * f;
    const double outer = 5.5 * f;
    const double line = std::max(1.0, std::round(f * 0.75));
    const double rim = f;
    const double face = outer - line - rim;
    const double sweep = 2 * std::numbers::pi * step / 16;
    const int size = image.width();
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const double dx = x + 0.5 - cx;
            const double dy = y + 0.5 - cy;
            const double d = std::hypot(dx, dy);
            if (d > outer) {
                continue;
            }
            QRgb c = White;
            const bool onVertical = std::abs(dx) < f / 2;
            const bool onHorizontal = std::abs(dy) < f / 2;
            if (d > outer - line) {
                c = Black;
            } else if (d > face) {
                c = dial == Dial::Full ? Maroon : Cyan;
            } else if (dial == Dial::Full) {
                c = Red;
            } else if (d > face - f && (onVertical || onHorizontal)) {
                c = Red; // the ticks at 12, 3, 6 and 9
            } else if (dial == Dial::Hand) {
                if (onVertical && dy <= f / 2) {
                    c = Grey;
                }
            } else if (dial == Dial::Idle) {
                if (d < 0.75 * f) {
                    c = Grey;
                }
            } else {
                // Clockwise from 12; the very centre belongs to any sector.
                double angle = std::atan2(dx, -dy);
                if (angle < 0) {
                    angle += 2 * std::numbers::pi;
                }
                if (d < 1e-9 || angle < sweep) {
                    c = Teal;
                }
            }
            image.setPixel(x, y, c);
        }
    }
}

} // namespace

QImage draw(int size, Dial dial, int step)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    const double f = size / 16.0;
    drawMonitor(image, f, dial != Dial::Idle);
    drawDial(image, f, dial, step);
    return image;
}

QImage progress(int size, int step)
{
    if (step <= 0) {
        return draw(size, Dial::Hand);
    }
    if (step >= 15) {
        return draw(size, Dial::Full);
    }
    return draw(size, Dial::Sector, step);
}

QImage trayImage(int size, int image)
{
    const int step = trayStepOfImage(image);
    return step < 0 ? draw(size, Dial::Idle) : progress(size, step);
}

QImage programIcon(int size)
{
    return draw(size, Dial::Sector, 4);
}

QString programIconSvg()
{
    // Units of a sixteenth of the picture; line and frame as drawn at 256 pixels.
    constexpr double line = 0.75;
    constexpr double frame = 1;
    constexpr double cx = 10.5;
    constexpr double cy = 10.5;
    constexpr double outer = 5.5;
    constexpr double face = outer - line - frame;
    const auto colour = [](QRgb c) {
        return QStringLiteral("#%1").arg(c & 0xffffff, 6, 16, QLatin1Char('0'));
    };
    const auto rect = [&](double x, double y, double w, double h, QRgb c) {
        return QStringLiteral(
                   "  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" fill=\"%5\"/>\n")
            .arg(x)
            .arg(y)
            .arg(w)
            .arg(h)
            .arg(colour(c));
    };
    const auto circle = [&](double r, QRgb c) {
        return QStringLiteral("  <circle cx=\"%1\" cy=\"%2\" r=\"%3\" fill=\"%4\"/>\n")
            .arg(cx)
            .arg(cy)
            .arg(r)
            .arg(colour(c));
    };
    const double sx = line + frame; // the screen's top-left corner
    const double sy = 0.5 + line + frame;
    QString svg = QStringLiteral(
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
                      "viewBox=\"0 0 16 16\">\n"
                      "  <clipPath id=\"face\"><circle cx=\"%1\" cy=\"%2\" r=\"%3\"/></clipPath>\n")
                      .arg(cx)
                      .arg(cy)
                      .arg(face);
    svg += rect(0, 0.5, 12, 9, Black);
    svg += rect(line, 0.5 + line, 12 - 2 * line, 9 - 2 * line, Silver);
    svg += rect(sx, sy, 12 - 2 * sx, 9 - 2 * (line + frame), Blue);
    // The glint: one pixel wide at 256 pixels, across the screen's top-left corner.
    svg += QStringLiteral("  <path d=\"M%1 %2h%3L%4 %5h-%3z\" fill=\"%6\"/>\n")
               .arg(sx + frame)
               .arg(sy)
               .arg(1.0 / 16)
               .arg(sx + 1.0 / 16)
               .arg(sy + frame)
               .arg(colour(White));
    svg += rect(5, 9.5, 2, 1, Grey);
    svg += rect(2, 10.5, 8, 1, Black);
    svg += circle(outer, Black);
    svg += circle(outer - line, Cyan);
    svg += circle(face, White);
    // Progress step 4: a quarter from 12 clockwise to 3.
    svg += QStringLiteral("  <path d=\"M%1 %2V%3A%4 %4 0 0 1 %5 %2z\" fill=\"%6\"/>\n")
               .arg(cx)
               .arg(cy)
               .arg(cy - face)
               .arg(face)
               .arg(cx + face)
               .arg(colour(Teal));
    // The ticks at 12, 3, 6 and 9, one unit deep inside the face.
    svg += QStringLiteral("  <g clip-path=\"url(#face)\">\n");
    svg += rect(cx - 0.5, cy - face, 1, 1, Red);
    svg += rect(cx - 0.5, cy + face - 1, 1, 1, Red);
    svg += rect(cx - face, cy - 0.5, 1, 1, Red);
    svg += rect(cx + face - 1, cy - 0.5, 1, 1, Red);
    svg += QStringLiteral("  </g>\n</svg>\n");
    return svg;
}

} // namespace IconPainter
