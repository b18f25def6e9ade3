#include "engine/run_journal.h"

namespace morva {

// The log writer arrives with the log issue; until then a run keeps no log.
void RunJournal::WriteHeader() {}
void RunJournal::WriteTarget(const TargetWork&) {}
void RunJournal::WriteMessage(std::string_view) {}
void RunJournal::WriteSummary(std::string_view, std::string_view) {}

}  // namespace morva
