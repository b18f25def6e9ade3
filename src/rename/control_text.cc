#include "rename/control_text.h"

#include <algorithm>

#include "platform/cp932.h"
#include "platform/cp932_width.h"
#include "rename/general_rule.h"

namespace morva {
namespace {

bool Splits(std::string_view text, std::size_t boundary) {
  return boundary > 0 && boundary < text.size() && cp932::IsTrailAt(text, boundary);
}

// Moves a boundary that splits a character one byte towards the end (`forward`) or the start.
std::size_t Fit(std::string_view text, std::size_t boundary, bool forward) {
  if (!Splits(text, boundary)) return boundary;
  return forward ? boundary + 1 : boundary - 1;
}

std::string Cut(std::string_view text, std::size_t begin, std::size_t end, bool complement) {
  if (!complement) return std::string(text.substr(begin, end - begin));
  std::string out(text.substr(0, begin));
  out.append(text.substr(end));
  return out;
}

}  // namespace

std::string MapCase(std::string_view text, bool upper, int widths) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    std::size_t length = 0;
    cp932::Char c = cp932::CharAt(text, i, &length);
    if (widths & (length == 2 ? kControlFullWidth : kControlHalfWidth)) c = upper ? cp932::ToUpper(c) : cp932::ToLower(c);
    cp932::AppendChar(c, &out);
    i += length;
  }
  return out;
}

std::string DeleteClasses(std::string_view text, int classes, int widths) {
  // The general rule's deletion classifies the same way; only its bit for "other" differs.
  GeneralRuleOptions options;
  options.ipn_sel = kGeneralDelete;
  options.delete_classes = (classes & (kDeleteSpace | kDeleteDigit | kDeleteLetter)) | ((classes & 8) ? kDeleteOther : 0);
  options.target_widths = ((widths & kControlFullWidth) ? kTargetFullWidth : 0) |
                          ((widths & kControlHalfWidth) ? kTargetHalfWidth : 0);
  std::string out(text);
  ConvertCharacters(options, &out);
  return out;
}

std::string FixFileChars(std::string_view text, bool to_full_width) {
  constexpr std::string_view kFixed = "*/:<>?\\|";
  std::string out;
  out.reserve(text.size() * 2);
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = cp932::CharLengthAt(text, i);
    const char c = text[i];
    if (length == 1 && kFixed.find(c) != std::string_view::npos) {
      if (to_full_width) cp932::AppendChar(cp932::FullWidthOf(static_cast<unsigned char>(c)), &out);
    } else {
      out.append(text.substr(i, length));
    }
    i += length;
  }
  return out;
}

std::string LeftBytes(std::string_view text, std::size_t n, ByteSelection how) {
  const std::size_t boundary = Fit(text, std::min(n, text.size()), !how.exclude_cut);
  return Cut(text, 0, boundary, how.complement);
}

std::string RightBytes(std::string_view text, std::size_t n, ByteSelection how) {
  const std::size_t boundary = Fit(text, text.size() - std::min(n, text.size()), how.exclude_cut);
  return Cut(text, boundary, text.size(), how.complement);
}

std::string MidBytes(std::string_view text, std::size_t start, std::size_t n, ByteSelection how) {
  const std::size_t first = std::min(start, text.size());
  const std::size_t last = first + std::min(n, text.size() - first);
  const std::size_t begin = Fit(text, first, how.exclude_cut);
  const std::size_t end = std::max(begin, Fit(text, last, !how.exclude_cut));
  return Cut(text, begin, end, how.complement);
}

std::string InsertBytes(std::string_view text, std::string_view insertion, std::size_t n, bool from_end,
                        bool other_way) {
  const std::size_t clamped = std::min(n, text.size());
  const std::size_t point = Fit(text, from_end ? text.size() - clamped : clamped, from_end == other_way);
  std::string out(text.substr(0, point));
  out.append(insertion);
  out.append(text.substr(point));
  return out;
}

}  // namespace morva
