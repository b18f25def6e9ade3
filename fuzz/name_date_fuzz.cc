// Feeds arbitrary names to the search for a date in a file name, with every date and time format.
// Besides the sanitizers' checks: a date found is a real local moment from 1980 to 2200.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fileops/date_time_text.h"
#include "fileops/name_date.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view name(reinterpret_cast<const char*>(data), size);
  for (int date = 0; date < 2; ++date) {
    for (int time = 0; time < 4; ++time) {
      morva::FileTime when = 0;
      if (!morva::date_from_file_name(name, static_cast<morva::NameDateFormat>(date),
                                      static_cast<morva::NameTimeFormat>(time), &when)) {
        continue;
      }
      std::string text;
      if (!morva::format_file_time(when, true, &text) || text.size() != 23) std::abort();
      if (text.compare(0, 4, "1980") < 0 || text.compare(0, 4, "2200") > 0) std::abort();
    }
  }
  return 0;
}
