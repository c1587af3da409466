#include "app/DialogUnits.h"

#include <QFont>

QFont DialogFont() {
    // Close to the metrics of the classic 8-point dialog font that the layouts were made for.
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStretch(QFont::Condensed);
    font.setPixelSize(11);
    return font;
}
