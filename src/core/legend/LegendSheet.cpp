#include "core/legend/LegendSheet.h"

#include "core/model/LayoutRules.h"
#include "core/scancodes/ScanCodeTables.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace zr4700 {

namespace {

constexpr double kFooterHeightMm = 5.0;
constexpr double kFooterGapMm = 1.0;
constexpr double kMinPageSideMm = 50.0;
// The key number's strip, as a share of one key's insert.
constexpr double kNumberShare = 0.14;
constexpr double kFit = 1e-9; // sizes that fit exactly still fit after rounding

double Clamp(double value, double low, double high) {
    if (!std::isfinite(value))
        return low;
    return std::min(std::max(value, low), high);
}

LegendOptions Sanitised(LegendOptions options) {
    options.pitchMm = Clamp(options.pitchMm, kMinPitchMm, kMaxPitchMm);
    options.marginMm = Clamp(options.marginMm, 0.0, MaxMarginMm(options.pitchMm));
    options.pageWidthMm = Clamp(options.pageWidthMm, kMinPageSideMm, 2000.0);
    options.pageHeightMm = Clamp(options.pageHeightMm, kMinPageSideMm, 2000.0);
    const double shorter = std::min(options.pageWidthMm, options.pageHeightMm);
    options.pageMarginMm = Clamp(options.pageMarginMm, 0.0, shorter / 4);
    return options;
}

// Which pitch squares of one page are taken.
class PageGrid {
  public:
    PageGrid(int columns, int rows)
        : columns_(columns), rows_(rows), used_(static_cast<std::size_t>(columns * rows)) {}
    bool Free(int column, int row, int width, int height) const {
        if (column + width > columns_ || row + height > rows_)
            return false;
        for (int r = row; r < row + height; ++r) {
            for (int c = column; c < column + width; ++c) {
                if (used_[Index(c, r)])
                    return false;
            }
        }
        return true;
    }
    void Take(int column, int row, int width, int height) {
        for (int r = row; r < row + height && r < rows_; ++r) {
            for (int c = column; c < column + width && c < columns_; ++c)
                used_[Index(c, r)] = true;
        }
    }
    bool Find(int width, int height, int& column, int& row) const {
        for (int r = 0; r < rows_; ++r) {
            for (int c = 0; c < columns_; ++c) {
                if (Free(c, r, width, height)) {
                    column = c;
                    row = r;
                    return true;
                }
            }
        }
        return false;
    }

  private:
    std::size_t Index(int column, int row) const {
        return static_cast<std::size_t>(row * columns_ + column);
    }
    int columns_, rows_;
    std::vector<bool> used_;
};

// Short marks along the extension of each edge, outside the insert and inside the gap to the
// next one, so that the cutter sees where to cut without a mark landing on any insert.
void AddCutMarks(const RectMm& insert, double margin, std::vector<LineMm>& marks) {
    if (margin <= 0)
        return;
    const double start = margin * 0.2;
    const double end = margin * 0.9;
    for (double x : {insert.x, insert.right()}) {
        marks.push_back({x, insert.y - end, x, insert.y - start});
        marks.push_back({x, insert.bottom() + start, x, insert.bottom() + end});
    }
    for (double y : {insert.y, insert.bottom()}) {
        marks.push_back({insert.x - end, y, insert.x - start, y});
        marks.push_back({insert.right() + start, y, insert.right() + end, y});
    }
}

LegendCap MakeCap(const Layout& layout, const LayoutCap& cap, const LegendOptions& options,
                  double left, double top) {
    LegendCap result;
    result.key = cap.key;
    result.shape = cap.shape;
    result.programmed = cap.programmed;
    const double pitch = options.pitchMm;
    const double margin = options.marginMm;
    result.insert = {left + margin, top + margin, CapColumns(cap.shape) * pitch - 2 * margin,
                     CapRows(cap.shape) * pitch - 2 * margin};
    // The padding and the code line follow the size of one key, so a quad's code names are as
    // small as a single's and its name gets the room.
    const double unit = pitch - 2 * margin;
    const double padding = std::max(0.6, unit * 0.07);
    RectMm inner{result.insert.x + padding, result.insert.y + padding,
                 std::max(0.0, result.insert.width - 2 * padding),
                 std::max(0.0, result.insert.height - 2 * padding)};
    // The key number takes a strip along the top, so the name never runs over it.
    const double numberHeight = std::min(inner.height, unit * kNumberShare);
    result.numberBox = {inner.x, inner.y, std::min(inner.width, unit * 0.45), numberHeight};
    result.nameBox = {inner.x, inner.y + numberHeight, inner.width, inner.height - numberHeight};
    inner = result.nameBox;
    result.codeBox = {inner.x, inner.bottom(), inner.width, 0};
    if (cap.programmed) {
        const KeyRecord& record = layout.key(cap.key);
        result.name = record.name;
        if (options.showCodeNames) {
            result.codeNames = CodeNamesText(record.codes);
            const double codeHeight = unit * 0.17;
            result.codeBox = {inner.x, inner.bottom() - codeHeight, inner.width, codeHeight};
            result.nameBox.height = std::max(0.0, inner.height - codeHeight - unit * 0.03);
        }
    }
    return result;
}

// The page the caps go on: the paper less its margins and the footer's band.
struct PageFrame {
    double width = 0, height = 0;             // the paper
    double usableWidth = 0, usableHeight = 0; // where inserts may go
    bool Holds(double contentWidth, double contentHeight) const {
        return contentWidth <= usableWidth + kFit && contentHeight <= usableHeight + kFit;
    }
};

PageFrame FrameOf(const LegendOptions& options, double width, double height) {
    const double footerReserve = options.footer.empty() ? 0.0 : kFooterHeightMm + kFooterGapMm;
    return {width, height, width - 2 * options.pageMarginMm,
            height - 2 * options.pageMarginMm - footerReserve};
}

void UseFrame(LegendSheet& sheet, const PageFrame& frame) {
    const double pitch = sheet.options.pitchMm;
    sheet.pageWidthMm = frame.width;
    sheet.pageHeightMm = frame.height;
    sheet.columns = std::max(1, static_cast<int>(std::floor(frame.usableWidth / pitch + kFit)));
    sheet.rows = std::max(1, static_cast<int>(std::floor(frame.usableHeight / pitch + kFit)));
}

LegendPage NewPage(const LegendSheet& sheet, const PageFrame& frame) {
    LegendPage page;
    const LegendOptions& options = sheet.options;
    if (!options.footer.empty()) {
        page.footerBox = {options.pageMarginMm,
                          frame.height - options.pageMarginMm - kFooterHeightMm, frame.usableWidth,
                          kFooterHeightMm};
    }
    return page;
}

void PlaceCap(const Layout& layout, const LayoutCap& cap, const LegendOptions& options, double left,
              double top, LegendPage& page) {
    LegendCap placed = MakeCap(layout, cap, options, left, top);
    AddCutMarks(placed.insert, options.marginMm, page.cutMarks);
    page.caps.push_back(std::move(placed));
}

// Where the blocks of the keyboard go, in key units from the top-left corner of the keyboard's
// place on the page, and on which page.
struct BlockPlan {
    int columns = 0, rows = 0; // the extent on one page
    std::array<int, 2> page{};
    std::array<int, 2> column{};
    std::array<int, 2> row{};
};

std::vector<BlockPlan> BlockPlans(int blockCount) {
    constexpr int kBlockWidth = kGridColumns;
    constexpr int kBlockHeight = kGridRows;
    if (blockCount < 2)
        return {{kBlockWidth, kBlockHeight, {0, 0}, {0, 0}, {0, 0}}};
    return {
        // Side by side, as on the keyboard.
        {2 * kBlockWidth, kBlockHeight, {0, 0}, {0, kBlockWidth}, {0, 0}},
        // The right block below the left one.
        {kBlockWidth, 2 * kBlockHeight, {0, 0}, {0, 0}, {0, kBlockHeight}},
        // A page for each block.
        {kBlockWidth, kBlockHeight, {0, 1}, {0, 0}, {0, 0}},
    };
}

bool ArrangeAsKeyboard(const Layout& layout, LegendSheet& sheet) {
    const LegendOptions& options = sheet.options;
    const double pitch = options.pitchMm;
    const int blockCount = layout.keyCount > kBlockKeys ? 2 : 1;
    const PageFrame asRequested = FrameOf(options, options.pageWidthMm, options.pageHeightMm);
    const PageFrame turned = FrameOf(options, options.pageHeightMm, options.pageWidthMm);
    const bool square = std::abs(options.pageWidthMm - options.pageHeightMm) < kFit;
    for (const BlockPlan& plan : BlockPlans(blockCount)) {
        for (const bool turn : {false, true}) {
            if (turn && square)
                continue;
            const PageFrame& frame = turn ? turned : asRequested;
            if (!frame.Holds(plan.columns * pitch, plan.rows * pitch))
                continue;
            UseFrame(sheet, frame);
            sheet.turned = turn;
            const double left = options.pageMarginMm +
                                std::max(0.0, (frame.usableWidth - plan.columns * pitch) / 2);
            const double top = options.pageMarginMm;
            const int pageCount = plan.page[1] + 1;
            std::vector<LegendPage> pages(static_cast<std::size_t>(pageCount),
                                          NewPage(sheet, frame));
            for (const LayoutCap& cap : LayoutCaps(layout, options.onlyProgrammed)) {
                const int block = (cap.key - 1) / kBlockKeys;
                const int index = (cap.key - 1) % kBlockKeys;
                const auto b = static_cast<std::size_t>(block);
                const double x = left + (plan.column[b] + index % kGridColumns) * pitch;
                const double y = top + (plan.row[b] + index / kGridColumns) * pitch;
                PlaceCap(layout, cap, options, x, y, pages[static_cast<std::size_t>(plan.page[b])]);
            }
            // A block without a single insert needs no paper.
            for (LegendPage& page : pages) {
                if (!page.caps.empty())
                    sheet.pages.push_back(std::move(page));
            }
            if (sheet.pages.empty())
                sheet.pages.push_back(NewPage(sheet, frame));
            return true;
        }
    }
    return false;
}

void ArrangePacked(const Layout& layout, LegendSheet& sheet) {
    const LegendOptions& options = sheet.options;
    const PageFrame frame = FrameOf(options, options.pageWidthMm, options.pageHeightMm);
    UseFrame(sheet, frame);
    const double pitch = options.pitchMm;
    // The block of pitch squares is centred across the page.
    const double left =
        options.pageMarginMm + std::max(0.0, (frame.usableWidth - sheet.columns * pitch) / 2);
    const double top = options.pageMarginMm;

    std::vector<PageGrid> grids;
    auto newPage = [&] {
        sheet.pages.push_back(NewPage(sheet, frame));
        grids.emplace_back(sheet.columns, sheet.rows);
    };
    auto place = [&](const LayoutCap& cap, int column, int row) {
        grids.back().Take(column, row, CapColumns(cap.shape), CapRows(cap.shape));
        PlaceCap(layout, cap, options, left + column * pitch, top + row * pitch,
                 sheet.pages.back());
    };

    for (const LayoutCap& cap : LayoutCaps(layout, options.onlyProgrammed)) {
        const int width = CapColumns(cap.shape);
        const int height = CapRows(cap.shape);
        if (width > sheet.columns || height > sheet.rows) {
            // Larger than a page: alone on a page of its own, hanging over the edge.
            if (sheet.pages.empty() || !sheet.pages.back().caps.empty())
                newPage();
            place(cap, 0, 0);
            newPage();
            continue;
        }
        int column = 0, row = 0;
        if (sheet.pages.empty() || !grids.back().Find(width, height, column, row)) {
            newPage();
            grids.back().Find(width, height, column, row);
        }
        place(cap, column, row);
    }
    if (!sheet.pages.empty() && sheet.pages.back().caps.empty() && sheet.pages.size() > 1)
        sheet.pages.pop_back();
    if (sheet.pages.empty())
        newPage();
}

} // namespace

int CapColumns(CapShape shape) {
    return shape == CapShape::DoubleRight || shape == CapShape::Quad ? 2 : 1;
}

int CapRows(CapShape shape) {
    return shape == CapShape::DoubleDown || shape == CapShape::Quad ? 2 : 1;
}

int LegendSheet::capCount() const {
    int count = 0;
    for (const LegendPage& page : pages)
        count += static_cast<int>(page.caps.size());
    return count;
}

std::vector<LayoutCap> LayoutCaps(const Layout& layout, bool onlyProgrammed) {
    std::vector<LayoutCap> caps;
    std::array<bool, kMaxKeys + 1> covered{};
    const int last = std::min(layout.keyCount, kMaxKeys);
    for (int k = 1; k <= last; ++k) {
        if (covered[static_cast<std::size_t>(k)])
            continue;
        covered[static_cast<std::size_t>(k)] = true;
        const auto& slots = layout.partners[static_cast<std::size_t>(k)];
        LayoutCap cap{k, CapShape::Single, true};
        switch (layout.state(k)) {
        case CellState::Blank:
            cap.programmed = false;
            break;
        case CellState::Single:
            break;
        case CellState::Double:
            cap.shape = slots[0] == k + 1 ? CapShape::DoubleRight : CapShape::DoubleDown;
            if (IsKeyNumber(slots[0]))
                covered[static_cast<std::size_t>(slots[0])] = true;
            break;
        case CellState::Quad:
            cap.shape = CapShape::Quad;
            for (int partner : slots) {
                if (IsKeyNumber(partner))
                    covered[static_cast<std::size_t>(partner)] = true;
            }
            break;
        }
        if (cap.programmed || !onlyProgrammed)
            caps.push_back(cap);
    }
    return caps;
}

std::string CodeNamesText(const KeyCodes& codes) {
    std::string text;
    for (std::size_t i = 0; i < codes.size(); ++i) {
        const int code = codes[i];
        if (code == 0 || code == extendedPrefixCode)
            continue;
        if (!text.empty())
            text += ", ";
        text += NameOfCode(code, i == 0 ? 0 : codes[i - 1]);
    }
    return text;
}

std::vector<NameBreak> NameBreaks(std::string_view name) {
    std::vector<NameBreak> breaks;
    for (std::size_t i = 1; i + 1 < name.size(); ++i) {
        const char c = name[i];
        if (c == ' ') {
            std::size_t end = i;
            while (end > 0 && name[end - 1] == ' ')
                --end;
            std::size_t start = i;
            while (start < name.size() && name[start] == ' ')
                ++start;
            if (end > 0 && start < name.size() &&
                (breaks.empty() || breaks.back().secondStart != start))
                breaks.push_back({end, start});
            i = start - 1;
        } else if ((c == '-' || c == '/') && name[i + 1] != ' ') {
            breaks.push_back({i + 1, i + 1});
        }
    }
    return breaks;
}

LegendSheet ComputeLegendSheet(const Layout& layout, const LegendOptions& requested) {
    LegendSheet sheet;
    sheet.options = Sanitised(requested);
    if (sheet.options.arrangement == LegendArrangement::Keyboard &&
        ArrangeAsKeyboard(layout, sheet))
        return sheet;
    sheet.options.arrangement = LegendArrangement::Packed;
    ArrangePacked(layout, sheet);
    return sheet;
}

} // namespace zr4700
