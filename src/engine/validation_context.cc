#include "platform/path_utils.h"
#include "engine/validation_checks.h"
#include "platform/text_codec.h"

namespace morva::validation_internal {

ValidationContext::ValidationContext(Host& host_in, Job& job_in, RunState& run_in, bool job_only_in)
    : host(host_in), job(job_in), run(run_in), job_only(job_only_in), jobs(ComputeJobSwitches(job_in.settings)) {}

std::string_view ValidationContext::target_path() const {
  const auto& path = job.app.dirfil[0];
  return path ? std::string_view(*path) : std::string_view();
}

std::string FlagKey(std::string_view key, int index) { return std::string(key) + "[" + std::to_string(index) + "]"; }

std::string Cp932(Host& host, std::string_view utf8) {
  std::string out;
  // Only this program's own texts come here and all of them have a code page 932 form; should the
  // codec still refuse one, the person gets the untranslated text rather than an empty box.
  if (!host.codec.Utf8ToCp932(utf8, &out).ok()) return std::string(utf8);
  return out;
}

bool Refuse(ValidationContext& ctx, int page, std::string_view key, std::string_view text) {
  ValidationVerdict& verdict = ctx.verdict;
  verdict.kind = ValidationVerdict::Kind::kRefused;
  verdict.message = std::string(text);
  verdict.page = page;
  verdict.key = std::string(key);
  return false;
}

bool Ask(ValidationContext& ctx, std::string_view text, ProposedChange change) {
  ValidationVerdict& verdict = ctx.verdict;
  verdict.kind = ValidationVerdict::Kind::kQuestion;
  verdict.message = std::string(text);
  verdict.change = change;
  return false;
}

bool RefuseUtf8(ValidationContext& ctx, int page, std::string_view key, std::string_view utf8) {
  return Refuse(ctx, page, key, Cp932(ctx.host, utf8));
}

bool HasForbiddenChar(std::string_view text) { return HasForbiddenNameChar(text); }

}  // namespace morva::validation_internal
