#pragma once
// Fitting a key's name onto its cap: the same rules for the grid on the screen and for the paper
// inserts of a legend sheet. The name gets the largest font size, from a maximum down to a
// minimum, at which it fits the box on one line or on two lines broken between words (or after a
// hyphen or slash); one line wins a tie. A name that fits neither way at the minimum is wrapped
// inside a word or broken where it fits best, and what still does not fit is elided.

#include <QFont>
#include <QRectF>
#include <QStringList>

class QColor;
class QPaintDevice;
class QPainter;

struct CapText {
    QFont font;        // pixel size set, in the device units of the painter that draws it
    QStringList lines; // one or two; empty for an empty name
    qreal lineHeight = 0;
};

// Sizes are pixel sizes in the device units of `device` (metrics are taken there; null: the
// screen's).
CapText FitCapText(const QString& text, const QSizeF& box, const QFont& base, int maxPixelSize,
                   int minPixelSize, QPaintDevice* device);

// Draws fitted text centred in a box.
void DrawCapText(QPainter& painter, const QRectF& box, const CapText& text, const QColor& colour);

// One line in a fixed size, elided at the right when it is too long.
CapText ElidedCapText(const QString& text, qreal width, const QFont& base, int pixelSize,
                      QPaintDevice* device);
