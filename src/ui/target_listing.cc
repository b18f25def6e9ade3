#include "ui/target_listing.h"

#include <QFileInfo>

#include "core/app_settings.h"
#include "engine/session.h"
#include "platform/file_system.h"
#include "platform/path_utils.h"
#include "ui/qt_text.h"

namespace morva {
namespace {

bool IsPatternText(std::string_view path) {
  return path.find('*') != std::string_view::npos || path.find('?') != std::string_view::npos;
}

// A symbolic link stands for its target when the person asked for that.
std::string FollowShortcut(Session& session, const std::string& path) {
  const QString host = HostPathToQt(session.host.fs, path);
  const QFileInfo info(host);
  if (host.isEmpty() || !info.isSymLink()) return path;
  std::string target;
  if (!EnginePathFromQt(session.host.codec, session.host.fs, info.symLinkTarget(), &target)) return path;
  return target;
}

void Grey(const TargetListQuery& query, TargetRow* row) {
  const auto& f = query.flags;
  const bool file = !row->directory;
  bool grey = (row->directory && !f[AppSettings::kSetDirectories]) || (file && f[AppSettings::kSetDirectoriesOnly]) ||
              (file && f[AppSettings::kSetExifOnly] && row->entry.marker != "Exif") ||
              (file && f[AppSettings::kSetId3Only] && row->entry.marker.rfind("ID3", 0) != 0);
  const QString written = QString::fromLatin1(row->entry.last_write.data(), static_cast<qsizetype>(row->entry.last_write.size()));
  if (!query.lower_bound.isEmpty() && written < query.lower_bound) grey = true;
  if (!query.upper_bound.isEmpty() && written > query.upper_bound) grey = true;
  row->grey = grey;
}

void AddRow(Session& session, const TargetListQuery& query, std::string_view dir, const FindData& data,
            TargetListing* out) {
  TargetRow row;
  row.entry = DescribeEntry(session.job.app, session.exif, session.id3, dir, data);
  row.directory = (data.attributes & kAttrDirectory) != 0;
  if (query.mode == 1) Grey(query, &row);
  out->rows.push_back(std::move(row));
}

void ListFileList(Session& session, const TargetListQuery& query, TargetListing* out) {
  for (const std::string& entry : query.list_entries) {
    FindData data;
    if (!session.host.fs.Stat(entry, &data).ok()) continue;
    std::string dir, name;
    if (!SplitPath(entry, &dir, &name)) continue;
    AddRow(session, query, dir, data, out);
    out->rows.back().entry.name = entry;  // entries come from many directories: show where
    out->rows.back().whole_path = true;
  }
}

void ListPath(Session& session, const TargetListQuery& query, TargetListing* out) {
  QString text = query.path_text;
  if (query.typing) {
    if (text.endsWith(QLatin1Char(' '))) return;
  } else {
    const QString tidied = TidyTypedPath(text);
    if (tidied != text) {
      out->tidied_path = tidied;
      text = tidied;
    }
  }
  if (text.isEmpty()) return;
  std::string path;
  if (!EnginePathFromQt(session.host.codec, session.host.fs, text, &path)) return;
  if (query.flags[AppSettings::kSetShortcutTarget]) path = FollowShortcut(session, path);
  out->pattern = IsPatternText(path);
  const bool wildcard_on = query.flags[AppSettings::kSetWildcard];
  std::string wildcard = "*.*";
  if (wildcard_on) {
    if (query.wildcard.isEmpty() || out->pattern) return;
    if (!FromQt(session.host.codec, query.wildcard, &wildcard)) return;
  }
  if (path.starts_with("\\\\")) {
    const bool quiet = session.job.app.sw_opt[AppSettings::kOptNoPasswordPrompt] && query.typing;
    if (!ConnectNetworkPath(session.host, path, !quiet)) return;
  }
  std::string directory = path;
  if (out->pattern) {
    std::string name;
    if (!SplitPath(path, &directory, &name)) return;
    wildcard = name;
  }
  std::vector<FindData> entries;
  if (!session.host.fs.FindFiles(directory, wildcard, &entries, nullptr).ok()) entries.clear();
  if (entries.empty() && !out->pattern) {
    // A path that names one file is listed as itself, unless a wildcard was asked for.
    FindData data;
    const bool exists = session.host.fs.Stat(path, &data).ok();
    if (exists && (data.attributes & kAttrDirectory) != 0) {
      out->directory = path;  // an empty directory is still the directory listed
      out->drive_root = path.size() <= 3;
      return;
    }
    std::string dir, name;
    if (!exists || wildcard_on || !SplitPath(path, &dir, &name)) return;
    out->single_file = true;
    out->directory = dir;
    out->drive_root = dir.size() <= 3;
    AddRow(session, query, dir, data, out);
    return;
  }
  out->directory = directory;
  out->drive_root = directory.size() <= 3;
  for (const FindData& data : entries) AddRow(session, query, directory, data, out);
}

}  // namespace

QString TidyTypedPath(const QString& text) {
  const QChar sep = text.trimmed().startsWith(QLatin1Char('/')) ? QLatin1Char('/') : QLatin1Char('\\');
  QString t = text;
  while (t.startsWith(QLatin1Char(' '))) t.remove(0, 1);
  // Doubled separators and blanks before a separator go; a network path keeps its leading pair.
  const bool network = sep == QLatin1Char('\\') && t.startsWith(QStringLiteral("\\\\"));
  QString out;
  for (qsizetype i = 0; i < t.size(); ++i) {
    const QChar c = t[i];
    if (c == sep && out.endsWith(sep) && !(network && i == 1)) continue;
    if (c == sep) {
      while (out.endsWith(QLatin1Char(' '))) out.chop(1);
    }
    out += c;
  }
  const qsizetype keep = sep == QLatin1Char('/') ? 1 : 3;
  while (out.size() > keep && (out.endsWith(sep) || out.endsWith(QLatin1Char(' ')))) out.chop(1);
  return out;
}

TargetListing ListTargets(Session& session, const TargetListQuery& query) {
  TargetListing out;
  if (query.mode == 2) {
    ListFileList(session, query, &out);
  } else {
    ListPath(session, query, &out);
  }
  return out;
}

}  // namespace morva
