// Feeds arbitrary bytes to the control statement interpreter as a statement in code page 932: the
// checking pass, then an evaluation for a fixed target whose one file (in memory) carries Exif data and
// an ID3v1 tag, then rule 7 itself. Besides the sanitizers' checks, the two passes must agree: a
// statement the check accepts fails its evaluation only on what the target's data makes of it, and one
// the check refuses for its form is refused by the evaluation too.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "../tests/common/jpeg_builder.h"
#include "../tests/common/mp3_builder.h"
#include "core/app_settings.h"
#include "core/conversion_settings.h"
#include "core/target_context.h"
#include "media/exif_reader.h"
#include "media/id3_reader.h"
#include "platform/file_system_wrapper.h"
#include "platform/memory_file.h"
#include "platform/regex_service.h"
#include "platform/text_codec.h"
#include "rename/control_statement.h"
#include "rename/name_rule.h"

namespace {

// Every file opened reads as the same photograph, which also ends in an ID3v1 tag.
class OneFileSystem : public morva::FileSystemWrapper {
 public:
  explicit OneFileSystem(morva::FileSystem* target) : FileSystemWrapper(target) {
    morva::testing::JpegContents photo;
    photo.date_time_original = "2013:05:04 13:02:09";
    photo.image_description = "AC/DC live";
    photo.model = "X100";
    photo.pixel_x = 640;
    morva::testing::Id3v1Block tag;
    tag.title = "Intro";
    tag.artist = "Band";
    tag.track = 3;
    bytes_ = morva::testing::BuildJpeg(photo) + morva::testing::BuildId3v1(tag);
  }

  morva::Status OpenRead(std::string_view, std::unique_ptr<morva::ReadableFile>* file) override {
    *file = std::make_unique<morva::MemoryReadableFile>(bytes_);
    return morva::Status::Ok();
  }

 private:
  std::string bytes_;
};

struct Fixture {
  Fixture()
      : codec(morva::NewIconvTextCodec()),
        posix(morva::NewPosixFileSystem(codec.get())),
        fs(posix.get()),
        regex(morva::NewPcre2RegexService(codec.get())),
        exif(fs),
        id3(fs, *codec) {
    app.sw_opt[morva::AppSettings::kOptDetectByContent] = true;  // the ".jpg" holds the tag too
    target.path = "Z:\\fuzz\\trip\\photo.jpg";
    target.name = "photo.jpg";
    target.base = "photo";
    target.extension = "jpg";
    target.directory = "Z:\\fuzz\\trip";
    target.parent_name = "trip";
    target.volume_label = "VOL";
    target.find_data.last_write_time = 130125000000000000ULL;
    target.find_data.creation_time = 130100000000000000ULL;
  }

  std::unique_ptr<morva::TextCodec> codec;
  std::unique_ptr<morva::FileSystem> posix;
  OneFileSystem fs;
  std::unique_ptr<morva::RegexService> regex;
  morva::ExifReader exif;
  morva::Id3Reader id3;
  morva::ConversionSettings settings;
  morva::AppSettings app;
  morva::TargetContext target;
  std::vector<morva::CsvPattern> no_patterns;
};

// Codes that only the form of a statement gives, never a target's data.
bool IsFormCode(int code) {
  return code == morva::kControlUnknownVariable || code == morva::kControlUnknownFunction ||
         code == morva::kControlPlainCharacter || code == morva::kControlSecondSerial || code == morva::kControlEmpty ||
         code == morva::kControlBadVariable || code == morva::kControlUnclosedVariable;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Fixture fixture;
  Fixture* const f = &fixture;
  const std::string_view statement(reinterpret_cast<const char*>(data), size);
  // Counters and the reader's cache start afresh, as they do for each preview or run.
  morva::SerialCounters serials;
  f->exif.Clear();
  // The first byte moves the target into another directory, for the serial variable's "D" flag.
  f->target.previous_directory = size > 0 && (data[0] & 1) ? "Z:\\fuzz\\other" : f->target.directory;
  const morva::NameRuleInputs in{f->settings, f->app, f->target, serials, f->exif, f->id3, f->regex.get(),
                                 f->no_patterns};

  const morva::ControlResult checked = morva::CheckControlStatement(statement, f->regex.get());
  if (checked.code >= 0 && static_cast<std::size_t>(checked.code) != size) std::abort();

  std::string output = "unchanged";
  const morva::ControlResult evaluated = morva::EvaluateControlStatement(in, statement, &output);
  if (evaluated.code >= 0) {
    if (output.size() > morva::kControlMaxText) std::abort();
    if (checked.code < 0 && checked.code != morva::kControlPlainCharacter) std::abort();
  } else {
    if (output != "unchanged") std::abort();
    if (checked.code >= 0 && IsFormCode(evaluated.code)) std::abort();
  }

  // Rule 7 itself, for statements the settings can hold.
  if (f->settings.fnm_usr1.Assign(statement)) {
    std::string text = "photo";
    const unsigned failed = morva::BuildControlName(in, &text);
    if (failed != 0 && failed != 0x100) std::abort();
    if (text.size() > morva::kControlMaxName) std::abort();
  }
  return 0;
}
