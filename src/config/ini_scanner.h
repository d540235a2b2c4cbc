// Finds the integer value of one key of one section in INI text that arrives in pieces.
//
// Reading rules (those of the Windows profile query):
//   - a UTF-8 byte-order mark at the very start is skipped; lines end with LF or CRLF;
//   - spaces, tabs and carriage returns around section names, key names and values are ignored;
//   - a line whose first non-blank character is ';' or '#' is a comment;
//   - "[name]" opens a section (text after the first ']' is ignored; a line starting with '['
//     that has no ']' is ignored); "key = value" is an entry; any other line is ignored;
//   - section and key names compare case-insensitively (ASCII);
//   - the first matching key of the first matching section wins: the search stops at the end of
//     that section, so a later section of the same name is never consulted;
//   - the value is an optional sign and the decimal digits that follow it; anything after them
//     is ignored, no digits read as 0, and numbers beyond the 32-bit range saturate.
//
// Names are compared while they are read, so memory use is fixed whatever the length of the
// lines; every byte is looked at once at most, and the rest of a line that cannot matter (a
// comment, another key, anything outside the wanted section) is skipped with memchr.
#ifndef KORVEL_CONFIG_INI_SCANNER_H
#define KORVEL_CONFIG_INI_SCANNER_H

#include <cstddef>
#include <cstdint>

class IniIntScanner {
 public:
  // Both names must stay valid while the scanner is used.
  IniIntScanner(const char* section, const char* key);

  // Consumes the next piece of the text. Returns true once the answer is known; further input
  // is then not needed (and ignored).
  bool Feed(const char* data, size_t size);

  // Marks the end of the text (a value on the last line needs no line end).
  void Finish();

  // True once the answer is known (found or not).
  bool done() const { return state_ == State::kFound || state_ == State::kAbsent; }
  bool found() const { return state_ == State::kFound; }
  // The value read, when found().
  int32_t value() const;

 private:
  enum class State {
    kLineStart,
    kSkipLine,
    kSectionName,
    kClosingHeader,
    kKeyName,
    kValueStart,
    kValueDigits,
    kFound,
    kAbsent,
  };

  // Compares a name with the wanted one as its characters arrive: blanks before and after the
  // name are dropped, those inside it must match too.
  class NameMatcher {
   public:
    void Start(const char* target, size_t length);
    // Takes the next character; false once the name can no longer match.
    bool Add(char c);
    bool Matches() const { return !mismatch_ && matched_ == length_; }

   private:
    const char* target_ = nullptr;
    size_t length_ = 0;
    size_t matched_ = 0;  // target characters matched up to the last non-blank one
    size_t pending_ = 0;  // blanks since then, matched against the target so far
    bool pendingOk_ = true;
    bool mismatch_ = false;
  };

  bool SkipByteOrderMark(const char*& data, const char* end);
  void Step(char c);
  void StartLine(char c);
  void StartValue(char c);
  void AddDigit(char c);

  const char* section_;
  const char* key_;
  size_t sectionLength_;
  size_t keyLength_;
  State state_ = State::kLineStart;
  int bomMatched_ = 0;
  bool atTextStart_ = true;
  bool inSection_ = false;
  NameMatcher name_;
  bool negative_ = false;
  uint64_t magnitude_ = 0;  // saturates just past 2^31
};

#endif
