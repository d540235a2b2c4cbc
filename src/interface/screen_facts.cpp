// The facts of every screen: which settings act on it, whether it streams and how far it
// enlarges its cells. They follow the screens' own choices (the tone-curve set-up, the row
// screens, the dispatcher's bar limit), so a host never restates them.
#include "interface/screen_facts.h"

#include "image/dot_ditherers.h"
#include "image/image_entry_points.h"
#include "image/template_types.h"
#include "interface/context.h"

namespace {

constexpr int kCompensationRampType = 38;
constexpr int kHighestDotMode = KORVEL_DOT_MODE_MAX;
static_assert(kMatrixType == KORVEL_TEMPLATE_TYPE_MAX, "the matrix is the highest template type");
// The dispatcher enlarges the bar patterns at most twice: dot modes 2 and 3 draw them as 1.
constexpr int kBarHighestDotMode = 1;
constexpr int kNoCells = -1;

bool IsBarPattern(int templateType) {
  return templateType == 4 || templateType == 8 || templateType == 9;
}

// The 2-bit call screens types 39 to 41 straight through their dot screens, on the pixels.
bool ScreensDotsOnPixels(int bits, int templateType) {
  return bits == 2 && DotScreenTable(templateType) != nullptr;
}

// One bit keeps the medium and large drops only, so the small-drop screen leaves the page
// blank at every setting.
bool LaysNoDot(int bits, int templateType) {
  return bits == 1 && templateType == kSmallDotType && DotScreenTable(templateType) != nullptr;
}

// The row screens that read neither the tone curve nor the level table: the dot screens and
// the threshold matrix, unless the template diffusion replaces them.
bool ScreensWithoutCurve(const korvel_image_options& options) {
  if (options.use_template_diffusion) return false;
  return DotScreenTable(options.template_type) != nullptr || options.template_type == kMatrixType;
}

korvel_screen_facts FactsOfTemplateType(const korvel_image_options& options, int bits) {
  const int type = options.template_type;
  korvel_screen_facts facts{};
  facts.size = sizeof facts;
  facts.streams = ImageCallStreams(bits, type);
  if (ScreensDotsOnPixels(bits, type) ||
      (LaysNoDot(bits, type) && !options.use_template_diffusion)) {
    facts.highest_dot_mode = kNoCells;
    return facts;
  }
  facts.reads_tone_curve = !ScreensWithoutCurve(options);
  facts.reads_file_ramp = type == kCompensationRampType;
  facts.highest_dot_mode = IsBarPattern(type) ? kBarHighestDotMode : kHighestDotMode;
  return facts;
}

// The 4-bit image path diffuses the page at the context's level table, without cells, and
// installs no tone curve.
korvel_screen_facts FactsOfFourBitPath() {
  korvel_screen_facts facts{};
  facts.size = sizeof facts;
  facts.highest_dot_mode = kNoCells;
  return facts;
}

}  // namespace

korvel_status DescribeOwnScreen(korvel_screen_facts* facts) {
  if (facts->size != sizeof(korvel_screen_facts)) return KORVEL_ERROR_ARGUMENT;
  // The own screens read the error diffusion's tone curve, stream, and screen pixel by pixel.
  *facts = korvel_screen_facts{sizeof(korvel_screen_facts), 1, 0, 1, kNoCells};
  return KORVEL_OK;
}

korvel_status korvel_image_options_describe(const korvel_image_options* options, int bits,
                                            korvel_screen_facts* facts) {
  if (options == nullptr || facts == nullptr) return KORVEL_ERROR_NULL_BUFFER;
  if (facts->size != sizeof(korvel_screen_facts)) return KORVEL_ERROR_ARGUMENT;
  if (bits == 4) {
    *facts = FactsOfFourBitPath();
    return KORVEL_OK;
  }
  if (bits != 1 && bits != 2) return KORVEL_ERROR_ARGUMENT;
  *facts = FactsOfTemplateType(*options, bits);
  return KORVEL_OK;
}
