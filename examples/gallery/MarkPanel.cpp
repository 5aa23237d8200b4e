#include "travenel/examples/gallery/MarkPanel.h"

#include <string>

#include "travenel/chart/ulxbase_draw.h"

namespace travenel {

namespace {

constexpr int kPadding = 8;
constexpr int kMarkTop = 12;  // the mark's centre below the cell's top
constexpr int kNumberTop = 22;
constexpr TColor kPanelColor = clWhite;
constexpr TColor kMarkColor = 0x8B4513;  // a dark blue (0x00BBGGRR)
constexpr TColor kCharMarkColor = 0x2020A0;
constexpr TColor kNumberColor = 0x606060;
constexpr int kMarkFontHeight = 15;
constexpr int kNumberFontHeight = 10;

int Rows(int count) { return (count + TMarkPanel::kColumns - 1) / TMarkPanel::kColumns; }

constexpr int kCharMarkCount = static_cast<int>(std::size(TMarkPanel::kCharMarks));

}  // namespace

TMarkPanel::TMarkPanel(const std::string& fontName)
    : TControl(Kind::Windowed), fontName_(fontName) {}

int TMarkPanel::NeededHeight() {
  return 2 * kPadding + (Rows(kShapeMarks) + Rows(kCharMarkCount)) * kCellHeight;
}

void TMarkPanel::PaintOn(TCanvas& c) {
  c.Brush.Style = bsSolid;
  c.Brush.Color = kPanelColor;
  c.FillRect(ClientRect());
  c.Pen.Color = clSilver;
  DrawRectOutline(c, 0, 0, Width() - 1, Height() - 1);

  const int cellWidth = (Width() - 2 * kPadding) / kColumns;
  auto cellOrigin = [&](int index, int firstRow) {
    return TPoint{kPadding + (index % kColumns) * cellWidth,
                  kPadding + (firstRow + index / kColumns) * kCellHeight};
  };
  auto writeNumber = [&](TPoint cell, int number) {
    c.Font().SetName(fontName_);
    c.Font().SetHeight(kNumberFontHeight);
    c.Font().SetColor(kNumberColor);
    c.Brush.Style = bsClear;
    const std::string text = std::to_string(number);
    c.TextOut(cell.X + (cellWidth - c.TextWidth(text)) / 2, cell.Y + kNumberTop, text);
    c.Brush.Style = bsSolid;
  };

  for (int type = 0; type < kShapeMarks; ++type) {
    const TPoint cell = cellOrigin(type, 0);
    c.Pen.Color = kMarkColor;
    DrawMark(c, static_cast<std::uint8_t>(type), cell.X + cellWidth / 2, cell.Y + kMarkTop);
    writeNumber(cell, type);
  }
  for (int i = 0; i < kCharMarkCount; ++i) {
    const TPoint cell = cellOrigin(i, Rows(kShapeMarks));
    c.Font().SetName(fontName_);
    c.Font().SetHeight(kMarkFontHeight);
    c.Font().SetColor(kCharMarkColor);
    c.Brush.Style = bsClear;
    DrawMark(c, static_cast<std::uint8_t>(kCharMarks[i]), cell.X + cellWidth / 2,
             cell.Y + kMarkTop);
    writeNumber(cell, kCharMarks[i]);
  }
}

}  // namespace travenel
