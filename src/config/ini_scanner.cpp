#include "config/ini_scanner.h"

#include <cstring>

#include "config/ini_characters.h"

namespace {

constexpr unsigned char kByteOrderMark[] = {0xEF, 0xBB, 0xBF};
using ini::AsciiLower;
using ini::IsBlank;
using ini::IsDigit;
using ini::kSaturatedMagnitude;

}  // namespace

void IniIntScanner::NameMatcher::Start(const char* target, size_t length) {
  target_ = target;
  length_ = length;
  matched_ = 0;
  pending_ = 0;
  pendingOk_ = true;
  mismatch_ = false;
}

bool IniIntScanner::NameMatcher::Add(char c) {
  if (mismatch_) return false;
  if (IsBlank(c)) {
    if (matched_ == 0) return true;  // leading blank
    // Inside the name it must match; after it, it is dropped: decided by what follows.
    if (pendingOk_ && matched_ + pending_ < length_ && target_[matched_ + pending_] == c) {
      ++pending_;
    } else {
      pendingOk_ = false;
    }
    return true;
  }
  if (!pendingOk_) {
    mismatch_ = true;
    return false;
  }
  matched_ += pending_;
  pending_ = 0;
  if (matched_ >= length_ || AsciiLower(target_[matched_]) != AsciiLower(c)) {
    mismatch_ = true;
    return false;
  }
  ++matched_;
  return true;
}

IniIntScanner::IniIntScanner(const char* section, const char* key)
    : section_(section),
      key_(key),
      sectionLength_(std::strlen(section)),
      keyLength_(std::strlen(key)) {}

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
        inSection_ = name_.Matches();
        state_ = State::kSkipLine;
      } else if (!name_.Add(c)) {
        state_ = State::kSkipLine;  // another section
      }
      break;
    case State::kClosingHeader:
      if (c == '\n') {
        state_ = State::kLineStart;
      } else if (c == ']') {
        state_ = State::kAbsent;  // the wanted section ended without the key
      }
      break;
    case State::kKeyName:
      if (c == '\n') {
        state_ = State::kLineStart;  // no '=': not an entry
      } else if (c == '=') {
        state_ = name_.Matches() ? State::kValueStart : State::kSkipLine;
      } else if (!name_.Add(c)) {
        state_ = State::kSkipLine;  // another key
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
  if (c == '[') {
    // Inside the wanted section any header ends the search; outside, only its name matters.
    state_ = inSection_ ? State::kClosingHeader : State::kSectionName;
    name_.Start(section_, sectionLength_);
  } else if (c == ';' || c == '#' || !inSection_) {
    state_ = State::kSkipLine;  // comments, and entries outside the wanted section
  } else {
    state_ = State::kKeyName;
    name_.Start(key_, keyLength_);
    Step(c);
  }
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
