// The words after the command name, split into options and positional arguments, and the
// parsers for the option values the commands take.
#ifndef KORVEL_TOOL_ARGUMENTS_H
#define KORVEL_TOOL_ARGUMENTS_H

#include <initializer_list>
#include <string>
#include <vector>

struct KnownOption {
  const char* name;  // with its leading dashes, e.g. "--bits"
  bool takesValue;
};

struct Size {
  int width;
  int height;
};

class Arguments {
 public:
  // Accepts "--name value" and "--name=value"; "--" ends the options. Throws UsageError for an
  // option not in known, a missing value, a value given to a flag or an option given twice.
  Arguments(const std::vector<std::string>& words, std::initializer_list<KnownOption> known);

  bool Has(const std::string& name) const;
  // The value of an option that takes one; empty when the option was not given.
  const std::string& Value(const std::string& name) const;
  const std::vector<std::string>& Positionals() const { return positionals_; }

  // The option's value as an integer in min..max, or fallback when it was not given.
  int IntOr(const std::string& name, int fallback, int min, int max) const;

 private:
  struct Given {
    std::string name;
    std::string value;
  };
  const Given* Find(const std::string& name) const;

  std::vector<Given> options_;
  std::vector<std::string> positionals_;
};

// A decimal integer in min..max; what names the value in the message of the UsageError.
int ParseInt(const std::string& text, const std::string& what, int min, int max);

// "AxB" (also "A,B"), each number in min..max; part names one number in messages.
Size ParsePair(const std::string& text, const std::string& what, const std::string& part, int min,
               int max);

// The inks of the small and medium drops relative to the large one.
struct DropInks {
  double small;
  double medium;
};

// "S,M": two decimals with 0 < S < M < 1.
DropInks ParseDropInks(const std::string& text, const std::string& what);

// "WxH" (also "W,H"), each side 1..maxSide.
Size ParseSize(const std::string& text, const std::string& what, int maxSide);

#endif
