#ifndef MORVA_CORE_JOB_H_
#define MORVA_CORE_JOB_H_

#include "core/app_settings.h"
#include "core/conversion_settings.h"
#include "core/preset_table.h"

namespace morva {

// What the person has asked for: the conversion job and the application settings around it, as the
// settings file holds them, and the named presets the person can call back.
struct Job {
  ConversionSettings settings;
  AppSettings app;
  Presets presets;
};

}  // namespace morva

#endif  // MORVA_CORE_JOB_H_
