// Feeds arbitrary bytes to the reader of the settings file "morva.dat", as a hand-edited or damaged file
// would arrive. Besides the sanitizers' checks: what the writer makes of the records reads back into
// the same records, so the bytes the writer makes settle (nothing read is lost or changed by saves and
// later starts).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/app_settings.h"
#include "core/conversion_settings.h"
#include "settings/settings_file.h"

namespace {

constexpr morva::DesktopGeometry kDesktop{1920, 1080, 700, 500};

// What the program has before it reads the file.
struct Records {
  Records() { app.CentreWindows(kDesktop.right, kDesktop.bottom, kDesktop.main_width, kDesktop.main_height); }
  morva::ConversionSettings job;
  morva::AppSettings app;
};

std::string ReadAndWrite(std::string_view bytes, bool keep_job) {
  Records records;
  morva::ParseSettingsText(bytes, kDesktop, &records.job, &records.app);
  // Most inputs keep the job, so that the whole file is written back, not only the program options.
  if (keep_job) records.app.sw_opt[morva::AppSettings::kOptKeepJob] = true;
  return morva::FormatSettingsText(records.job, records.app);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  // Most inputs get the header, so the fuzzer spends its time on the key lines.
  if (data[0] < 0xC0) bytes.insert(0, "MORVA Settings Version 6 \n");
  const bool keep_job = (data[0] & 1) == 0;

  // A window's default position is kept on the desktop only once it has been written and read back
  // beside a size read from the file, so the bytes may change in the second round, never after it.
  const std::string written = ReadAndWrite(ReadAndWrite(bytes, keep_job), keep_job);
  const std::string rewritten = ReadAndWrite(written, keep_job);
  if (rewritten != written) std::abort();
  return 0;
}
