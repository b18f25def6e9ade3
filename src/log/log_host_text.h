#ifndef MORVA_LOG_LOG_HOST_TEXT_H_
#define MORVA_LOG_LOG_HOST_TEXT_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace morva {

class FileSystem;
class ReadableFile;
class TextCodec;

// The log as a person on this host reads it: UTF-8 text, one line feed per line, and the engine paths
// of its path fields as host paths ("Z:\home\me\a.jpg" -> "/home/me/a.jpg"). The log itself keeps its
// code page 932 and engine paths: this is only what is shown.

// Appends the UTF-8 form of the code page 932 text `text` to *out so that every byte can be read back
// by a person: a byte that starts no character the codec converts is shown as "\xNN" (hex) and the text
// goes on with the next byte; a control character other than the tab is shown the same way, so that a
// hand-edited log can neither move a terminal's cursor nor split a line. Nothing is dropped and no
// replacement character is ever put in.
void AppendReadableText(TextCodec& codec, std::string_view text, std::string* out);

// Converts the lines of one log.
class HostLogText {
 public:
  HostLogText(TextCodec& codec, FileSystem& fs);
  HostLogText(const HostLogText&) = delete;
  HostLogText& operator=(const HostLogText&) = delete;

  // Appends the log line `body` (its bytes without the line end) and a line feed to *out, readable as
  // AppendReadableText makes it. The path of a line that holds one as its field - a directory line, the
  // target directory and the output directory of a run header, the target of a line an extraction could
  // not read back - becomes its host path (FileSystem::ToHostPath); a path without a host form stays as
  // written.
  void AppendLine(std::string_view body, std::string* out);

  // True when the log line text `text` (after the time stamp) ends the block of a run that came before
  // it: the run's counts line, which belongs to the block, or (`next_block` set) the header of the next
  // block of a log cut short, which does not.
  bool EndsRunBlock(std::string_view text, bool* next_block) const;

  // Appends the lines of `log` from the offset `from` (the start of a line) to *out: to the end of the
  // log, or with `block_only` up to the end of the block of the run whose header stands there. False
  // when the log could not be read (*out then holds the lines read before the failure).
  bool AppendLog(ReadableFile& log, std::uint64_t from, bool block_only, std::string* out);

 private:
  // The position of the path in the line text `text`; false when the line holds none.
  bool FindPath(std::string_view text, std::size_t* begin, std::size_t* end) const;

  TextCodec& codec_;
  FileSystem& fs_;
  std::string directory_, target_directory_, output_directory_, output_directory_end_;
  std::string read_error_, read_error_target_;
  std::string counts_[2];
  std::string block_markers_[3];
  std::string host_path_;
};

}  // namespace morva

#endif  // MORVA_LOG_LOG_HOST_TEXT_H_
