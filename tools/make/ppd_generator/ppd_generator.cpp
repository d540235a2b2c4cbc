// ppd_generator: writes korvel-inkjet.ppd, the PPD of a generic inkjet that uses the filter, to
// standard output. Its screens, print qualities and their constraints come from the filter's
// own tables (filter_settings.cpp), so that a screen added there is offered, and constrained,
// by regenerating the PPD:
//   build/tools/make/ppd_generator/ppd_generator > tools/ship/rastertokorvel/korvel-inkjet.ppd
// A test (generated.ppd_generator) checks that the committed PPD is this program's output.
#include <iostream>
#include <string>

#include "filter_settings.h"
#include "job_options.h"

namespace {

constexpr char kHeader[] = R"ppd(*PPD-Adobe: "4.3"
*% A generic inkjet screened by korvel: the page is rendered to 8-bit grey or CMYK raster,
*% rastertokorvel screens it to 1 or 2 bits per colour, and the printer (or the printer's own
*% driver filter after this one) receives CUPS raster. Written by ppd_generator from the
*% filter's tables: regenerate it rather than edit it.
*FormatVersion: "4.3"
*FileVersion: "1.0.0"
*LanguageVersion: English
*LanguageEncoding: ISOLatin1
*PCFileName: "KORVELIJ.PPD"
*Manufacturer: "korvel"
*Product: "(korvel inkjet)"
*ModelName: "korvel generic inkjet"
*ShortNickName: "korvel generic inkjet"
*NickName: "korvel generic inkjet, halftoned by korvel"
*PSVersion: "(3010.000) 0"
*LanguageLevel: "3"
*ColorDevice: True
*DefaultColorSpace: CMYK
*FileSystem: False
*Throughput: "1"
*LandscapeOrientation: Plus90
*TTRasterizer: Type42
*cupsVersion: 2.4
*cupsModelNumber: 0
*cupsManualCopies: True
*cupsFilter2: "application/vnd.cups-raster application/vnd.korvel-raster 50 rastertokorvel"

*OpenUI *PageSize/Media Size: PickOne
*OrderDependency: 10 AnySetup *PageSize
*DefaultPageSize: A4
*PageSize A4/A4: "<</PageSize[595 842]/ImagingBBox null>>setpagedevice"
*PageSize Letter/US Letter: "<</PageSize[612 792]/ImagingBBox null>>setpagedevice"
*CloseUI: *PageSize

*OpenUI *PageRegion/Media Size: PickOne
*OrderDependency: 10 AnySetup *PageRegion
*DefaultPageRegion: A4
*PageRegion A4/A4: "<</PageSize[595 842]/ImagingBBox null>>setpagedevice"
*PageRegion Letter/US Letter: "<</PageSize[612 792]/ImagingBBox null>>setpagedevice"
*CloseUI: *PageRegion

*DefaultImageableArea: A4
*ImageableArea A4/A4: "8.5 8.5 586.5 833.5"
*ImageableArea Letter/US Letter: "8.5 8.5 603.5 783.5"
*DefaultPaperDimension: A4
*PaperDimension A4/A4: "595 842"
*PaperDimension Letter/US Letter: "612 792"

*OpenUI *Resolution/Resolution: PickOne
*OrderDependency: 20 AnySetup *Resolution
*DefaultResolution: 600dpi
*Resolution 300dpi/300 dpi: "<</HWResolution[300 300]>>setpagedevice"
*Resolution 600dpi/600 dpi: "<</HWResolution[600 600]>>setpagedevice"
*Resolution 1200dpi/1200 dpi: "<</HWResolution[1200 1200]>>setpagedevice"
*CloseUI: *Resolution

*% The raster korvel screens: 8 bits per colour, grey (sGray, 255 is white) or CMYK chunked.
*OpenUI *ColorModel/Color Mode: PickOne
*OrderDependency: 10 AnySetup *ColorModel
*DefaultColorModel: CMYK
*ColorModel Gray/Grayscale: "<</cupsColorSpace 18/cupsColorOrder 0/cupsBitsPerColor 8>>setpagedevice"
*ColorModel CMYK/Color: "<</cupsColorSpace 6/cupsColorOrder 0/cupsBitsPerColor 8>>setpagedevice"
*CloseUI: *ColorModel
)ppd";

constexpr char kFonts[] = R"ppd(
*DefaultFont: Courier
*Font Courier: Standard "(002.004S)" Standard ROM
*Font Helvetica: Standard "(001.006S)" Standard ROM
*Font Times-Roman: Standard "(001.007S)" Standard ROM
)ppd";

// The labels of the bits per colour, by bits.
const char* BitsLabel(int bits) {
  return bits == 1 ? "1 Bit, Dot or None" : "2 Bits, Drop Sizes";
}

void OpenUi(const char* keyword, const char* label, const std::string& defaultChoice) {
  std::cout << "*OpenUI *" << keyword << "/" << label
            << ": PickOne\n*OrderDependency: 30 AnySetup *" << keyword << "\n*Default" << keyword
            << ": " << defaultChoice << "\n";
}

void CloseUi(const char* keyword) {
  std::cout << "*CloseUI: *" << keyword << "\n";
}

// Both directions of a pair the PPD forbids.
void Constrain(const std::string& keyword, const std::string& choice, const std::string& other,
               const std::string& otherChoice) {
  std::cout << "*UIConstraints: *" << keyword << " " << choice << " *" << other << " "
            << otherChoice << "\n*UIConstraints: *" << other << " " << otherChoice << " *"
            << keyword << " " << choice << "\n";
}

void WritePrintQuality() {
  std::cout << "\n*% Print quality chooses korvel's quality level, whose tone curve the screens "
               "with tone\n*% curves follow; it does not change the speed. The other screens "
               "print the same at every\n*% level and take Normal only.\n";
  OpenUi(kQualityKeyword, "Print Quality", "Normal");
  for (const PrintQuality& quality : PrintQualities())
    std::cout << "*" << kQualityKeyword << " " << quality.choice << "/Quality Level "
              << quality.level << ": \"\"\n";
  CloseUi(kQualityKeyword);
}

void WriteScreensAndBits() {
  std::cout << "\n";
  OpenUi(kScreenKeyword, "Halftone Screen", Screens().front().name);
  for (const Screen& screen : Screens())
    std::cout << "*" << kScreenKeyword << " " << screen.name << "/" << screen.label << ": \"\"\n";
  CloseUi(kScreenKeyword);
  std::cout << "\n";
  OpenUi(kBitsKeyword, "Bits per Colour", "1");
  for (int bits = 1; bits <= 2; ++bits)
    std::cout << "*" << kBitsKeyword << " " << bits << "/" << BitsLabel(bits) << ": \"\"\n";
  CloseUi(kBitsKeyword);
}

void WriteConstraints() {
  std::cout << "\n*% Each screen writes one depth: the drop screens 2 bits (small and medium drops "
               "need them),\n*% the others 1 bit (at 2 bits they would write only empty and full "
               "dots); ByPrintQuality\n*% takes either and chooses Fine at High and Best at Photo "
               "(their drop forms at 2 bits).\n";
  for (const Screen& screen : Screens())
    for (int bits = 1; bits <= 2; ++bits)
      if (screen.bits != 0 && bits != screen.bits)
        Constrain(kScreenKeyword, screen.name, kBitsKeyword, std::to_string(bits));
  std::cout << "\n*% The screens without tone curves take Normal only.\n";
  for (const Screen& screen : Screens())
    for (const PrintQuality& quality : PrintQualities())
      if (!ReadsToneCurves(screen) && quality.level != kNormalLevel)
        Constrain(kScreenKeyword, screen.name, kQualityKeyword, quality.choice);
}

}  // namespace

int main() {
  std::cout << kHeader;
  WritePrintQuality();
  WriteScreensAndBits();
  WriteConstraints();
  std::cout << kFonts;
  return 0;
}
