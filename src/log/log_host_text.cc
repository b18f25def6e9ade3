#include "log/log_host_text.h"

#include "log/log_lines.h"
#include "log/log_markers.h"
#include "platform/cp932.h"
#include "platform/engine_text.h"
#include "platform/file_system.h"
#include "platform/text_codec.h"

namespace morva {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

void AppendEscapedByte(unsigned char byte, std::string* out) {
  out->append("\\x");
  out->push_back(kHexDigits[byte >> 4]);
  out->push_back(kHexDigits[byte & 0xF]);
}

// A byte a terminal or a viewer would act on rather than show. UTF-8 holds such bytes only as ASCII.
bool IsControl(unsigned char byte) { return (byte < 0x20 && byte != '\t') || byte == 0x7F; }

// Appends the UTF-8 text `utf8` with its control characters escaped.
void AppendShown(std::string_view utf8, std::string* out) {
  for (const char c : utf8) {
    if (IsControl(static_cast<unsigned char>(c))) {
      AppendEscapedByte(static_cast<unsigned char>(c), out);
    } else {
      out->push_back(c);
    }
  }
}

bool EndsWith(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

}  // namespace

void AppendReadableText(TextCodec& codec, std::string_view text, std::string* out) {
  std::string utf8;
  if (codec.Cp932ToUtf8(text, &utf8).ok()) {
    AppendShown(utf8, out);
    return;
  }
  // Character by character: what converts is shown as itself, a byte that starts nothing convertible as
  // its value, and the next byte is read afresh (a stray lead byte must not take an ASCII letter along).
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = cp932::CharLengthAt(text, i);
    if (codec.Cp932ToUtf8(text.substr(i, length), &utf8).ok()) {
      AppendShown(utf8, out);
      i += length;
    } else {
      AppendEscapedByte(static_cast<unsigned char>(text[i]), out);
      ++i;
    }
  }
}

HostLogText::HostLogText(TextCodec& codec, FileSystem& fs)
    : codec_(codec),
      fs_(fs),
      directory_(Cp932Text(codec, log_markers::kDirectory)),
      target_directory_(Cp932Text(codec, log_markers::kTargetDirectory)),
      output_directory_(Cp932Text(codec, log_markers::kCopyKind) + Cp932Text(codec, log_markers::kOutputDirectory)),
      output_directory_end_(Cp932Text(codec, log_markers::kOutputDirectoryEnd)),
      read_error_(Cp932Text(codec, log_markers::kReadErrorTag)),
      read_error_target_(Cp932Text(codec, log_markers::kReadErrorTarget)),
      counts_{Cp932Text(codec, log_markers::kFullSuccessCount), Cp932Text(codec, log_markers::kFullSuccessSlash)},
      block_markers_{Cp932Text(codec, log_markers::kRunBlock), Cp932Text(codec, log_markers::kUndoBlock),
                     Cp932Text(codec, log_markers::kExtractionBlock)} {}

bool HostLogText::FindPath(std::string_view text, std::size_t* begin, std::size_t* end) const {
  if (StartsWith(text, directory_)) {
    *begin = directory_.size();
    *end = text.size();
  } else if (StartsWith(text, target_directory_)) {
    *begin = target_directory_.size();
    *end = text.size();
  } else if (StartsWith(text, output_directory_) &&
             text.size() >= output_directory_.size() + output_directory_end_.size() &&
             EndsWith(text, output_directory_end_)) {
    *begin = output_directory_.size();
    *end = text.size() - output_directory_end_.size();
  } else if (StartsWith(text, read_error_)) {
    const std::size_t field = cp932::Find(text, read_error_target_, read_error_.size());
    if (field == std::string_view::npos) return false;
    *begin = field + read_error_target_.size();
    // No name holds '>', and no trail byte is one.
    *end = text.find(log_markers::kFieldEnd, *begin);
    if (*end == std::string_view::npos) return false;
  } else {
    return false;
  }
  return *begin < *end;
}

void HostLogText::AppendLine(std::string_view body, std::string* out) {
  const std::string_view text = LogLineText(body);
  std::size_t begin = 0, end = 0;
  if (text.empty() || !FindPath(text, &begin, &end)) {
    AppendReadableText(codec_, body, out);
    out->push_back('\n');
    return;
  }
  begin += kLogTextOffset;
  end += kLogTextOffset;
  AppendReadableText(codec_, body.substr(0, begin), out);
  const std::string_view path = body.substr(begin, end - begin);
  if (fs_.ToHostPath(path, &host_path_).ok()) {
    AppendShown(host_path_, out);
  } else {
    AppendReadableText(codec_, path, out);
  }
  AppendReadableText(codec_, body.substr(end), out);
  out->push_back('\n');
}

bool HostLogText::EndsRunBlock(std::string_view text, bool* next_block) const {
  *next_block = false;
  for (const std::string& counts : counts_) {
    if (StartsWith(text, counts)) return true;
  }
  for (const std::string& marker : block_markers_) {
    if (StartsWith(text, marker)) {
      *next_block = true;
      return true;
    }
  }
  return false;
}

bool HostLogText::AppendLog(ReadableFile& log, std::uint64_t from, bool block_only, std::string* out) {
  LogLineStream stream(log, from);
  LogLine line;
  bool header = true;
  while (stream.Next(&line)) {
    bool next_block = false;
    if (block_only && !header && EndsRunBlock(line.text, &next_block)) {
      if (!next_block) AppendLine(line.body, out);
      return true;
    }
    header = false;
    AppendLine(line.body, out);
  }
  return stream.ok();
}

}  // namespace morva
