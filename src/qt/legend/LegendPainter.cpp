#include "qt/legend/LegendPainter.h"

#include "core/legend/LegendSvg.h"
#include "engine/AtomicFileWrite.h"
#include "qt/grid/CapTextQt.h"
#include "qt/platform/NameText.h"
#include "qt/platform/Resources.h"

#include <QBuffer>
#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLocale>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSvgGenerator>

#include <cmath>

using namespace zr4700;

namespace {

// A PDF or a printer draws at its own high resolution; pictures are made for printing too.
constexpr int kPdfDpi = 1200;
constexpr int kSvgDpi = 254; // ten units a millimetre
constexpr int kPngDpi = 300;

QFont LegendFont() {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setStretch(QFont::SemiCondensed);
    return font;
}

QRectF Scaled(const RectMm& r, double dotsPerMm) {
    return QRectF(r.x * dotsPerMm, r.y * dotsPerMm, r.width * dotsPerMm, r.height * dotsPerMm);
}

int Pixels(double mm, double dotsPerMm) {
    return std::max(1, static_cast<int>(std::lround(mm * dotsPerMm)));
}

// A path as messages show it.
QString DisplayName(const std::filesystem::path& path) {
#ifdef _WIN32
    return QString::fromStdWString(path.wstring());
#else
    return QFile::decodeName(QByteArray::fromStdString(path.string()));
#endif
}

QString FooterText(const LegendSheet& sheet, int pageIndex) {
    QString text = QString::fromStdString(sheet.options.footer);
    if (sheet.pages.size() > 1) {
        const QString page = Resources::String("legend.page")
                                 .arg(pageIndex + 1)
                                 .arg(static_cast<int>(sheet.pages.size()));
        text = text.isEmpty() ? page : text + QStringLiteral("    ") + page;
    }
    return text;
}

} // namespace

namespace LegendPainter {

Format FormatOf(const std::filesystem::path& path) {
    return FormatOf(DisplayName(path.filename()));
}

Format FormatOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("pdf"))
        return Format::Pdf;
    if (suffix == QLatin1String("svg"))
        return Format::Svg;
    if (suffix == QLatin1String("png"))
        return Format::Png;
    return Format::Unknown;
}

QString Extension(Format format) {
    switch (format) {
    case Format::Pdf:
        return QStringLiteral("pdf");
    case Format::Svg:
        return QStringLiteral("svg");
    case Format::Png:
        return QStringLiteral("png");
    case Format::Unknown:
        break;
    }
    return {};
}

void SetLocalePageSize(LegendOptions& options) {
    const bool letter = QLocale::system().measurementSystem() == QLocale::ImperialUSSystem;
    const QSizeF size =
        QPageSize(letter ? QPageSize::Letter : QPageSize::A4).size(QPageSize::Millimeter);
    options.pageWidthMm = size.width();
    options.pageHeightMm = size.height();
}

std::string FooterFor(const QString& layoutPath) {
    const QString name = QFileInfo(layoutPath).fileName();
    const QString date = QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
    return Resources::String("legend.footer").arg(name, date).toStdString();
}

void PaintPage(QPainter& painter, const LegendSheet& sheet, int pageIndex, double dotsPerMm) {
    if (pageIndex < 0 || pageIndex >= static_cast<int>(sheet.pages.size()))
        return;
    const LegendPage& page = sheet.pages[static_cast<std::size_t>(pageIndex)];
    QPaintDevice* device = painter.device();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);

    // A faint outline shows each insert's edge; the cut marks say where to cut.
    QPen outline(QColor(200, 200, 200));
    outline.setWidthF(0.1 * dotsPerMm);
    painter.setPen(outline);
    painter.setBrush(Qt::NoBrush);
    for (const LegendCap& cap : page.caps)
        painter.drawRect(Scaled(cap.insert, dotsPerMm));
    QPen mark(Qt::black);
    mark.setWidthF(0.15 * dotsPerMm);
    mark.setCapStyle(Qt::FlatCap);
    painter.setPen(mark);
    for (const LineMm& line : page.cutMarks)
        painter.drawLine(QPointF(line.x1 * dotsPerMm, line.y1 * dotsPerMm),
                         QPointF(line.x2 * dotsPerMm, line.y2 * dotsPerMm));

    const QFont font = LegendFont();
    const double unit = sheet.options.pitchMm - 2 * sheet.options.marginMm;
    // Every insert, blank or not, says in its corner which key it goes on.
    QFont numberFont = font;
    painter.setPen(QColor(90, 90, 90));
    for (const LegendCap& cap : page.caps) {
        if (cap.numberBox.height <= 0 || cap.numberBox.width <= 0)
            continue;
        numberFont.setPixelSize(Pixels(cap.numberBox.height * 0.8, dotsPerMm));
        painter.setFont(numberFont);
        painter.drawText(Scaled(cap.numberBox, dotsPerMm),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                         QString::number(cap.key));
    }
    for (const LegendCap& cap : page.caps) {
        if (!cap.programmed)
            continue;
        const QRectF nameBox = Scaled(cap.nameBox, dotsPerMm);
        // Bigger caps may carry bigger letters, but a quad's name should not shout.
        const double largest = unit * (cap.shape == CapShape::Quad ? 0.4 : 0.3);
        const CapText name = FitCapText(NameText(cap.name), nameBox.size(), font,
                                        Pixels(largest, dotsPerMm), Pixels(1.6, dotsPerMm), device);
        DrawCapText(painter, nameBox, name, Qt::black);
        if (cap.codeBox.height > 0 && !cap.codeNames.empty()) {
            const QRectF codeBox = Scaled(cap.codeBox, dotsPerMm);
            const CapText codes =
                ElidedCapText(QString::fromStdString(cap.codeNames), codeBox.width(), font,
                              Pixels(cap.codeBox.height * 0.75, dotsPerMm), device);
            DrawCapText(painter, codeBox, codes, QColor(80, 80, 80));
        }
    }

    const QString footer = FooterText(sheet, pageIndex);
    if (!footer.isEmpty() && page.footerBox.height > 0) {
        const QRectF box = Scaled(page.footerBox, dotsPerMm);
        QFont small = font;
        small.setPixelSize(Pixels(page.footerBox.height * 0.55, dotsPerMm));
        painter.setFont(small);
        painter.setPen(QColor(60, 60, 60));
        painter.drawText(
            box, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
            QFontMetricsF(small, device).elidedText(footer, Qt::ElideMiddle, box.width()));
    }
    painter.restore();
}

void PrintSheet(QPainter& painter, QPrinter& printer, const LegendSheet& sheet) {
    const double dotsPerMm = printer.resolution() / 25.4;
    for (int i = 0; i < static_cast<int>(sheet.pages.size()); ++i) {
        if (i > 0)
            printer.newPage();
        PaintPage(painter, sheet, i, dotsPerMm);
    }
}

std::vector<std::filesystem::path> PagePaths(const std::filesystem::path& path, Format format,
                                             int pageCount) {
    return LegendPagePaths(path, format != Format::Pdf, pageCount);
}

QString Export(const LegendSheet& sheet, const QString& path) {
#ifdef _WIN32
    return Export(sheet, std::filesystem::path(path.toStdWString()));
#else
    return Export(sheet, std::filesystem::path(QFile::encodeName(path).toStdString()));
#endif
}

QString Export(const LegendSheet& sheet, const std::filesystem::path& path) {
    const Format format = FormatOf(path);
    if (format == Format::Unknown)
        return Resources::String("legend.unknownFormat").arg(DisplayName(path));
    const int pageCount = static_cast<int>(sheet.pages.size());
    const QSizeF pageMm(sheet.pageWidthMm, sheet.pageHeightMm);
    const std::vector<std::filesystem::path> paths = PagePaths(path, format, pageCount);

    // Every file is drawn in memory first: nothing is written unless all of it could be drawn.
    std::vector<QByteArray> files(paths.size());
    for (std::size_t i = 0; i < files.size(); ++i) {
        QBuffer buffer(&files[i]);
        buffer.open(QIODevice::WriteOnly);
        QPainter painter;
        bool drawn = false;
        if (format == Format::Pdf) {
            QPdfWriter writer(&buffer);
            writer.setCreator(QStringLiteral("zr4700"));
            writer.setTitle(QString::fromStdString(sheet.options.footer));
            writer.setResolution(kPdfDpi);
            writer.setPageSize(QPageSize(pageMm, QPageSize::Millimeter));
            writer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
            if (painter.begin(&writer)) {
                for (int page = 0; page < pageCount; ++page) {
                    if (page > 0)
                        writer.newPage();
                    PaintPage(painter, sheet, page, kPdfDpi / 25.4);
                }
                drawn = painter.end();
            }
        } else {
            const double dotsPerMm = (format == Format::Svg ? kSvgDpi : kPngDpi) / 25.4;
            const QSize size(Pixels(pageMm.width(), dotsPerMm), Pixels(pageMm.height(), dotsPerMm));
            const int page = static_cast<int>(i);
            if (format == Format::Svg) {
                QSvgGenerator generator;
                generator.setOutputDevice(&buffer);
                generator.setSize(size);
                generator.setViewBox(QRect(QPoint(0, 0), size));
                generator.setResolution(kSvgDpi);
                generator.setTitle(QString::fromStdString(sheet.options.footer));
                if (painter.begin(&generator)) {
                    PaintPage(painter, sheet, page, dotsPerMm);
                    drawn = painter.end();
                }
            } else {
                QImage image(size, QImage::Format_RGB32);
                image.fill(Qt::white);
                const int dotsPerMeter = static_cast<int>(std::lround(dotsPerMm * 1000));
                image.setDotsPerMeterX(dotsPerMeter);
                image.setDotsPerMeterY(dotsPerMeter);
                if (painter.begin(&image)) {
                    PaintPage(painter, sheet, page, dotsPerMm);
                    drawn = painter.end() && image.save(&buffer, "PNG");
                }
            }
        }
        if (!drawn || files[i].isEmpty())
            return Resources::String("legend.cannotWrite").arg(DisplayName(paths[i]));
    }

    for (std::size_t i = 0; i < files.size(); ++i) {
        std::string reason;
        const std::string_view bytes(files[i].constData(),
                                     static_cast<std::size_t>(files[i].size()));
        if (!ReplaceFileAtomically(paths[i], bytes, &reason))
            return Resources::String("legend.cannotWriteReason")
                .arg(DisplayName(paths[i]), QString::fromStdString(reason));
    }
    return {};
}

} // namespace LegendPainter
