#include "qt/widgets/DialogUnits.h"

#include <QFont>

QFont DialogFont() {
    // Close to the metrics of the classic 8-point dialog font that the layouts were made for.
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStretch(QFont::Condensed);
    font.setPixelSize(11);
    return font;
}

void CentreOver(QWidget* dialog, const QWidget* owner) {
    if (!dialog || !owner)
        return;
    const QRect over = owner->window()->frameGeometry();
    dialog->move(over.center() - QPoint(dialog->width() / 2, dialog->height() / 2));
}
