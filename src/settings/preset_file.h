#ifndef MORVA_SETTINGS_PRESET_FILE_H_
#define MORVA_SETTINGS_PRESET_FILE_H_

#include <string>
#include <string_view>

#include "core/preset_table.h"
#include "platform/file_system.h"
#include "platform/text_codec.h"

// The preset files "morvaset.dat" (whole jobs), "morvascr.dat" (control statements) and "morvarpl.dat"
// (replacement settings) in the program directory: code page 932 text, a header line and a blank line,
// then one entry per named slot. Kind 1 and 2 entries are one line "<name> payload"; a whole-job entry is
// the line "<name>" followed by the job's key lines ("KEY = value"). Lines starting with "#" and empty
// lines are ignored, so a hand-edited file may carry comments.
namespace morva {

// "morvaset.dat", "morvascr.dat" or "morvarpl.dat".
std::string_view PresetFileName(PresetKind kind);

// The engine path of the kind's file in `program_directory`.
std::string PresetFilePath(std::string_view program_directory, PresetKind kind);

// Empties *table, then reads the bytes of a preset file of its kind into it. Returns false, leaving the
// table empty, when the first line is not the kind's header (the version after it is not compared).
// Entries a person may have broken by hand are dropped whole, never cut to fit a slot: a name that is
// empty or longer than 40 bytes, a statement or replacement longer than 200 bytes (or a replacement
// without its tab), a job entry with a line its key reader refuses or without any key line. A kind 1 or 2
// entry line without a blank after ">" ends the reading, keeping what was read before. At most 40 entries
// are read.
bool ParsePresetText(TextCodec& codec, std::string_view bytes, PresetTable* table);

// The bytes of the kind's file for *table: the header with the product and version, a blank line, then
// the named slots in slot order.
std::string FormatPresetText(TextCodec& codec, const PresetTable& table);

// ParsePresetText on the kind's file in `program_directory`; false (the table empty) when it is missing
// or unreadable. Never reports anything: a broken preset file must not keep the program from starting.
bool LoadPresets(FileSystem& fs, TextCodec& codec, std::string_view program_directory, PresetTable* table);

// LoadPresets for the three kinds, as the program does at start-up before it reads the settings file.
void LoadAllPresets(FileSystem& fs, TextCodec& codec, std::string_view program_directory, Presets* presets);

// Replaces the kind's file with FormatPresetText's bytes, atomically: a failure leaves the old file
// whole. The caller shows PresetWriteFailedMessage on failure; the table in memory keeps its change.
Status WritePresets(FileSystem& fs, TextCodec& codec, std::string_view program_directory, const PresetTable& table);

// "変換設定保存ファイルの書き込みに失敗しました。" and the like, in code page 932.
std::string PresetWriteFailedMessage(TextCodec& codec, PresetKind kind);

// Orders the slots by name ignoring case (code page 932 aware), free slots last; names equal but for
// case keep their order. A slot's payload moves with its name.
void SortPresets(PresetTable* table);

}  // namespace morva

#endif  // MORVA_SETTINGS_PRESET_FILE_H_
