#ifndef MORVA_ENGINE_SESSION_H_
#define MORVA_ENGINE_SESSION_H_

#include "core/host.h"
#include "core/job.h"
#include "core/undo_list.h"
#include "engine/run_state.h"
#include "log/log_state.h"
#include "media/exif_reader.h"
#include "media/id3_reader.h"

namespace morva {

// Everything one running program shares between its parts: the services it stands on, the job, the log,
// the undo of the last run and the state of the preview or run at work. One instance lives as long as the
// front end; it is passed to the code that needs it instead of living in global variables. Code that
// needs one part takes that part only.
struct Session {
  Session(TextCodec& codec, FileSystem& fs, UserInterface& ui) : host(codec, fs, ui), exif(fs), id3(fs, codec) {}
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  LogContext log_context() { return LogContext{host, job.app, log}; }
  Walk walk() { return Walk{host, job, run, exif, id3}; }

  Host host;
  Job job;
  LogState log;
  // The media readers, each holding the values of the last file it read.
  ExifReader exif;
  Id3Reader id3;
  RunState run;
  bool run_happened = false;  // a run (not a preview) has finished since start-up
  // What the last run (or the run read back from the log) changed, for its undo.
  UndoList undo;
};

}  // namespace morva

#endif  // MORVA_ENGINE_SESSION_H_
