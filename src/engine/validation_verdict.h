#ifndef MORVA_ENGINE_VALIDATION_VERDICT_H_
#define MORVA_ENGINE_VALIDATION_VERDICT_H_

#include <string>

#include "core/job.h"

namespace morva {

// A change to the job that validation can propose instead of refusing it outright.
enum class ProposedChange {
  kNone,
  // "ディレクトリも対象", "指定ディレクトリ自身も対象" and "ディレクトリのみを対象" switched off.
  kDropDirectoryTargets,
};

// What validation decided about a job. Validation never speaks to the person itself: the front end
// puts the verdict before them (a warning with the setting to change, or a question) and, for a
// question answered Yes, applies the proposed change and validates again.
struct ValidationVerdict {
  enum class Kind {
    kAccepted,  // the job may run
    kRefused,   // `message` says why; `page` and `key` name the setting to change
    kQuestion,  // `message` asks whether `change` may be made; the job stays refused until it is
  };

  bool accepted() const { return kind == Kind::kAccepted; }

  Kind kind = Kind::kAccepted;
  std::string message;  // code page 932; empty for none
  // A refusal's setting: the page code (kPageTargets, ...) and the configuration key of its control
  // ("DIRFIL", "SW_SET[3]", "LIST", ...).
  int page = 0;
  std::string key;
  ProposedChange change = ProposedChange::kNone;
  // Whatever the kind: validation put the target path in the form enumeration uses (trimmed and
  // normalised) in place of the path as typed, so a front end that shows the path shows it anew.
  bool target_path_changed = false;
};

// Makes `change` in `job`, as a Yes to the question that proposed it does. The front end updates the
// controls that show the changed settings.
void ApplyProposedChange(Job& job, ProposedChange change);

}  // namespace morva

#endif  // MORVA_ENGINE_VALIDATION_VERDICT_H_
