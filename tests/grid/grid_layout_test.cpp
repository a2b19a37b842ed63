// The grid's layout without a widget: which records and bytes the grid can
// show, and where every control goes for fonts of different measures. How
// cells are numbered is followed through real key presses in
// cell_navigation_test.
#include "grid/grid_layout.h"
#include "tests/support/qt_printers.h"

#include <gtest/gtest.h>

#include <vector>

using namespace quorvane;

namespace {

// Small, typical and large fixed-pitch fonts.
const FontMeasures kFonts[] = {
    {.digitWidth = 6, .lineHeight = 11, .typeNameWidth = 30},
    {.digitWidth = 8, .lineHeight = 17, .typeNameWidth = 40},
    {.digitWidth = 15, .lineHeight = 30, .typeNameWidth = 75},
};

// A row's controls from left to right.
std::vector<QRect> rowRects(const GridLayout& layout, int row)
{
    std::vector<QRect> rects{layout.lineNumberRect(row), layout.addressRect(row), layout.sizeRect(row),
                             layout.typeRect(row)};
    for (int c = 0; c < kGridColumns; ++c)
        rects.push_back(layout.cellRect(CellIndex::at(row, c)));
    rects.push_back(layout.titleRect(row));
    return rects;
}

void expectSameColumn(const QRect& above, const QRect& below, const char* what)
{
    EXPECT_EQ(above.left(), below.left()) << what;
    EXPECT_EQ(above.width(), below.width()) << what;
    EXPECT_LT(above.bottom(), below.top()) << what;
}

} // namespace

TEST(GridPosition, ShowsOnlyRecordsAndBytesThatExist)
{
    struct Case {
        int requested;
        int shown;      // topSlot() or leftByte() after the request
        int lastShown;  // the slot in row 9, or the byte in column 15
    };
    const Case topSlots[] = {
        {.requested = 0, .shown = 0, .lastShown = 9},
        {.requested = 17, .shown = 17, .lastShown = 26},
        {.requested = 246, .shown = 246, .lastShown = 255}, // the spare slot 256 never shows
        {.requested = 247, .shown = 246, .lastShown = 255},
        {.requested = -1, .shown = 0, .lastShown = 9},
    };
    for (const Case& c : topSlots) {
        GridLayout layout;
        layout.setTopSlot(c.requested);
        EXPECT_EQ(layout.topSlot(), c.shown) << c.requested;
        EXPECT_EQ(layout.slotOfRow(0), c.shown) << c.requested;
        EXPECT_EQ(layout.slotOfRow(kGridRows - 1), c.lastShown) << c.requested;
    }
    const Case leftBytes[] = {
        {.requested = 0, .shown = 0, .lastShown = 15},
        {.requested = 236, .shown = 236, .lastShown = 251}, // the last byte of the largest record
        {.requested = 237, .shown = 236, .lastShown = 251},
        {.requested = -3, .shown = 0, .lastShown = 15},
    };
    for (const Case& c : leftBytes) {
        GridLayout layout;
        layout.setLeftByte(c.requested);
        EXPECT_EQ(layout.leftByte(), c.shown) << c.requested;
        EXPECT_EQ(layout.byteOfColumn(0), c.shown) << c.requested;
        EXPECT_EQ(layout.byteOfColumn(kGridColumns - 1), c.lastShown) << c.requested;
    }
}

// For each font: rows read left to right and stack downwards, fields hold
// their text, an ASCII row's first cell covers the row's sixteen cells,
// headings stand over their columns, the record bar runs beside all ten
// rows, the byte bar exactly under the data cells, and the grid's size takes
// in everything.
TEST(GridGeometry, ForEveryFont)
{
    for (const FontMeasures& font : kFonts) {
        SCOPED_TRACE(font.digitWidth);
        const GridLayout layout(font);
        for (int r = 0; r < kGridRows; ++r) {
            const std::vector<QRect> row = rowRects(layout, r);
            for (std::size_t k = 1; k < row.size(); ++k) {
                EXPECT_LT(row[k - 1].right(), row[k].left()) << "row " << r << " control " << k;
                EXPECT_EQ(row[k].top(), row[0].top()) << "row " << r << " control " << k;
                EXPECT_EQ(row[k].height(), row[0].height()) << "row " << r << " control " << k;
            }
            EXPECT_GE(row[0].height(), font.lineHeight);
            if (r > 0) {
                EXPECT_LT(layout.titleRect(r - 1).bottom(), layout.titleRect(r).top()) << r;
            }
        }
        const struct { const char* field; QRect rect; int textWidth; } fields[] = {
            {"line number", layout.lineNumberRect(0), 3 * font.digitWidth},
            {"address", layout.addressRect(0), 8 * font.digitWidth},
            {"size", layout.sizeRect(0), 3 * font.digitWidth},
            {"type", layout.typeRect(0), font.typeNameWidth},
            {"cell", layout.cellRect(CellIndex(0)), 2 * font.digitWidth},
        };
        for (const auto& f : fields)
            EXPECT_GT(f.rect.width(), f.textWidth) << f.field;
        EXPECT_EQ(layout.cellWidth(), layout.cellRect(CellIndex(0)).width());
        EXPECT_EQ(layout.cellRect(CellIndex::at(4, 0)).left() + layout.wideCellWidth() - 1,
                  layout.cellRect(CellIndex::at(4, kGridColumns - 1)).right());

        expectSameColumn(layout.lineNumberHeadingRect(), layout.lineNumberRect(0), "No.");
        expectSameColumn(layout.headingRect(Heading::Address), layout.addressRect(0), "Address");
        expectSameColumn(layout.headingRect(Heading::Size), layout.sizeRect(0), "Size");
        expectSameColumn(layout.headingRect(Heading::Type), layout.typeRect(0), "Type");
        expectSameColumn(layout.headingRect(Heading::Title), layout.titleRect(0), "Title");
        for (int c = 0; c < kGridColumns; ++c)
            expectSameColumn(layout.dataIndexRect(c), layout.cellRect(CellIndex(c)), "data index");
        const QRect data = layout.headingRect(Heading::Data);
        EXPECT_EQ(data.left(), layout.cellRect(CellIndex(0)).left());
        EXPECT_GE(data.right(), layout.cellRect(CellIndex(kGridColumns - 1)).right());
        EXPECT_LT(data.right(), layout.titleRect(0).left());
        EXPECT_LT(data.bottom(), layout.dataIndexRect(0).top());

        const QRect records = layout.recordScrollRect();
        const QRect bytes = layout.byteScrollRect();
        EXPECT_GT(records.left(), layout.titleRect(0).right());
        EXPECT_EQ(records.top(), layout.titleRect(0).top());
        EXPECT_EQ(records.bottom(), layout.titleRect(kGridRows - 1).bottom());
        EXPECT_GT(bytes.top(), layout.cellRect(CellIndex(kGridCells - 1)).bottom());
        EXPECT_EQ(bytes.left(), layout.cellRect(CellIndex(0)).left());
        EXPECT_EQ(bytes.right(), layout.cellRect(CellIndex(kGridColumns - 1)).right());
        const QRect grid(QPoint(0, 0), layout.gridSize());
        std::vector<QRect> all = rowRects(layout, kGridRows - 1);
        all.insert(all.end(), {records, bytes, layout.headingRect(Heading::Title), layout.lineNumberHeadingRect()});
        for (const QRect& rect : all)
            EXPECT_TRUE(grid.contains(rect, true)) << rect.x() << "," << rect.y();
    }
}
