// Resource numbers of the icons made at build time from the painter's drawings.
#pragma once

namespace TrayIcons {

// The program's own icon, the first one, which Explorer shows for the .exe.
inline constexpr int Program = 1;
// ImageN of the main window (N = 1..17) is icon FirstImage + N - 1.
inline constexpr int FirstImage = 101;
inline constexpr int ImageCount = 17;

} // namespace TrayIcons
