#include "settings/preset_file.h"

#include <algorithm>
#include <iterator>

#include "platform/cp932.h"
#include "platform/decimal_text.h"
#include "platform/engine_text.h"
#include "settings/key_lines.h"
#include "settings/settings_store.h"

namespace morva {
namespace {

constexpr std::string_view kProduct = "MORVA";
constexpr std::string_view kVersion = "Version 6.1b";

// The file label of each kind's header: "<product> - <label> <version> ".
std::string_view LabelUtf8(PresetKind kind) {
  switch (kind) {
    case PresetKind::kJob:
      return "変換設定保存ファイル";
    case PresetKind::kStatement:
      return "変換制御文保存ファイル";
    case PresetKind::kReplacement:
      return "文字列置換設定保存ファイル";
  }
  return {};
}

// What a header starts with, up to and including the blank after the label; the version is not compared.
std::string HeaderPrefix(TextCodec& codec, PresetKind kind) {
  return std::string(kProduct) + " - " + Cp932Text(codec, LabelUtf8(kind)) + " ";
}

// A line "<name>..." whose name has 1 to 40 bytes: the name, and the offset of the byte after ">".
bool EntryName(std::string_view line, std::string_view* name, std::size_t* after) {
  const std::size_t close = line.find('>');
  if (close == std::string_view::npos || close < 2 || close - 1 > kPresetNameMax) return false;
  *name = line.substr(1, close - 1);
  *after = close + 1;
  return true;
}

bool Skipped(std::string_view line) { return line.empty() || line.front() == '#'; }

// Kinds 1 and 2: one line per entry.
void ParseTextEntries(std::string_view rest, PresetTable* table) {
  std::size_t filled = 0;
  TextLine line;
  while (filled < kPresetSlotCount && NextLine(&rest, &line)) {
    if (Skipped(line.text) || line.text.front() != '<') continue;
    std::string_view name;
    std::size_t after = 0;
    if (!EntryName(line.text, &name, &after)) continue;
    if (after >= line.text.size() || line.text[after] != ' ') return;  // the file's entries end here
    const std::string_view payload = line.text.substr(after + 1);
    if (payload.size() > kPresetTextMax) continue;
    if (table->kind == PresetKind::kReplacement && payload.find('\t') == std::string_view::npos) continue;
    PresetSlot& slot = table->entries[filled++];
    slot.name = std::string(name);
    slot.text = std::string(payload);
  }
}

// Kind 0: a "<name>" line, then the job's key lines up to the next "<" line.
void ParseJobEntries(std::string_view rest, PresetTable* table) {
  // A key line counts its line break, as the settings file's reader does.
  constexpr std::size_t kShortestLine = 9;
  constexpr std::size_t kLatestSeparator = 12;
  constexpr std::string_view kSeparator = " = ";
  std::size_t filled = 0;
  TextLine line;
  bool have_line = NextLine(&rest, &line);
  while (filled < kPresetSlotCount && have_line) {
    std::string_view name;
    std::size_t after = 0;
    if (Skipped(line.text) || line.text.front() != '<' || !EntryName(line.text, &name, &after)) {
      have_line = NextLine(&rest, &line);
      continue;
    }
    auto job = std::make_unique<ConversionSettings>();
    bool read_any = false;
    bool refused = false;
    while ((have_line = NextLine(&rest, &line)) && (line.text.empty() || line.text.front() != '<')) {
      if (refused || Skipped(line.text) || line.text.size() + 1 < kShortestLine) continue;
      const std::size_t separator = line.text.find(kSeparator);
      if (separator == std::string_view::npos || separator > kLatestSeparator) continue;
      const std::string key = UpperKey(line.text.substr(0, separator));
      const std::string_view value = line.text.substr(separator + kSeparator.size());
      read_any = true;
      // One line the key reader refuses (an unknown key, a value too long for its field) drops the
      // whole entry: a job half read could run something the person never saved.
      if (!ParseKey(job.get(), key, value, LeadingInt(value), value.size())) refused = true;
    }
    if (read_any && !refused) {
      PresetSlot& slot = table->entries[filled++];
      slot.name = std::string(name);
      slot.job = std::move(job);
    }
  }
}

}  // namespace

std::string_view PresetFileName(PresetKind kind) {
  switch (kind) {
    case PresetKind::kJob:
      return "morvaset.dat";
    case PresetKind::kStatement:
      return "morvascr.dat";
    case PresetKind::kReplacement:
      return "morvarpl.dat";
  }
  return {};
}

std::string PresetFilePath(std::string_view program_directory, PresetKind kind) {
  return ProgramFilePath(program_directory, PresetFileName(kind));
}

bool ParsePresetText(TextCodec& codec, std::string_view bytes, PresetTable* table) {
  table->Clear();
  std::string_view rest = bytes;
  TextLine header;
  if (!NextLine(&rest, &header) || !header.text.starts_with(HeaderPrefix(codec, table->kind))) return false;
  if (table->kind == PresetKind::kJob) {
    ParseJobEntries(rest, table);
  } else {
    ParseTextEntries(rest, table);
  }
  return true;
}

std::string FormatPresetText(TextCodec& codec, const PresetTable& table) {
  std::string out = HeaderPrefix(codec, table.kind);
  out.append(kVersion);
  out.append(" \n\n");
  for (const PresetSlot& slot : table.entries) {
    if (slot.free()) continue;
    out.push_back('<');
    out.append(slot.name);
    out.push_back('>');
    if (table.kind == PresetKind::kJob) {
      out.push_back('\n');
      if (slot.job != nullptr) slot.job->WriteKeys(&out);
    } else {
      out.push_back(' ');
      out.append(slot.text);
      out.push_back('\n');
    }
  }
  return out;
}

bool LoadPresets(FileSystem& fs, TextCodec& codec, std::string_view program_directory, PresetTable* table) {
  table->Clear();
  std::string bytes;
  if (!fs.ReadFile(PresetFilePath(program_directory, table->kind), FileSystem::kMaxReadFileSize, &bytes).ok()) {
    return false;
  }
  return ParsePresetText(codec, bytes, table);
}

void LoadAllPresets(FileSystem& fs, TextCodec& codec, std::string_view program_directory, Presets* presets) {
  for (const PresetKind kind : {PresetKind::kJob, PresetKind::kStatement, PresetKind::kReplacement}) {
    LoadPresets(fs, codec, program_directory, &presets->of(kind));
  }
}

Status WritePresets(FileSystem& fs, TextCodec& codec, std::string_view program_directory, const PresetTable& table) {
  return fs.WriteFile(PresetFilePath(program_directory, table.kind), FormatPresetText(codec, table));
}

std::string PresetWriteFailedMessage(TextCodec& codec, PresetKind kind) {
  const std::string_view label = kind == PresetKind::kJob         ? "変換設定"
                                 : kind == PresetKind::kStatement ? "変換制御文"
                                                                  : "文字列置換設定";
  return Cp932Text(codec, std::string(label) + "保存ファイルの書き込みに失敗しました。");
}

void SortPresets(PresetTable* table) {
  std::stable_sort(table->entries.begin(), table->entries.end(), [](const PresetSlot& a, const PresetSlot& b) {
    if (a.free() || b.free()) return !a.free() && b.free();
    return cp932::CompareIgnoreCase(a.name, b.name) < 0;
  });
}

}  // namespace morva
