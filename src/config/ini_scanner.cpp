#include "config/ini_scanner.h"

#include <cstring>

namespace {

constexpr unsigned char kByteOrderMark[] = {0xEF, 0xBB, 0xBF};
constexpr uint64_t kSaturatedMagnitude = uint64_t{1} << 31;  // |INT32_MIN|

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
char AsciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

void IniIntScanner::Name::Clear() {
  kept_ = 0;
  written_ = 0;
  tooLong_ = false;
  blanksLost_ = false;
}

void IniIntScanner::Name::Add(char c) {
  if (tooLong_) return;
  if (IsBlank(c)) {
    if (written_ == 0) return;  // leading blank
    if (written_ < kMaxNameLength) {
      text_[written_++] = c;
    } else {
      blanksLost_ = true;  // harmless if the name ends here, fatal if it goes on
    }
    return;
  }
  if (blanksLost_ || written_ >= kMaxNameLength) {
    tooLong_ = true;
    return;
  }
  text_[written_++] = c;
  kept_ = written_;
}

bool IniIntScanner::Name::Matches(const char* target, size_t targetLength) const {
  if (tooLong_ || kept_ != targetLength) return false;
  for (size_t i = 0; i < kept_; ++i) {
    if (AsciiLower(text_[i]) != AsciiLower(target[i])) return false;
  }
  return true;
}

IniIntScanner::IniIntScanner(const char* section, const char* key)
    : section_(section),
      key_(key),
      sectionLength_(std::strlen(section)),
      keyLength_(std::strlen(key)) {
  // A name no line can match: nothing to look for.
  if (sectionLength_ > kMaxNameLength || keyLength_ > kMaxNameLength) state_ = State::kAbsent;
}

int32_t IniIntScanner::value() const {
  if (negative_) {
    return magnitude_ >= kSaturatedMagnitude ? INT32_MIN : -static_cast<int32_t>(magnitude_);
  }
  return magnitude_ >= kSaturatedMagnitude ? INT32_MAX : static_cast<int32_t>(magnitude_);
}

bool IniIntScanner::Feed(const char* data, size_t size) {
  const char* p = data;
  const char* const end = data + size;
  if (done()) return true;
  if (atTextStart_ && !SkipByteOrderMark(p, end)) return false;
  while (p < end) {
    if (state_ == State::kSkipLine) {
      const void* lineEnd = std::memchr(p, '\n', static_cast<size_t>(end - p));
      if (lineEnd == nullptr) return false;
      p = static_cast<const char*>(lineEnd) + 1;
      state_ = State::kLineStart;
      continue;
    }
    Step(*p++);
    if (done()) return true;
  }
  return done();
}

void IniIntScanner::Finish() {
  if (done()) return;
  if (atTextStart_) {
    // Text shorter than a byte-order mark that began like one: those bytes are text.
    atTextStart_ = false;
    for (int i = 0; i < bomMatched_ && !done(); ++i) Step(static_cast<char>(kByteOrderMark[i]));
  }
  if (state_ == State::kValueStart || state_ == State::kValueDigits) {
    state_ = State::kFound;
  } else if (state_ != State::kFound) {
    state_ = State::kAbsent;
  }
}

// Consumes the byte-order mark at the start of the text. Returns true once it is known whether
// the text starts with one (the bytes of a partial match are then fed as text).
bool IniIntScanner::SkipByteOrderMark(const char*& data, const char* end) {
  while (data < end) {
    if (static_cast<unsigned char>(*data) != kByteOrderMark[bomMatched_]) {
      atTextStart_ = false;
      for (int i = 0; i < bomMatched_; ++i) Step(static_cast<char>(kByteOrderMark[i]));
      return true;
    }
    ++data;
    if (++bomMatched_ == static_cast<int>(sizeof kByteOrderMark)) {
      atTextStart_ = false;
      return true;
    }
  }
  return false;
}

void IniIntScanner::Step(char c) {
  switch (state_) {
    case State::kLineStart:
      if (c != '\n' && !IsBlank(c)) StartLine(c);
      break;
    case State::kSkipLine:
      if (c == '\n') state_ = State::kLineStart;
      break;
    case State::kSectionName:
      if (c == '\n') {
        state_ = State::kLineStart;  // no closing bracket: not a section header
      } else if (c == ']') {
        EndSection();
      } else {
        name_.Add(c);
      }
      break;
    case State::kKeyName:
      if (c == '\n') {
        state_ = State::kLineStart;  // no '=': not an entry
      } else if (c == '=') {
        state_ = name_.Matches(key_, keyLength_) ? State::kValueStart : State::kSkipLine;
      } else {
        name_.Add(c);
      }
      break;
    case State::kValueStart:
      if (!IsBlank(c)) StartValue(c);
      break;
    case State::kValueDigits:
      if (IsDigit(c)) {
        AddDigit(c);
      } else {
        state_ = State::kFound;
      }
      break;
    case State::kFound:
    case State::kAbsent:
      break;
  }
}

void IniIntScanner::StartLine(char c) {
  name_.Clear();
  if (c == '[') {
    state_ = State::kSectionName;
  } else if (c == ';' || c == '#' || !inSection_) {
    state_ = State::kSkipLine;  // comments, and entries outside the wanted section
  } else {
    state_ = State::kKeyName;
    Step(c);
  }
}

void IniIntScanner::EndSection() {
  if (inSection_) {
    state_ = State::kAbsent;  // the wanted section ended without the key
    return;
  }
  inSection_ = name_.Matches(section_, sectionLength_);
  state_ = State::kSkipLine;
}

void IniIntScanner::StartValue(char c) {
  state_ = State::kValueDigits;
  if (c == '+' || c == '-') {
    negative_ = c == '-';
  } else if (IsDigit(c)) {
    AddDigit(c);
  } else {
    state_ = State::kFound;  // no digits: 0
  }
}

void IniIntScanner::AddDigit(char c) {
  if (magnitude_ >= kSaturatedMagnitude) return;
  magnitude_ = magnitude_ * 10 + static_cast<uint64_t>(c - '0');
  if (magnitude_ > kSaturatedMagnitude) magnitude_ = kSaturatedMagnitude;
}
