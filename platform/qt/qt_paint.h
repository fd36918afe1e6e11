#pragma once
// Conversions between the core's values and Qt's, and the painting of
// retained drawings on screen, on pictures and on printer pages.
#include <string>

#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QString>

#include "platform/gfx/display_list.h"
#include "platform/gfx/types.h"

class QPainter;

namespace qtui {

QColor toQColor(gfx::Color c);

// Texts of the core hold one byte per character (Latin-1); file paths are
// in the local file-name encoding.
QString toQString(const std::string& s);
std::string fromQString(const QString& s);
QString pathToQString(const std::string& path);
std::string pathFromQString(const QString& path);

// Twips to whole screen pixels, rounded; absurd and NaN values are clamped.
int toPixels(gfx::Twips t);

// The fixed-pitch font of drawn and printed text, sized for a device with
// the given number of device units per twip.
QFont fixedFont(float points, double unitsPerTwip);
// The control font of the windows, at screen size.
QFont controlFont(const std::string& family, float points, bool bold);

// Paints a display list with coordinates in twips onto a device with the
// given number of device units per twip (1/15 on screen). Lines are
// drawWidth screen pixels wide; a box of zero width or height still shows.
void paintDisplayList(QPainter& painter, const gfx::DisplayList& list, double unitsPerTwip,
                      bool smoothSlopes = false);

// A stored picture as a pixmap: its image file, or its drawing on a
// transparent ground of the picture's size. Null when it has neither.
QPixmap renderPicture(const gfx::Picture& picture);

}  // namespace qtui
