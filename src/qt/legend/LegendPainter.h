#pragma once
// Draws a legend sheet (layout/LegendSheet.h) with QPainter, onto whatever the user asked for: a
// PDF (QPdfWriter), a printer (QPrinter), an SVG drawing (QSvgGenerator) or a picture (QImage).
// The sheet is in millimetres; each target says how many of its device units make a millimetre.

#include "core/legend/LegendSheet.h"

#include <QString>
#include <QStringList>

class QPainter;
class QPrinter;

namespace LegendPainter {

enum class Format { Unknown, Pdf, Svg, Png };

// By the file name's extension, ignoring case.
Format FormatOf(const QString& path);
QString Extension(Format format); // "pdf", "svg", "png"

// Page size in millimetres from the locale: Letter where the US measurement system is used,
// else A4.
void SetLocalePageSize(zr4700::LegendOptions& options);

// The footer: the layout's file name and today's date.
std::string FooterFor(const QString& layoutPath);

// Draws one page. The painter's origin is the paper's top-left corner and one millimetre is
// dotsPerMm of its units.
void PaintPage(QPainter& painter, const zr4700::LegendSheet& sheet, int pageIndex,
               double dotsPerMm);

// Every page through an active painter on a printer (its pages are started here).
void PrintSheet(QPainter& painter, QPrinter& printer, const zr4700::LegendSheet& sheet);

// Where each page goes: a PDF holds every page; an SVG or PNG file holds one, so the second page
// of "sheet.png" is "sheet-2.png", and so on.
QStringList PagePaths(const QString& path, Format format, int pageCount);

// Writes the sheet in the format of the file's extension. Returns an empty string, or the
// message to show when the file cannot be written.
QString Export(const zr4700::LegendSheet& sheet, const QString& path);

} // namespace LegendPainter
