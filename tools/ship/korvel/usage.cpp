#include <korvel/korvel_context.h>

#include <cstdio>
#include <string>

#include "commands.h"
#include "screen_table.h"
#include "screening_context.h"

namespace {

constexpr char kHelpColumn[] = "                                ";

std::string Level(int level) {
  return std::to_string(level);
}

// The levels and curves of --quality, as the library gives them.
std::string QualityHelp() {
  const korvel_quality_facts usual = QualityFacts(kDefaultQuality);
  const std::string curve = usual.reads_file_curve
                                ? std::string(", read from\n") + kHelpColumn + usual.file_name
                                : ", a built-in\n" + std::string(kHelpColumn) + "curve";
  return Level(KORVEL_QUALITY_MIN) + ".." + Level(KORVEL_QUALITY_MAX) +
         ", picks the tone curve (default " + Level(kDefaultQuality) + curve +
         "; info --quality LEVEL names a level's\n" + kHelpColumn +
         "curve); per ink: --quality K=70,C=50 or 60,K=70\n";
}

// The template types and dot modes, as the library bounds them; the defaults are the tool's.
std::string TypeAndDotModeHelp() {
  const std::string dotMode = "      --dot-mode 0.." + Level(KORVEL_DOT_MODE_MAX);
  return "0.." + Level(KORVEL_TEMPLATE_TYPE_MAX) + " (default " + Level(DefaultType(1)) +
         " = the image by error\n" + kHelpColumn + "diffusion at 1 bit, " + Level(DefaultType(2)) +
         " = small/medium/large drops at 2)\n" + dotMode +
         std::string(kHelpColumn).substr(dotMode.size()) +
         "enlarge every screened cell 1, 2, 4 or 8 times\n";
}

// The parameter files, named as the library names them.
std::string ParameterFilesHelp() {
  return std::string("one per quality level (") + QualityFacts(kDefaultQuality).file_name +
         " for level " + Level(kDefaultQuality) +
         "), in the folder\n"
         "korvel info names; set " KORVEL_DATA_DIR_VARIABLE " to choose the folder.\n";
}

// The drop inks the library's own screens take unless told otherwise.
std::string DefaultDropInks() {
  korvel_screen_options options;
  korvel_screen_options_init(&options, KORVEL_SCREEN_FINE, 2);
  char text[32];
  std::snprintf(text, sizeof text, "%.3f,%.3f", options.small_drop_ink, options.medium_drop_ink);
  return text;
}

}  // namespace

void PrintUsage(FILE* stream) {
  std::fputs(
      "usage: korvel COMMAND [options] FILES\n"
      "\n"
      "  halftone [options] IN OUT     screen a grey PNG or PGM/PBM image, or the inks of an\n"
      "                                8-bit CMYK TIFF (OUT.tif: one CMYK TIFF; OUT.png, .pbm,\n"
      "                                .pgm: OUT-C.png, OUT-M.png, OUT-Y.png, OUT-K.png)\n"
      "  halftone [options] --size WxH OUT\n"
      "                                screen one of the library's test patterns (needs --type)\n"
      "      --bits 1|2|4              output depth (default 1; 4 = the 4-bit image path)\n"
      "      --type N                  template type ",
      stream);
  std::fputs(TypeAndDotModeHelp().c_str(), stream);
  std::fputs(
      "      --cell WxH                cell factors (default 1x1)\n"
      "      --quality LEVEL           ",
      stream);
  std::fputs(QualityHelp().c_str(), stream);
  std::fputs(
      "      --curve FILE              a tone curve of the ink's own: percent points for\n"
      "                                requested ink 0..100 %; per ink: --curve K=k.txt,C=c.txt\n"
      "      --threads N               inks of a CMYK page screened at once (default: cores)\n"
      "      --template-diffusion      the template diffusion instead of error diffusion\n"
      "      --screen fine|best        one of korvel's own screens of the image instead of a\n"
      "                                template type: fine, an error diffusion, or best, a\n"
      "                                slower search for the least visible error\n"
      "      --drop-inks S,M           with --screen at --bits 2: the inks of the small and\n"
      "                                medium drops relative to the large (default ",
      stream);
  std::fputs(DefaultDropInks().c_str(), stream);
  std::fputs(
      ")\n"
      "  template --level P [--bits 1|2|4] --size WxH OUT\n"
      "                                a uniform template of P percent ink\n"
      "  split --planes 2|3|4 --size WxH OUT_PREFIX\n"
      "                                divide an area between 2-bit planes\n"
      "                                (OUT_PREFIX.png -> OUT_PREFIX-1.png, ...)\n"
      "  mask make [--planes P] [--size WxH] [--max M] [--seed S] OUT\n"
      "                                a stored blue-noise threshold mask (default 1 plane\n"
      "                                of 64x64, raw thresholds up to 65535, seed 1)\n"
      "  mask apply [--plane K] [--bits 1|2] [--offset XxY] [--step XxY] MASK IN OUT\n"
      "                                screen an image against a stored mask\n"
      "  info [--quality LEVEL]        version, library and parameter file in use\n"
      "\n"
      "halftone screens and the options each one uses (any other option is refused):\n",
      stream);
  std::fputs(DescribeScreens().c_str(), stream);
  std::fputs(
      "\n"
      "Common options: --stats (print coverage per output), --quiet (no progress bar).\n"
      "OUT is written by its extension: .png, .pbm (1 bit), .pgm, .tif/.tiff.\n"
      "Parameter files: ",
      stream);
  std::fputs(ParameterFilesHelp().c_str(), stream);
}
