#include "search_record.h"

#include <cinttypes>
#include <cstdio>
#include <cstdlib>

namespace {

// The shortest of %.15g, %.16g and %.17g that reads back as the same double.
std::string Number(double value) {
  char text[32];
  for (int digits = 15; digits <= 17; ++digits) {
    std::snprintf(text, sizeof text, "%.*g", digits, value);
    if (std::strtod(text, nullptr) == value) break;
  }
  return text;
}

std::string Anchors(const char* name, const double (&values)[RestartShaping::kAnchors]) {
  std::string text = name;
  for (double v : values) text += " " + Number(v);
  return text;
}

}  // namespace

std::string ChoiceText(const TableChoice& choice) {
  char seeds[64];
  std::snprintf(seeds, sizeof seeds, "seeds %016" PRIx64 " %016" PRIx64 ", ", choice.dotBiasSeed,
                choice.weightSeed);
  const RestartShaping& s = choice.shaping;
  return seeds + Anchors("keep", s.keep) + ", " + Anchors("apart", s.apart) + ", " +
         Anchors("drop", s.drop) + ", rows free " + Number(s.rowsFree) + ", row weight " +
         Number(s.rowWeight);
}

std::string SearchRecord(const char* title, const SearchPlan& plan, const TableChoice* start,
                         const char* startNote, const TableChoice& chosen) {
  char line[320];
  std::string record = std::string("// ") + title + ":\n";
  record += std::string("//   training set: ") + plan.trainingSet + "\n";
  std::snprintf(line, sizeof line,
                "//   search seed %016" PRIx64 ", %d other cycle seeds, %d evaluations, %s\n",
                plan.seed, plan.seedTrials, plan.evaluations,
                plan.mapTradeOff ? "trade-off mapped first" : "no trade-off map");
  record += line;
  record += "//   start: " + (start ? ChoiceText(*start) : std::string(startNote)) + "\n";
  record += "//   chosen: " + ChoiceText(chosen) + "\n";
  return record;
}
