#include "qt/grid/CapTextQt.h"

#include "core/legend/LegendSheet.h"

#include <QColor>
#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

QFontMetricsF Metrics(const QFont& font, QPaintDevice* device) {
    return device ? QFontMetricsF(font, device) : QFontMetricsF(font);
}

QFont Sized(const QFont& base, int pixelSize) {
    QFont font = base;
    font.setPixelSize(std::max(1, pixelSize));
    return font;
}

// The ways a name may be set: whole on one line, or each break between words.
std::vector<QStringList> Arrangements(const QString& text) {
    std::vector<QStringList> result{{text}};
    const std::string utf8 = text.toStdString();
    for (const zr4700::NameBreak& b : zr4700::NameBreaks(utf8)) {
        result.push_back({QString::fromStdString(utf8.substr(0, b.firstEnd)),
                          QString::fromStdString(utf8.substr(b.secondStart))});
    }
    return result;
}

bool Fits(const QStringList& lines, const QSizeF& box, const QFont& font, QPaintDevice* device) {
    const QFontMetricsF metrics = Metrics(font, device);
    if (metrics.height() * lines.size() > box.height() + 0.01)
        return false;
    for (const QString& line : lines) {
        if (metrics.horizontalAdvance(line) > box.width() + 0.01)
            return false;
    }
    return true;
}

// The largest size from maxSize down to minSize at which the lines fit, 0 if none. Text grows
// about linearly with its size, so one measurement at the largest size gives a close first
// guess; the few sizes below it are then checked as the font really renders (hinting).
int LargestFittingSize(const QStringList& lines, const QSizeF& box, const QFont& base, int maxSize,
                       int minSize, QPaintDevice* device) {
    const QFontMetricsF metrics = Metrics(Sized(base, maxSize), device);
    qreal widest = 0;
    for (const QString& line : lines)
        widest = std::max(widest, metrics.horizontalAdvance(line));
    const qreal tall = metrics.height() * lines.size();
    qreal scale = 1.0;
    if (widest > 0)
        scale = std::min(scale, box.width() / widest);
    if (tall > 0)
        scale = std::min(scale, box.height() / tall);
    int size = std::min(maxSize, static_cast<int>(std::floor(maxSize * scale)) + 1);
    for (; size >= minSize; --size) {
        if (Fits(lines, box, Sized(base, size), device))
            return size;
    }
    return 0;
}

CapText Make(const QFont& font, const QStringList& lines, QPaintDevice* device) {
    return {font, lines, Metrics(font, device).height()};
}

} // namespace

CapText FitCapText(const QString& text, const QSizeF& box, const QFont& base, int maxPixelSize,
                   int minPixelSize, QPaintDevice* device) {
    const QString name = text.trimmed();
    minPixelSize = std::max(1, std::min(minPixelSize, maxPixelSize));
    if (name.isEmpty() || box.width() <= 0 || box.height() <= 0)
        return {Sized(base, minPixelSize), {}, 0};

    int bestSize = 0;
    QStringList best;
    for (const QStringList& lines : Arrangements(name)) {
        const int size = LargestFittingSize(lines, box, base, maxPixelSize, minPixelSize, device);
        if (size > bestSize) {
            bestSize = size;
            best = lines;
        }
    }
    if (bestSize > 0)
        return Make(Sized(base, bestSize), best, device);

    // Nothing fits at the smallest size: two lines where two fit, the second one elided.
    const QFont font = Sized(base, minPixelSize);
    const QFontMetricsF metrics = Metrics(font, device);
    const qreal width = box.width();
    if (metrics.height() * 2 > box.height() + 0.01)
        return Make(font, {metrics.elidedText(name, Qt::ElideRight, width)}, device);
    QString first;
    QString rest;
    for (const zr4700::NameBreak& b : zr4700::NameBreaks(name.toStdString())) {
        const std::string utf8 = name.toStdString();
        const QString head = QString::fromStdString(utf8.substr(0, b.firstEnd));
        if (metrics.horizontalAdvance(head) <= width) {
            first = head;
            rest = QString::fromStdString(utf8.substr(b.secondStart));
        }
    }
    if (first.isEmpty()) {
        // Inside a word: as many characters as fit on the first line.
        int count = 1;
        while (count < name.size() && metrics.horizontalAdvance(name.left(count + 1)) <= width)
            ++count;
        first = name.left(count);
        rest = name.mid(count).trimmed();
    }
    return Make(font,
                {metrics.elidedText(first, Qt::ElideRight, width),
                 metrics.elidedText(rest, Qt::ElideRight, width)},
                device);
}

CapText ElidedCapText(const QString& text, qreal width, const QFont& base, int pixelSize,
                      QPaintDevice* device) {
    const QFont font = Sized(base, pixelSize);
    const QFontMetricsF metrics = Metrics(font, device);
    if (text.isEmpty())
        return {font, {}, metrics.height()};
    return Make(font, {metrics.elidedText(text, Qt::ElideRight, width)}, device);
}

void DrawCapText(QPainter& painter, const QRectF& box, const CapText& text, const QColor& colour) {
    if (text.lines.isEmpty())
        return;
    painter.save();
    painter.setFont(text.font);
    painter.setPen(colour);
    const qreal total = text.lineHeight * text.lines.size();
    qreal y = box.top() + (box.height() - total) / 2;
    for (const QString& line : text.lines) {
        painter.drawText(QRectF(box.left() - box.width(), y, box.width() * 3, text.lineHeight),
                         Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine, line);
        y += text.lineHeight;
    }
    painter.restore();
}
