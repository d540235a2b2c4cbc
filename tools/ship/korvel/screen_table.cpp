#include "screen_table.h"

#include <functional>
#include <iterator>
#include <vector>

#include "tool_error.h"

namespace {

constexpr TypeSet Type(int type) {
  return TypeSet{1} << type;
}

constexpr TypeSet TypeRange(int first, int last) {
  TypeSet types = 0;
  for (int type = first; type <= last; ++type) types |= Type(type);
  return types;
}

constexpr int kImageType = 34;
constexpr int kThreeDropType = 41;
constexpr TypeSet kBarTypes = Type(4) | Type(8) | Type(9);
constexpr TypeSet kRampFromFileType = Type(38);
constexpr TypeSet kPlainPatternTypes =
    TypeRange(0, 38) & ~Type(kImageType) & ~kBarTypes & ~kRampFromFileType;

constexpr unsigned kOneOrTwoBits = 1u << 1 | 1u << 2;
constexpr unsigned kTwoBits = 1u << 2;
constexpr unsigned kFourBits = 1u << 4;

using Source = ScreenSource;

// The bar patterns and the compensation ramp stand apart from the other test patterns because
// the library enlarges the bars less and reads the ramp from the parameter file (FactsOf).
const std::vector<ScreenRule> kScreens = {
    {"error diffusion of a test pattern", kOneOrTwoBits, kPlainPatternTypes, false,
     Source::kPattern},
    {"error diffusion of a bar pattern", kOneOrTwoBits, kBarTypes, false, Source::kPattern},
    {"error diffusion of the compensation ramp", kOneOrTwoBits, kRampFromFileType, false,
     Source::kPattern},
    {"error diffusion of the image", kOneOrTwoBits, Type(kImageType), false, Source::kImage},
    {"template diffusion of a test pattern", kOneOrTwoBits, kPlainPatternTypes, true,
     Source::kPattern},
    {"template diffusion of a bar pattern", kOneOrTwoBits, kBarTypes, true, Source::kPattern},
    {"template diffusion of the compensation ramp", kOneOrTwoBits, kRampFromFileType, true,
     Source::kPattern},
    {"template diffusion of the image", kOneOrTwoBits, Type(kImageType), true, Source::kImage},
    {"257 x 257 threshold matrix", kOneOrTwoBits, Type(42), false, Source::kImageOrPattern},
    {"small drops", kTwoBits, Type(39), false, Source::kImage},
    {"small and medium drops", kTwoBits, Type(40), false, Source::kImage},
    {"small, medium and large drops", kTwoBits, Type(kThreeDropType), false, Source::kImage},
    {"4-bit image path", kFourBits, 0, false, Source::kImage},
};

// korvel's own screens, in the order of kOwnScreenNames.
const ScreenRule kOwnScreens[] = {
    {"fine, korvel's error diffusion of the image", kOneOrTwoBits, 0, false, Source::kImage},
    {"best, korvel's search for the least visible error", kOneOrTwoBits, 0, false, Source::kImage},
};

bool IsOwnScreen(const ScreenRule& rule) {
  return &rule >= std::begin(kOwnScreens) && &rule < std::end(kOwnScreens);
}

int LowestDepth(const ScreenRule& rule) {
  for (int bits : {1, 2, 4})
    if (rule.depths >> bits & 1) return bits;
  throw ToolError("a screen of the table writes no depth");
}

int FirstType(TypeSet types) {
  for (int type = 0; type <= KORVEL_TEMPLATE_TYPE_MAX; ++type)
    if (types & Type(type)) return type;
  return kImageType;  // the 4-bit path takes no type
}

bool ReadsToneCurve(const ScreenRule& rule) {
  return FactsOf(rule).reads_tone_curve != 0;
}

int HighestDotMode(const ScreenRule& rule) {
  return FactsOf(rule).highest_dot_mode;
}

bool Covers(const ScreenRule& rule, int bits, int type) {
  return (rule.depths >> bits & 1) && (rule.types == 0 || (rule.types & Type(type)));
}

const ScreenRule* Find(int bits, int type, bool templateDiffusion) {
  for (const ScreenRule& rule : kScreens)
    if (Covers(rule, bits, type) && rule.templateDiffusion == templateDiffusion) return &rule;
  return nullptr;
}

std::string FormatDepths(unsigned depths) {
  std::vector<std::string> names;
  for (int bits : {1, 2, 4})
    if (depths >> bits & 1) names.push_back(std::to_string(bits));
  std::string text;
  for (size_t i = 0; i < names.size(); ++i)
    text += (i == 0 ? "" : i + 1 == names.size() ? " or " : ", ") + names[i];
  return "--bits " + text;
}

// "types 0-38 at --bits 1 or 2": every screen the predicate holds for.
std::string WhereItApplies(const std::function<bool(const ScreenRule&)>& applies) {
  TypeSet types = 0;
  unsigned depths = 0;
  for (const ScreenRule& rule : kScreens)
    if (applies(rule)) {
      types |= rule.types;
      depths |= rule.depths;
    }
  return "types " + FormatTypes(types) + " at " + FormatDepths(depths);
}

// "the small drops (--type 39 at --bits 2)", saying when the type is the depth's default.
std::string Label(const ScreenRule& rule, const ScreenRequest& request) {
  if (IsOwnScreen(rule))
    return "the screen " + request.screen + " (--screen " + request.screen + " at --bits " +
           std::to_string(request.bits) + ")";
  if (rule.types == 0) return "the " + std::string(rule.name) + " (--bits 4)";
  return "the " + std::string(rule.name) + " (--type " + std::to_string(request.type) +
         (request.typeGiven ? "" : ", the default") + " at --bits " + std::to_string(request.bits) +
         ")";
}

[[noreturn]] void RefuseOption(const std::string& option, const ScreenRule& rule,
                               const ScreenRequest& request, const std::string& why) {
  throw UsageError(option + " does not apply to " + Label(rule, request) + ": " + why);
}

const ScreenRule& RuleOrRefusal(const ScreenRequest& request) {
  if (const ScreenRule* rule = Find(request.bits, request.type, request.templateDiffusion))
    return *rule;
  if (const ScreenRule* plain = Find(request.bits, request.type, false))
    RefuseOption("--template-diffusion", *plain, request,
                 "it replaces the error diffusion of " +
                     WhereItApplies([](const ScreenRule& r) { return r.templateDiffusion; }));
  for (const ScreenRule& rule : kScreens)
    if (rule.types & Type(request.type))
      throw UsageError("--type " + std::to_string(request.type) + " (" + rule.name + ") needs " +
                       FormatDepths(rule.depths) + ", not --bits " + std::to_string(request.bits));
  throw UsageError("--type " + std::to_string(request.type) + " has no screen");
}

void CheckSource(const ScreenRule& rule, const ScreenRequest& request) {
  if (request.inks > 1 && rule.source == ScreenSource::kPattern)
    RefuseOption("CMYK input", rule, request,
                 "it draws a test pattern; " + WhereItApplies([](const ScreenRule& r) {
                   return r.source != ScreenSource::kPattern;
                 }) + " screen the inks of a page");
  if (!request.sizeGiven || rule.source != ScreenSource::kImage) return;
  const std::string patterns =
      WhereItApplies([](const ScreenRule& r) { return r.source != ScreenSource::kImage; });
  if (!request.typeGiven && rule.types != 0)
    throw UsageError("--size draws a test pattern: choose one with --type (" + patterns +
                     " draw patterns; see korvel --help)");
  RefuseOption("--size", rule, request,
               "it screens an input image (halftone IN OUT); " + patterns + " draw patterns");
}

void CheckCells(const ScreenRule& rule, const ScreenRequest& request) {
  const auto usesCells = [](const ScreenRule& r) { return HighestDotMode(r) >= 0; };
  const int highest = HighestDotMode(rule);
  if (highest < 0) {
    const std::string why =
        "it screens pixel by pixel; " + WhereItApplies(usesCells) + " enlarge cells";
    if (request.dotModeGiven) RefuseOption("--dot-mode", rule, request, why);
    if (request.cellGiven) RefuseOption("--cell", rule, request, why);
    return;
  }
  if (request.dotModeGiven && request.dotMode > highest)
    RefuseOption("--dot-mode " + std::to_string(request.dotMode), rule, request,
                 "it enlarges at most as --dot-mode " + std::to_string(highest) + " does; " +
                     WhereItApplies([&request](const ScreenRule& r) {
                       return HighestDotMode(r) >= request.dotMode;
                     }) +
                     " enlarge further");
}

// The own screen the request names, refusing the options that would choose another screen.
const ScreenRule& OwnScreenOrRefusal(const ScreenRequest& request) {
  const ScreenRule* rule = nullptr;
  for (size_t k = 0; k < std::size(kOwnScreenNames); ++k)
    if (request.screen == kOwnScreenNames[k].name) rule = &kOwnScreens[k];
  if (rule == nullptr)
    throw UsageError("--screen must be fine or best, not '" + request.screen + "'");
  if (!(rule->depths >> request.bits & 1))
    throw UsageError("--screen " + request.screen + " writes --bits 1 or 2, not --bits " +
                     std::to_string(request.bits));
  const std::string chosen = "--screen chooses the screen, and ";
  if (request.typeGiven)
    RefuseOption("--type", *rule, request, chosen + "--type chooses one of the template types");
  if (request.templateDiffusion)
    RefuseOption("--template-diffusion", *rule, request,
                 chosen + "--template-diffusion chooses the template diffusion");
  if (request.dropInksGiven && request.bits != 2)
    RefuseOption("--drop-inks", *rule, request,
                 "it lays one drop at --bits 1; small and medium drops come at --bits 2");
  return *rule;
}

// The checks of the options every screen shares: what it screens, its tone curve, its cells
// and the threads.
void CheckSharedOptions(const ScreenRule& rule, const ScreenRequest& request) {
  CheckSource(rule, request);
  const bool readsToneCurve = ReadsToneCurve(rule);
  if (request.qualityGiven && !readsToneCurve)
    RefuseOption("--quality", rule, request,
                 "it reads no tone curve; error and template diffusion (" +
                     WhereItApplies(ReadsToneCurve) + ") and the own screens (--screen) do");
  if (request.curveGiven && !readsToneCurve)
    RefuseOption("--curve", rule, request,
                 "it reads no tone curve; error and template diffusion (" +
                     WhereItApplies(ReadsToneCurve) + ") and the own screens (--screen) do");
  if (request.qualityBesideCurve && !FactsOf(rule).reads_file_ramp)
    RefuseOption("--quality", rule, request,
                 "an ink's --curve replaces the tone curve of its quality level, and the level "
                 "chooses nothing else here");
  CheckCells(rule, request);
  if (request.threadsGiven && request.inks == 1)
    throw UsageError(
        "--threads does not apply to grey input: a grey page is one ink, screened on one "
        "thread; the inks of a CMYK TIFF are screened in parallel");
}

// The facts the library gives a depth and type with the rule's template-diffusion choice.
korvel_screen_facts FactsOfType(const ScreenRule& rule, int bits, int type) {
  korvel_screen_facts facts{};
  facts.size = sizeof facts;
  korvel_status status = KORVEL_OK;
  if (IsOwnScreen(rule)) {
    korvel_screen_options options;
    korvel_screen_options_init(
        &options, static_cast<korvel_screen>(kOwnScreenNames[&rule - kOwnScreens].screen), bits);
    status = korvel_screen_options_describe(&options, &facts);
  } else {
    const korvel_image_options options{type, 1, 1, 0, rule.templateDiffusion ? 1 : 0};
    status = korvel_image_options_describe(&options, bits, &facts);
  }
  if (status != KORVEL_OK)
    throw ToolError(std::string("the library cannot describe the ") + rule.name + ": " +
                    korvel_strerror(status));
  return facts;
}

bool SameFacts(const korvel_screen_facts& a, const korvel_screen_facts& b) {
  return a.reads_tone_curve == b.reads_tone_curve && a.reads_file_ramp == b.reads_file_ramp &&
         a.streams == b.streams && a.highest_dot_mode == b.highest_dot_mode;
}

}  // namespace

const OwnScreenName kOwnScreenNames[2] = {{"fine", 1}, {"best", 2}};

korvel_screen_facts FactsOf(const ScreenRule& rule) {
  const korvel_screen_facts first = FactsOfType(rule, LowestDepth(rule), FirstType(rule.types));
  for (int bits : {1, 2, 4})
    for (int type = 0; type <= KORVEL_TEMPLATE_TYPE_MAX; ++type)
      if (Covers(rule, bits, type) && !SameFacts(first, FactsOfType(rule, bits, type)))
        throw ToolError(std::string("the library screens the types of the ") + rule.name +
                        " differently (--type " + std::to_string(type) + " at --bits " +
                        std::to_string(bits) + ")");
  return first;
}

int DefaultType(int bits) {
  return bits == 2 ? kThreeDropType : kImageType;
}

const ScreenRule& ChooseScreen(const ScreenRequest& request) {
  if (!request.screen.empty()) {
    const ScreenRule& own = OwnScreenOrRefusal(request);
    CheckSharedOptions(own, request);
    return own;
  }
  if (request.dropInksGiven)
    throw UsageError(
        "--drop-inks sets the small and medium drops of korvel's own screens: it needs --screen "
        "fine or best at --bits 2 (the drops of --type 41 are fixed)");
  const ScreenRule& rule = RuleOrRefusal(request);
  if (request.typeGiven && rule.types == 0)
    RefuseOption("--type", rule, request,
                 "it has no template types; types choose the screen at --bits 1 or 2");
  CheckSharedOptions(rule, request);
  return rule;
}

std::string FormatTypes(TypeSet types) {
  std::string text;
  for (int type = 0; type <= KORVEL_TEMPLATE_TYPE_MAX; ++type) {
    if (!(types & Type(type))) continue;
    int last = type;
    while (last < KORVEL_TEMPLATE_TYPE_MAX && (types & Type(last + 1))) ++last;
    // Three or more types in a row as a range, fewer one by one.
    const int end = last - type >= 2 ? type : last;
    for (int single = type; single <= end; ++single)
      text += (text.empty() ? "" : ",") + std::to_string(single);
    if (end < last) text += "-" + std::to_string(last);
    type = last;
  }
  return text;
}

std::string DescribeScreens() {
  static const char* const kSources[] = {"uses --size WxH (or the size of IN)", "uses IN",
                                         "uses IN, or --size WxH for a ramp"};
  std::string text;
  for (const ScreenRule& rule : kScreens) {
    std::string depths = FormatDepths(rule.depths);
    if (depths == "--bits 1 or 2") depths = "--bits 1|2";
    text += "  " + depths;
    if (rule.types) text += " --type " + FormatTypes(rule.types);
    if (rule.templateDiffusion) text += " --template-diffusion";
    text += ": " + std::string(rule.name) + "\n      " + kSources[static_cast<int>(rule.source)];
    const korvel_screen_facts facts = FactsOf(rule);
    if (facts.reads_tone_curve) text += "; --quality, --curve";
    if (facts.highest_dot_mode >= 0)
      text += "; --dot-mode 0.." + std::to_string(facts.highest_dot_mode) + ", --cell";
    text += "\n";
  }
  for (size_t k = 0; k < std::size(kOwnScreenNames); ++k)
    text += "  --bits 1|2 --screen " + std::string(kOwnScreenNames[k].name) + ": " +
            kOwnScreens[k].name +
            "\n      uses IN; --quality, --curve; --drop-inks S,M at --bits 2\n";
  return text;
}
