#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>

namespace tarwick {

// The program's pictures, known by their bitmap numbers (128 is the application icon).
namespace Bitmap {
inline constexpr int AppIcon = 128;
inline constexpr int Edit = 129;
inline constexpr int Play = 130;
inline constexpr int Stop = 131;
inline constexpr int Logo = 132;
inline constexpr int VanitygenCredit = 133;
inline constexpr int Exit = 134;
inline constexpr int Sheet = 135;
inline constexpr int Floppy = 136;
inline constexpr int About = 137;
inline constexpr int Info = 138;
inline constexpr int BitcoinSign = 139;
inline constexpr int Key = 140;
inline constexpr int TwoPages = 141;
inline constexpr int DeleteKey = 142;
inline constexpr int DeleteList = 143;
inline constexpr int Book = 144;
inline constexpr int Gauge = 145;
} // namespace Bitmap

// The picture drawn at the given size; a null pixmap when the number is unknown, so a missing
// image leaves its control without one.
QPixmap artwork(int bitmapId, QSize size);
QPixmap artwork(int bitmapId);
QIcon applicationIcon();

} // namespace tarwick
