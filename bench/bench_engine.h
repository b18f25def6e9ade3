#ifndef MORVA_BENCH_BENCH_ENGINE_H_
#define MORVA_BENCH_BENCH_ENGINE_H_

// The engine as the run, preview, log, undo and name-rule benchmarks drive it: the services a front end
// lends it and a session over them, aimed at one directory. Each benchmark sets the job it measures.

#include <memory>
#include <string>

#include "core/conversion_settings.h"
#include "core/quiet_user_interface.h"
#include "engine/session.h"
#include "platform/file_system.h"
#include "platform/regex_service.h"
#include "platform/text_codec.h"

namespace bench {

// A user interface that answers Yes, never cancels and leaves the preview without a run.
class QuietUi : public morva::QuietUserInterface {
 public:
  QuietUi() : morva::QuietUserInterface(true) {}
};

// Makes the directory `dir` (a host path) the one target of the session's job; false when it has no
// engine path.
bool SetTargetDirectory(morva::Session& session, const std::string& dir);

// Makes `home` (a host path) the program directory, where runs are logged (mvlogs.txt); false when it
// has no engine path.
bool SetProgramDirectory(morva::Session& session, const std::string& home);

// The general rule upper-casing the base names, the extension kept.
void UpperCaseBaseNames(morva::ConversionSettings& settings);

// The services of the console program (iconv text, the POSIX file system, PCRE2 regular expressions),
// a quiet user interface, and a session over them whose job's one target is the directory `dir`.
// Without a program directory nothing is logged.
struct Engine {
  // With a `table`, names holding characters outside code page 932 are seen too.
  explicit Engine(const std::string& dir, morva::UserAreaTable* table = nullptr);
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  std::unique_ptr<morva::TextCodec> codec;
  std::unique_ptr<morva::FileSystem> fs;
  std::unique_ptr<morva::RegexService> regex;
  QuietUi ui;
  morva::Session session;
};

}  // namespace bench

#endif  // MORVA_BENCH_BENCH_ENGINE_H_
