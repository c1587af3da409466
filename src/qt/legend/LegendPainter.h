#pragma once
// Draws a legend sheet (layout/LegendSheet.h) with QPainter, onto whatever the user asked for: a
// PDF (QPdfWriter), a printer (QPrinter), an SVG drawing (QSvgGenerator) or a picture (QImage).
// The sheet is in millimetres; each target says how many of its device units make a millimetre.

#include "core/legend/LegendSheet.h"

#include <QString>

#include <filesystem>
#include <vector>

class QPainter;
class QPrinter;

namespace LegendPainter {

enum class Format { Unknown, Pdf, Svg, Png };

// By the file name's extension, ignoring case.
Format FormatOf(const QString& path);
Format FormatOf(const std::filesystem::path& path);
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
std::vector<std::filesystem::path> PagePaths(const std::filesystem::path& path, Format format,
                                             int pageCount);

// Writes the sheet in the format of the file's extension. Returns an empty string, or the
// message to show when the file cannot be written. Each file is written as layout files are
// saved: beside the target, then renamed over it, so a failed or killed export leaves the file
// that was there as it was; anything but a regular file (a pipe, a device) is refused, without
// waiting on it.
QString Export(const zr4700::LegendSheet& sheet, const QString& path);
// The same at a path given as the system's bytes, whatever their encoding.
QString Export(const zr4700::LegendSheet& sheet, const std::filesystem::path& path);

} // namespace LegendPainter
