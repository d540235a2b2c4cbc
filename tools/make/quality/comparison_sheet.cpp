#include "comparison_sheet.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <vector>

#include "sheet_canvas.h"
#include "sheet_screens.h"
#include "test_images.h"

namespace quality {

namespace {

constexpr int kZoom = 4;
constexpr int kCrop = 64;             // photograph crop, pixels
constexpr int kCell = kCrop * kZoom;  // one screen's column on the sheet
constexpr int kGap = 16;              // between columns
constexpr int kMargin = 24;           // around the sheet
constexpr int kRampWidth = kCrop, kRampRows = 20;
constexpr int kFlatSide = 12;  // pixels of a flat grey shown
constexpr int kFlatGreys[] = {8, 64, 128, 191, 247};
constexpr int kSpectrumGreys[] = {64, 128, 191, 247};
constexpr int kPlotWidth = 296, kPlotHeight = 210;
constexpr int kColumns = 7;  // the original and the six screens at 1 bit
constexpr int kLabelScale = 2, kLabelHeight = 7 * kLabelScale + 10;

constexpr Colour kPaper{255, 255, 255}, kInk{0, 0, 0}, kFaint{200, 200, 200},
    kTitleColour{40, 40, 90};
// One colour per screen, in the order of OneBitScreens and then TwoBitScreens.
constexpr Colour kOneBitColours[] = {{31, 119, 180}, {255, 127, 14},  {44, 160, 44},
                                     {214, 39, 40},  {148, 103, 189}, {0, 0, 0}};
constexpr Colour kTwoBitColours[] = {{214, 39, 40}, {140, 86, 75}, {148, 103, 189}, {0, 0, 0}};

// What every screen is shown on: the photograph screened whole and cropped, a ramp and the
// flat greys, each screened larger than shown so that the crop is away from the edges.
struct Inputs {
  GreyImage photo;
  int cropX = 0, cropY = 0;
  GreyImage ramp;  // 255 at the left to 0 at the right, kRampWidth wide
  std::vector<GreyImage> flats;
};

GreyImage Crop(const GreyImage& image, int x0, int y0, int width, int height) {
  GreyImage out(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) out.At(x, y) = image.At(x0 + x, y0 + y);
  return out;
}

Inputs MakeInputs(const std::string& photoFolder) {
  std::vector<NamedImage> photos = Photographs(photoFolder);
  if (photos.empty()) throw std::runtime_error("no photograph in " + photoFolder);
  Inputs inputs;
  inputs.photo = photos.front().image;
  for (const NamedImage& photo : photos)
    if (photo.name == "camera") inputs.photo = photo.image;
  // A crop of some detail: a quarter in from the left, a sixth down.
  inputs.cropX = std::max(0, std::min(inputs.photo.width / 4 + 60, inputs.photo.width - kCrop));
  inputs.cropY = std::max(0, std::min(inputs.photo.height / 6, inputs.photo.height - kCrop));
  inputs.ramp = GreyImage(kRampWidth, 3 * kRampRows);
  for (int y = 0; y < inputs.ramp.height; ++y)
    for (int x = 0; x < kRampWidth; ++x)
      inputs.ramp.At(x, y) = static_cast<uint8_t>(255 - x * 255 / (kRampWidth - 1));
  for (int grey : kFlatGreys) inputs.flats.push_back(FlatPatch(96, 96, static_cast<uint8_t>(grey)));
  return inputs;
}

// One column: the crop, the ramp's last rows and the centres of the flat greys.
void DrawColumn(SheetCanvas& canvas, int x, int y, const std::string& label,
                const std::function<GreyImage(const GreyImage&)>& screen, const Inputs& inputs) {
  canvas.Text(x, y, label, kInk, kLabelScale);
  y += kLabelHeight;
  const GreyImage photo = screen(inputs.photo);
  canvas.DrawGrey(Crop(photo, inputs.cropX, inputs.cropY, kCrop, kCrop), x, y, kZoom);
  y += kCell + 8;
  const GreyImage ramp = screen(inputs.ramp);
  canvas.DrawGrey(Crop(ramp, 0, ramp.height - kRampRows, kRampWidth, kRampRows), x, y, kZoom);
  y += kRampRows * kZoom + 8;
  const int step = (kCell - kFlatSide * kZoom) / (static_cast<int>(inputs.flats.size()) - 1);
  for (size_t k = 0; k < inputs.flats.size(); ++k) {
    const GreyImage flat = screen(inputs.flats[k]);
    const int middle = (flat.width - kFlatSide) / 2;
    canvas.DrawGrey(Crop(flat, middle, middle, kFlatSide, kFlatSide),
                    x + step * static_cast<int>(k), y, kZoom);
  }
}

int SectionHeight() {
  return kLabelHeight + kCell + 8 + kRampRows * kZoom + 8 + kFlatSide * kZoom + 22;
}

// A section: its title, the original and one column per screen.
int DrawSection(SheetCanvas& canvas, int y, const std::string& title,
                const std::vector<SheetScreen>& screens, const Inputs& inputs) {
  canvas.Text(kMargin, y, title, kTitleColour, 3);
  y += 7 * 3 + 12;
  DrawColumn(
      canvas, kMargin, y, "ORIGINAL", [](const GreyImage& image) { return image; }, inputs);
  for (size_t k = 0; k < screens.size(); ++k)
    DrawColumn(canvas, kMargin + (kCell + kGap) * static_cast<int>(k + 1), y, screens[k].label,
               screens[k].screen, inputs);
  // The greys of the flats, under the original's.
  const int flatsY = y + SectionHeight() - 20;
  const int step = (kCell - kFlatSide * kZoom) / (static_cast<int>(inputs.flats.size()) - 1);
  for (size_t k = 0; k < inputs.flats.size(); ++k)
    canvas.Text(kMargin + step * static_cast<int>(k), flatsY, std::to_string(kFlatGreys[k]), kInk,
                1);
  return y + SectionHeight();
}

// A plot frame with its title and axis ends; maps (u, v) in [0, uMax] x [0, vMax] to the canvas.
struct Plot {
  int x, y;  // top left of the drawing area
  double uMax, vMax;
  double X(double u) const { return x + std::min(u / uMax, 1.0) * (kPlotWidth - 1); }
  double Y(double v) const {
    return y + kPlotHeight - 1 - std::min(std::max(v / vMax, 0.0), 1.0) * (kPlotHeight - 1);
  }
};

Plot DrawFrame(SheetCanvas& canvas, int x, int y, const std::string& title, double uMax,
               double vMax, const std::string& uLabel, const std::string& vLabel) {
  canvas.Text(x, y, title, kInk, kLabelScale);
  const Plot plot{x, y + kLabelHeight, uMax, vMax};
  canvas.FillRect(plot.x, plot.y, kPlotWidth, kPlotHeight, {248, 248, 248});
  canvas.Line(plot.x, plot.y + kPlotHeight - 1, plot.x + kPlotWidth - 1, plot.y + kPlotHeight - 1,
              kInk);
  canvas.Line(plot.x, plot.y, plot.x, plot.y + kPlotHeight - 1, kInk);
  canvas.Text(plot.x, plot.y + kPlotHeight + 4, "0", kInk, 1);
  canvas.Text(plot.x + kPlotWidth - SheetCanvas::TextWidth(uLabel, 1), plot.y + kPlotHeight + 4,
              uLabel, kInk, 1);
  canvas.Text(plot.x + 4, plot.y + 4, vLabel, kInk, 1);
  return plot;
}

void Polyline(SheetCanvas& canvas, const Plot& plot, const std::vector<double>& u,
              const std::vector<double>& v, Colour colour) {
  for (size_t i = 1; i < u.size(); ++i)
    canvas.Line(plot.X(u[i - 1]), plot.Y(v[i - 1]), plot.X(u[i]), plot.Y(v[i]), colour, 2);
}

// Measured ink (mean over the rows and 8 columns of a ramp screened 256 wide, grey 255 - x)
// against the ink requested there.
void DrawToneResponse(SheetCanvas& canvas, int x, int y, const std::string& title,
                      const std::vector<SheetScreen>& screens, const Colour* colours) {
  const Plot plot = DrawFrame(canvas, x, y, title, 1.0, 1.0, "REQUESTED INK 1", "MEASURED INK 1");
  canvas.Line(plot.X(0), plot.Y(0), plot.X(1), plot.Y(1), kFaint);
  GreyImage ramp(256, 128);
  for (int row = 0; row < ramp.height; ++row)
    for (int column = 0; column < 256; ++column)
      ramp.At(column, row) = static_cast<uint8_t>(255 - column);
  constexpr int kBin = 8;
  for (size_t k = 0; k < screens.size(); ++k) {
    const GreyImage halftone = screens[k].screen(ramp);
    std::vector<double> requested, measured;
    for (int bin = 0; bin < 256; bin += kBin) {
      double want = 0, got = 0;
      for (int column = bin; column < bin + kBin; ++column)
        for (int row = 0; row < ramp.height; ++row) {
          want += 255 - ramp.At(column, row);
          got += 255 - halftone.At(column, row);
        }
      requested.push_back(want / (255.0 * kBin * ramp.height));
      measured.push_back(got / (255.0 * kBin * ramp.height));
    }
    Polyline(canvas, plot, requested, measured, colours[k]);
  }
}

// The radially averaged power spectrum of each screen's flat grey (256 x 256, 128-pixel tiles),
// normalised so that white noise is 1; drawn up to 0.5 cycles per pixel and power 3.
void DrawSpectra(SheetCanvas& canvas, int x, int y, int grey,
                 const std::vector<SheetScreen>& screens, const Colour* colours) {
  const Plot plot = DrawFrame(canvas, x, y, "SPECTRUM GREY " + std::to_string(grey), 0.5, 3.0,
                              "0.5 CYCLES/PIXEL", "POWER 3");
  canvas.Line(plot.X(0), plot.Y(1), plot.X(0.5), plot.Y(1), kFaint);
  const GreyImage flat = FlatPatch(256, 256, static_cast<uint8_t>(grey));
  for (size_t k = 0; k < screens.size(); ++k) {
    const RadialSpectrum spectrum = RadialPowerSpectrum(screens[k].screen(flat), 128);
    Polyline(canvas, plot, spectrum.frequency, spectrum.power, colours[k]);
  }
}

void DrawLegend(SheetCanvas& canvas, int x, int y, const std::vector<SheetScreen>& screens,
                const Colour* colours) {
  for (size_t k = 0; k < screens.size(); ++k) {
    canvas.FillRect(x, y + 3, 24, 8, colours[k]);
    x += 30 + canvas.Text(x + 30, y, screens[k].label, kInk, kLabelScale) + 24;
  }
}

}  // namespace

bool WriteComparisonSheet(const std::string& photoFolder, const std::string& path,
                          std::string* error) {
  try {
    const Inputs inputs = MakeInputs(photoFolder);
    const std::vector<SheetScreen> oneBit = OneBitScreens(), twoBit = TwoBitScreens();
    const int width = 2 * kMargin + kColumns * kCell + (kColumns - 1) * kGap;
    const int plotsHeight = kLabelHeight + kPlotHeight + 20;
    const int height =
        kMargin + 40 + 2 * (33 + SectionHeight() + 24) + 2 * (plotsHeight + 40) + kMargin;
    SheetCanvas canvas(width, height, kPaper);
    int y = kMargin;
    canvas.Text(kMargin, y, "KORVEL SCREENS AT 4X ZOOM, QUALITY LEVEL 0 (IDENTITY TONE CURVE)",
                kTitleColour, 3);
    y += 40;
    y = DrawSection(canvas, y, "1 BIT", oneBit, inputs) + 24;
    y = DrawSection(canvas, y, "2 BITS (DROP INKS 1/3, 2/3, 1)", twoBit, inputs) + 24;
    const int plotStep = kPlotWidth + 2 * kGap + 8;
    DrawToneResponse(canvas, kMargin, y, "TONE 1 BIT", oneBit, kOneBitColours);
    for (size_t k = 0; k < std::size(kSpectrumGreys); ++k)
      DrawSpectra(canvas, kMargin + plotStep * static_cast<int>(k + 1), y, kSpectrumGreys[k],
                  oneBit, kOneBitColours);
    y += plotsHeight;
    DrawLegend(canvas, kMargin, y, oneBit, kOneBitColours);
    y += 40;
    DrawToneResponse(canvas, kMargin, y, "TONE 2 BITS", twoBit, kTwoBitColours);
    y += plotsHeight;
    DrawLegend(canvas, kMargin, y, twoBit, kTwoBitColours);
    return canvas.WritePng(path, error);
  } catch (const std::exception& failure) {
    *error = failure.what();
    return false;
  }
}

}  // namespace quality
