#ifndef MORVA_CORE_HOST_H_
#define MORVA_CORE_HOST_H_

#include <string>

namespace morva {

class DocumentOpener;
class FileSystem;
class RegexService;
class TextCodec;
class UserInterface;

// The services a front end lends the engine for as long as it runs: text conversion, the file system,
// the person at the screen, and the optional ones a front end may not have.
struct Host {
  Host(TextCodec& codec_in, FileSystem& fs_in, UserInterface& ui_in) : codec(codec_in), fs(fs_in), ui(ui_in) {}
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;

  TextCodec& codec;
  FileSystem& fs;
  UserInterface& ui;
  // The regular expressions of the name rules; null when the front end has none, which fails every
  // replacement that needs one.
  RegexService* regex = nullptr;
  // Opens documents (the log) for viewing; null when the front end has none.
  DocumentOpener* document_opener = nullptr;
  // The program's own directory, an engine path: the settings file and the log live there.
  std::string program_directory;
};

}  // namespace morva

#endif  // MORVA_CORE_HOST_H_
