#include "arguments.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>

#include "tool_error.h"

namespace {

const KnownOption* FindKnownOption(const std::string& name,
                                   std::initializer_list<KnownOption> known) {
  for (const KnownOption& candidate : known)
    if (name == candidate.name) return &candidate;
  return nullptr;
}

bool LooksLikeOption(const std::string& word) {
  return word.size() > 1 && word[0] == '-';
}

}  // namespace

Arguments::Arguments(const std::vector<std::string>& words,
                     std::initializer_list<KnownOption> known) {
  bool optionsEnded = false;
  for (size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (optionsEnded || !LooksLikeOption(word)) {
      positionals_.push_back(word);
      continue;
    }
    if (word == "--") {
      optionsEnded = true;
      continue;
    }
    const size_t equals = word.find('=');
    const std::string name = word.substr(0, equals);
    const KnownOption* option = FindKnownOption(name, known);
    if (!option) throw UsageError("unknown option '" + name + "'");
    if (Find(name)) throw UsageError("option " + name + " given twice");
    Given given{name, ""};
    if (option->takesValue) {
      if (equals != std::string::npos) {
        given.value = word.substr(equals + 1);
      } else if (i + 1 < words.size()) {
        given.value = words[++i];
      } else {
        throw UsageError("option " + name + " needs a value");
      }
      if (given.value.empty()) throw UsageError("option " + name + " needs a value");
    } else if (equals != std::string::npos) {
      throw UsageError("option " + name + " takes no value");
    }
    options_.push_back(given);
  }
}

const Arguments::Given* Arguments::Find(const std::string& name) const {
  for (const Given& given : options_)
    if (given.name == name) return &given;
  return nullptr;
}

bool Arguments::Has(const std::string& name) const {
  return Find(name) != nullptr;
}

const std::string& Arguments::Value(const std::string& name) const {
  static const std::string kNone;
  const Given* given = Find(name);
  return given ? given->value : kNone;
}

int Arguments::IntOr(const std::string& name, int fallback, int min, int max) const {
  const Given* given = Find(name);
  return given ? ParseInt(given->value, name, min, max) : fallback;
}

int ParseInt(const std::string& text, const std::string& what, int min, int max) {
  const std::string range = " (" + std::to_string(min) + " to " + std::to_string(max) + ")";
  errno = 0;
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  // strtol also takes leading blanks and a plus sign; a whole number here is digits after an
  // optional minus sign and nothing else.
  const size_t firstDigit = !text.empty() && text[0] == '-' ? 1 : 0;
  const bool digitFirst =
      firstDigit < text.size() && std::isdigit(static_cast<unsigned char>(text[firstDigit]));
  if (!digitFirst || *end != '\0' || end == text.c_str())
    throw UsageError(what + " must be a whole number" + range + ", not '" + text + "'");
  if (errno == ERANGE || value < min || value > max)
    throw UsageError(what + " " + text + " is out of range" + range);
  return static_cast<int>(value);
}

Size ParsePair(const std::string& text, const std::string& what, const std::string& part, int min,
               int max) {
  // The separator is looked for after the first character, so that a leading minus sign of
  // the first number is not taken for it.
  const size_t cross = text.find_first_of("xX,", text.empty() ? 0 : 1);
  if (cross == std::string::npos)
    throw UsageError(what + " must be " + part + "x" + part + ", not '" + text + "'");
  const std::string name = what + " " + part;
  return Size{ParseInt(text.substr(0, cross), name, min, max),
              ParseInt(text.substr(cross + 1), name, min, max)};
}

Size ParseSize(const std::string& text, const std::string& what, int maxSide) {
  if (text.find_first_of("xX,") == std::string::npos)
    throw UsageError(what + " must be WIDTHxHEIGHT, not '" + text + "'");
  return ParsePair(text, what, "side", 1, maxSide);
}

namespace {

// A decimal fraction strictly between 0 and 1.
double ParseFraction(const std::string& text, const std::string& what) {
  errno = 0;
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (text.empty() || *end != '\0' || end == text.c_str() || errno == ERANGE ||
      !(value > 0.0 && value < 1.0))
    throw UsageError(what + " must be a decimal between 0 and 1 of the large drop's ink, not '" +
                     text + "'");
  return value;
}

}  // namespace

DropInks ParseDropInks(const std::string& text, const std::string& what) {
  const size_t comma = text.find(',');
  if (comma == std::string::npos)
    throw UsageError(what + " must be SMALL,MEDIUM (e.g. 0.3,0.6), not '" + text + "'");
  const DropInks inks{ParseFraction(text.substr(0, comma), what + " small"),
                      ParseFraction(text.substr(comma + 1), what + " medium")};
  if (!(inks.small < inks.medium))
    throw UsageError(what + ": the small drop's ink must be below the medium's, not '" + text +
                     "'");
  return inks;
}
