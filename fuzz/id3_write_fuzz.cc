// Feeds arbitrary bytes as a file to the ID3 writer's plan: every tag it copies frame by frame must read
// back with the new items (in Unicode or code page 932 frames), with the bytes after the old tag (audio, ID3v1) following the new one
// unchanged; an ID3v1 block it writes must be one.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "media/id3_reader.h"
#include "media/id3_writer.h"
#include "platform/memory_file.h"
#include "platform/text_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::unique_ptr<morva::TextCodec> codec = morva::NewIconvTextCodec();
  const std::string input(reinterpret_cast<const char*>(data), size);
  morva::MemoryReadableFile file{input};

  morva::Id3Items items;
  // Code page 932 kana: written as UTF-16 or UTF-8 by the tag's version, or as it is.
  items[morva::kWriteTitle] = "Fuzzed title \x83\x5E\x83\x43\x83\x67\x83\x8B";
  items[morva::kWriteYear] = "2024";
  items[morva::kWriteGenre] = "rock";
  if (size & 1) items[morva::kWriteComment] = std::string(200, 'c');  // a frame over 127 bytes
  morva::Id3WriteOptions options;
  options.new_tag_padding = size % 300;
  options.never_use_padding = (size & 2) != 0;
  options.cp932_text = (size & 4) != 0;

  for (const int kinds : {morva::kId3ChangeV2 | morva::kId3ChangeV1, morva::kId3AddV2 | morva::kId3AddV1,
                          morva::kId3ChangeV2 | morva::kId3AddV1, morva::kId3AddV2 | morva::kId3ChangeV1}) {
    morva::Id3Edit edit;
    if (morva::PlanId3Edit(file, *codec, kinds, items, options, &edit) != morva::kId3Written) continue;
    if (edit.old_head_size > size) std::abort();
    std::string after = edit.head + input.substr(static_cast<std::size_t>(edit.old_head_size));
    if (edit.v1_replaces) {
      if (after.size() < 128) std::abort();
      after.replace(after.size() - 128, 128, edit.v1);
    } else {
      after += edit.v1;
    }
    morva::MemoryReadableFile written{after};
    morva::Id3v2Fields fields;
    morva::Id3Layout layout;
    if (morva::ReadId3v2(written, *codec, false, &fields, &layout) == 0) std::abort();
    if (fields.title != items[morva::kWriteTitle] || fields.genre != "(17)Rock") std::abort();
    if (layout.padding_size > layout.tag_size) std::abort();
    // What followed the old tag follows the new one.
    const std::size_t tail = size - static_cast<std::size_t>(edit.old_head_size) - (edit.v1_replaces ? 128 : 0);
    if (after.compare(edit.head.size(), tail, input, static_cast<std::size_t>(edit.old_head_size), tail) != 0) {
      std::abort();
    }
    if (!edit.v1.empty() && (edit.v1.size() != 128 || !morva::ReadId3v1(written, *codec, false, nullptr))) std::abort();
  }
  return 0;
}
