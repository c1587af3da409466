// Generates the program's pictures: the key caps of the keyboard grid, the About box picture and
// the application icon. Everything is painted with QPainter; nothing is read from disk.
//
// Usage: zr4700-keycap-gen OUTPUT_DIR [--sheet SHEET.png]
//   Writes OUTPUT_DIR/bitmaps/*.png and OUTPUT_DIR/icons/*.png (OUTPUT_DIR is normally
//   resources/). With --sheet, also renders a contact sheet of every picture as the program shows
//   them (34 px per key unit, at 1x and 2x) for a visual check; the sheet is not a resource.

#include <QColor>
#include <QDir>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <map>
#include <vector>

namespace {

// Stored pixels per key unit, and the pixels per key unit the grid draws them at.
constexpr int kStoredUnit = 39;
constexpr int kDrawnUnit = 34;
// Scale of the high-resolution variants.
constexpr int kHiResScale = 4;

// Bevel widths of a key cap in stored pixels (a 39 px key unit). The lower bevel is the widest
// and the top the narrowest, so the face sits a little high, as on a real key seen from above.
constexpr qreal kOutline = 1.0;
constexpr qreal kBevelTop = 3.0;
constexpr qreal kBevelSide = 4.0;
constexpr qreal kBevelBottom = 5.0;

struct CapColours {
    QColor outline;
    QColor top;     // upper bevel, lit
    QColor left;    // left bevel, lit a little less
    QColor right;   // right bevel, in shade
    QColor bottom;  // lower bevel, darkest
    QColor rim;     // 1 px highlight along the outer top and left edges
    QColor faceTop; // face gradient, top
    QColor faceBottom;
    QColor faceEdge; // thin line where the face meets the lower and right bevels
};

struct CapPicture {
    int id;
    int unitsWide;
    int unitsTall;
    CapColours colours;
};

QColor Rgb(unsigned rgb) {
    return QColor::fromRgb(rgb);
}

// Dark blue: a blank key.
const CapColours kBlue{Rgb(0x0a1433), Rgb(0x6f8fe6), Rgb(0x4c6cc8), Rgb(0x1a2d78), Rgb(0x101d52),
                       Rgb(0xa9bcf2), Rgb(0x3256c0), Rgb(0x22409e), Rgb(0x182f7a)};
// Salmon-red with a dark red lower bevel: a programmed key.
const CapColours kSalmon{Rgb(0x3a0806), Rgb(0xffc2b4), Rgb(0xf9a090), Rgb(0xb23a2c), Rgb(0x7e1410),
                         Rgb(0xffe2da), Rgb(0xfb9482), Rgb(0xf0705e), Rgb(0xc84a3c)};
// Grey: a key the keyboard does not have. Soft outline and low contrast, so it reads as inert.
const CapColours kGrey{Rgb(0x6c6c6c), Rgb(0xd6d6d6), Rgb(0xc4c4c4), Rgb(0x8c8c8c), Rgb(0x7c7c7c),
                       Rgb(0xe6e6e6), Rgb(0xb2b2b2), Rgb(0xa6a6a6), Rgb(0x989898)};
// Red: a key cap spanning two or four keys.
const CapColours kRed{Rgb(0x3a0606), Rgb(0xff9c8c), Rgb(0xf27462), Rgb(0xa01c14), Rgb(0x6e0c08),
                      Rgb(0xffcfc4), Rgb(0xee5a48), Rgb(0xd8402e), Rgb(0xa82a1e)};
// Yellow bevels of the selected key, around a red or a blue face.
CapColours Selected(const CapColours& face) {
    CapColours c = face;
    c.outline = Rgb(0x2a2000);
    c.top = Rgb(0xfff27a);
    c.left = Rgb(0xffe23a);
    c.right = Rgb(0xd4a800);
    c.bottom = Rgb(0xa88000);
    c.rim = Rgb(0xfffbd0);
    return c;
}

const std::vector<CapPicture>& CapPictures() {
    static const std::vector<CapPicture> pictures{
        {152, 1, 1, kBlue},          {153, 1, 1, kSalmon},
        {154, 1, 1, kGrey},          {155, 1, 2, kRed},
        {156, 2, 1, kRed},           {157, 2, 2, kRed},
        {166, 1, 1, Selected(kRed)}, {167, 1, 1, Selected(kBlue)},
    };
    return pictures;
}

QPolygonF Quad(QPointF a, QPointF b, QPointF c, QPointF d) {
    return QPolygonF({a, b, c, d});
}

// Paints one key cap filling (0, 0, w, h), in stored-pixel coordinates.
void PaintCap(QPainter& p, qreal w, qreal h, const CapColours& c) {
    p.save();
    p.setPen(Qt::NoPen);

    const QRectF outer(0, 0, w, h);
    const QRectF bevel = outer.adjusted(kOutline, kOutline, -kOutline, -kOutline);
    const QRectF face = bevel.adjusted(kBevelSide, kBevelTop, -kBevelSide, -kBevelBottom);

    p.fillRect(outer, c.outline);

    // The bevel's four sides, mitred at the corners. The whole ring is filled with the lower
    // bevel's colour first, so that antialiased mitres never show the outline through them.
    p.fillRect(bevel, c.bottom);
    p.setBrush(c.right);
    p.drawPolygon(Quad(bevel.topRight(), bevel.bottomRight(), face.bottomRight(), face.topRight()));
    p.setBrush(c.left);
    p.drawPolygon(Quad(bevel.topLeft(), face.topLeft(), face.bottomLeft(), bevel.bottomLeft()));
    p.setBrush(c.top);
    p.drawPolygon(Quad(bevel.topLeft(), bevel.topRight(), face.topRight(), face.topLeft()));

    // A lit rim along the outer top and left edges, one stored pixel wide.
    p.setBrush(c.rim);
    p.drawPolygon(Quad(bevel.topLeft(), bevel.topRight(), bevel.topRight() + QPointF(-1, 1),
                       bevel.topLeft() + QPointF(1, 1)));
    p.drawPolygon(Quad(bevel.topLeft(), bevel.topLeft() + QPointF(1, 1),
                       bevel.bottomLeft() + QPointF(1, -1), bevel.bottomLeft()));

    // The face: a gentle top-to-bottom gradient, with a thin shaded edge at its lower right.
    p.fillRect(face, c.faceEdge);
    QLinearGradient gradient(face.topLeft(), face.bottomLeft());
    gradient.setColorAt(0, c.faceTop);
    gradient.setColorAt(1, c.faceBottom);
    p.fillRect(face.adjusted(0, 0, -0.75, -0.75), gradient);

    p.restore();
}

QImage NewImage(int width, int height, bool opaque) {
    QImage image(width, height,
                 opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
    image.fill(opaque ? Qt::black : Qt::transparent);
    return image;
}

QImage RenderCap(const CapPicture& cap, int scale) {
    const int w = cap.unitsWide * kStoredUnit;
    const int h = cap.unitsTall * kStoredUnit;
    QImage image = NewImage(w * scale, h * scale, true);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    PaintCap(p, w, h, cap.colours);
    return image;
}

QFont DejaVu(int pixelSize, bool bold) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

void DrawText(QPainter& p, const QRectF& box, int flags, const QString& text, int pixelSize,
              bool bold, const QColor& colour) {
    p.setFont(DejaVu(pixelSize, bold));
    p.setPen(colour);
    p.drawText(box, flags, text);
}

// The About box picture: a navy banner with a small keyboard drawing and the model name.
QImage RenderAbout() {
    constexpr int W = 240;
    constexpr int H = 60;
    QImage image = NewImage(W, H, true);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    QLinearGradient sky(0, 0, 0, H);
    sky.setColorAt(0, Rgb(0x2a4cb0));
    sky.setColorAt(1, Rgb(0x0c1a56));
    p.fillRect(QRectF(0, 0, W, H), sky);
    p.fillRect(QRectF(0, H - 1, W, 1), Rgb(0x060c2a));

    // Keyboard body: a light case with a darker front edge.
    const QRectF body(10, 12, 94, 38);
    p.setPen(QPen(Rgb(0x05081a), 1));
    p.setBrush(Rgb(0x8e8a82));
    p.drawRoundedRect(body.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(Rgb(0xe4e0d6));
    p.drawRoundedRect(body.adjusted(1, 1, -1, -4), 2.5, 2.5);

    // Four rows of eight small key caps, coloured like the grid: blank, programmed, one wide key
    // and the selected one.
    const char* rows[] = {"bbsbbbbs", "bssbwwbb", "bbbYbbsb", "sbbbbbbb"};
    const qreal keyW = 10.5;
    const qreal keyH = 7.5;
    const QPointF origin(body.left() + 5, body.top() + 3.5);
    for (int r = 0; r < 4; ++r) {
        for (int k = 0; k < 8; ++k) {
            const char kind = rows[r][k];
            if (kind == 'w' && k > 0 && rows[r][k - 1] == 'w') {
                continue;
            }
            const int span = (kind == 'w') ? 2 : 1;
            const CapColours& colours = kind == 's'   ? kSalmon
                                        : kind == 'w' ? kRed
                                        : kind == 'Y' ? Selected(kBlue)
                                                      : kBlue;
            p.save();
            p.translate(origin + QPointF(k * keyW, r * keyH));
            p.scale(keyW / kStoredUnit, keyH / kStoredUnit);
            PaintCap(p, span * kStoredUnit, kStoredUnit, colours);
            p.restore();
        }
    }

    // Model name with a soft shadow, and a small line below it.
    const QRectF nameBox(110, 8, 126, 30);
    DrawText(p, nameBox.translated(1, 1), Qt::AlignCenter, QStringLiteral("ZR-4700"), 25, true,
             Rgb(0x050a24));
    DrawText(p, nameBox, Qt::AlignCenter, QStringLiteral("ZR-4700"), 25, true, Rgb(0xffffff));
    DrawText(p, QRectF(110, 36, 126, 14), Qt::AlignCenter, QStringLiteral("keyboard programmer"),
             10, false, Rgb(0xffe66a));
    return image;
}

// The application icon: a salmon-red key cap with "ZR" on it, on a transparent ground. Painted in
// a 32-unit square scaled to the requested size.
QImage RenderIcon(int size) {
    QImage image = NewImage(size, size, false);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(size / 32.0, size / 32.0);

    // The cap, drawn from a 39 px key unit into the 30 x 30 square at (1, 1).
    p.save();
    p.translate(1, 1);
    p.scale(30.0 / kStoredUnit, 30.0 / kStoredUnit);
    PaintCap(p, kStoredUnit, kStoredUnit, kRed);
    p.restore();

    // The legend on the face (face spans x 4..26, y 3..25 of the 30 px cap).
    const QRectF face(1 + 30.0 * (kOutline + kBevelSide) / kStoredUnit,
                      1 + 30.0 * (kOutline + kBevelTop) / kStoredUnit,
                      30.0 * (kStoredUnit - 2 * (kOutline + kBevelSide)) / kStoredUnit,
                      30.0 * (kStoredUnit - 2 * kOutline - kBevelTop - kBevelBottom) / kStoredUnit);
    DrawText(p, face.translated(0.6, 0.6), Qt::AlignCenter, QStringLiteral("ZR"), 13, true,
             Rgb(0x5a0a06));
    DrawText(p, face, Qt::AlignCenter, QStringLiteral("ZR"), 13, true, Rgb(0xffffff));
    return image;
}

bool Save(const QImage& image, const QString& path) {
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "keycap-gen: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s (%dx%d)\n", qPrintable(path), image.width(), image.height());
    return true;
}

// Contact sheet: every picture at the size the program draws it, on a dialog-grey ground, at 1x
// (stored pictures scaled 39 -> 34) and at 2x (high-resolution pictures scaled 156 -> 68), plus a
// small mock grid at each scale showing the caps side by side with a selection on a big cap.
QImage RenderSheet(const std::map<int, QImage>& stored, const std::map<int, QImage>& hiRes,
                   const QImage& about, const QImage& icon32, const QImage& icon256) {
    const int W = 1240;
    const int H = 1010;
    QImage sheet = NewImage(W, H, true);
    sheet.fill(Rgb(0xd4d0c8));
    QPainter p(&sheet);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setFont(DejaVu(12, false));
    p.setPen(Qt::black);
    auto caption = [&](int x, int y, const QString& text) {
        p.drawText(QRect(x, y, 800, 16), Qt::AlignLeft | Qt::AlignVCenter, text);
    };

    // k: device pixels per logical pixel; a key unit is 34 logical pixels.
    auto drawCaps = [&](int x, int y, int k, const std::map<int, QImage>& images) {
        const int u = kDrawnUnit * k;
        for (const CapPicture& cap : CapPictures()) {
            p.drawImage(QRect(x, y, cap.unitsWide * u, cap.unitsTall * u), images.at(cap.id));
            caption(x, y + 2 * u + 4, QString::number(cap.id));
            x += cap.unitsWide * u + 10 * k;
        }
    };
    // Mock grid: a quad, a tall and a wide cap among single keys, a row of absent keys, the
    // selection on the quad's lower-right member and on a blank key.
    auto drawGrid = [&](int x, int y, int k, const std::map<int, QImage>& images) {
        const int u = kDrawnUnit * k;
        const int layout[5][6] = {{152, 153, 157, 0, 155, 152},
                                  {153, 152, 0, 0, 0, 153},
                                  {156, 0, 152, 153, 152, 152},
                                  {152, 153, 152, 152, 156, 0},
                                  {154, 154, 154, 154, 154, 154}};
        for (int r = 0; r < 5; ++r) {
            for (int c = 0; c < 6; ++c) {
                const int id = layout[r][c];
                if (id == 0) {
                    continue;
                }
                const QImage& img = images.at(id);
                const int w = img.width() / images.at(152).width() * u;
                const int h = img.height() / images.at(152).height() * u;
                p.drawImage(QRect(x + c * u, y + r * u, w, h), img);
            }
        }
        p.drawImage(QRect(x + 3 * u, y + 1 * u, u, u), images.at(166));
        p.drawImage(QRect(x + 1 * u, y + 1 * u, u, u), images.at(167));
    };

    caption(8, 4, QStringLiteral("1x: 39 px pictures drawn at 34 px, and a mock grid"));
    drawCaps(8, 24, 1, stored);
    drawGrid(470, 24, 1, stored);

    caption(8, 204, QStringLiteral("2x: 156 px pictures drawn at 68 device px"));
    drawCaps(8, 224, 2, hiRes);

    caption(8, 400, QStringLiteral("2x mock grid"));
    drawGrid(8, 420, 2, hiRes);

    caption(440, 400,
            QStringLiteral("About picture 108 at 1x and magnified 2x; icon 102 (32, 256)"));
    p.drawImage(QPoint(440, 420), about);
    p.drawImage(QPoint(700, 420), icon32);
    p.drawImage(QRect(440, 490, 480, 120), about);
    p.drawImage(QPoint(940, 420), icon256);

    // Stored 1x caps magnified without smoothing, to judge the actual pixels.
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    caption(440, 680, QStringLiteral("152, 153, 154, 166, 102 stored pixels, magnified 4x"));
    int x = 440;
    for (const QImage* img :
         {&stored.at(152), &stored.at(153), &stored.at(154), &stored.at(166), &icon32}) {
        p.drawImage(QRect(x, 700, img->width() * 4, img->height() * 4), *img);
        x += img->width() * 4 + 8;
    }
    return sheet;
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    QStringList args = QGuiApplication::arguments();
    args.removeFirst();
    QString sheetPath;
    const qsizetype sheetAt = args.indexOf(QStringLiteral("--sheet"));
    if (sheetAt >= 0 && sheetAt + 1 < args.size()) {
        sheetPath = args.at(sheetAt + 1);
        args.remove(sheetAt, 2);
    }
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: zr4700-keycap-gen OUTPUT_DIR [--sheet SHEET.png]\n");
        return 2;
    }
    if (!QFontDatabase::families().contains(QStringLiteral("DejaVu Sans"))) {
        std::fprintf(stderr, "keycap-gen: the DejaVu Sans font is not installed\n");
        return 1;
    }

    const QDir out(args.at(0));
    const QString bitmaps = out.filePath(QStringLiteral("bitmaps"));
    const QString icons = out.filePath(QStringLiteral("icons"));
    if (!QDir().mkpath(bitmaps) || !QDir().mkpath(icons)) {
        std::fprintf(stderr, "keycap-gen: cannot create %s\n", qPrintable(out.path()));
        return 1;
    }

    bool ok = true;
    std::map<int, QImage> stored;
    std::map<int, QImage> hiRes;
    for (const CapPicture& cap : CapPictures()) {
        stored[cap.id] = RenderCap(cap, 1);
        hiRes[cap.id] = RenderCap(cap, kHiResScale);
        ok &= Save(stored[cap.id], QStringLiteral("%1/%2.png").arg(bitmaps).arg(cap.id));
        ok &= Save(hiRes[cap.id],
                   QStringLiteral("%1/%2@%3x.png").arg(bitmaps).arg(cap.id).arg(kHiResScale));
    }
    const QImage about = RenderAbout();
    const QImage icon32 = RenderIcon(32);
    const QImage icon256 = RenderIcon(256);
    ok &= Save(about, bitmaps + QStringLiteral("/108.png"));
    ok &= Save(icon32, icons + QStringLiteral("/102.png"));
    ok &= Save(icon256, icons + QStringLiteral("/102-256.png"));

    if (!sheetPath.isEmpty()) {
        ok &= Save(RenderSheet(stored, hiRes, about, icon32, icon256), sheetPath);
    }
    return ok ? 0 : 1;
}
