#include "bench_engine.h"

namespace bench {

bool SetTargetDirectory(morva::Session& session, const std::string& dir) {
  std::string engine_dir;
  if (!session.host.fs.FromHostPath(dir, &engine_dir).ok()) return false;
  session.job.app.dirfil[0] = engine_dir;
  session.job.app.set_0 = 1;
  return true;
}

bool SetProgramDirectory(morva::Session& session, const std::string& home) {
  std::string engine_home;
  if (!session.host.fs.FromHostPath(home, &engine_home).ok()) return false;
  session.host.program_directory = engine_home;
  return true;
}

void UpperCaseBaseNames(morva::ConversionSettings& settings) {
  settings.sw_fnm = static_cast<std::int16_t>(morva::NameRule::kGeneral);
  settings.fnm_ipn_sel = morva::ConversionSettings::kGeneralCase;
  settings.fnm_ipn2 = 1;  // upper case
}

Engine::Engine(const std::string& dir, morva::UserAreaTable* table)
    : codec(morva::NewIconvTextCodec(table)),
      fs(morva::NewPosixFileSystem(codec.get())),
      regex(morva::NewPcre2RegexService(codec.get())),
      session(*codec, *fs, ui) {
  session.host.regex = regex.get();
  SetTargetDirectory(session, dir);
}

}  // namespace bench
