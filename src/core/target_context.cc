#include "core/target_context.h"

#include "platform/path_utils.h"

namespace morva {
namespace {

// SplitPath without the length limit: a target that is too long still needs its directory (the run
// reports it against that directory).
void SplitAnyPath(std::string_view path, std::string* dir, std::string* name) {
  const std::size_t slash = FindLastChar(path, '\\');
  if (slash == std::string_view::npos) {
    dir->clear();
    name->assign(path);
    return;
  }
  // A component right below a drive root keeps the root's separator.
  const bool below_root = slash == 2 && path.size() >= 2 && path[1] == ':';
  dir->assign(path.substr(0, below_root ? slash + 1 : slash));
  name->assign(path.substr(slash + 1));
}

}  // namespace

void RefreshTargetContext(FileSystem& fs, std::string_view path, const FindData& data, TargetContext* context) {
  context->previous_directory = std::move(context->directory);
  context->path.assign(path);
  context->find_data = data;
  SplitAnyPath(path, &context->directory, &context->name);
  context->is_directory = (data.attributes & kAttrDirectory) != 0;
  SplitName(context->name, context->is_directory, &context->base, &context->extension);

  std::string grand, parent;
  SplitAnyPath(context->directory, &grand, &parent);
  // Below a root ("Z:\" or a share) there is no parent directory name.
  if (parent.empty() || grand.empty() || (parent.size() == 2 && parent[1] == ':')) parent.clear();
  context->parent_name = std::move(parent);

  // A directory may be a mount point of its own, so only files share their directory's label.
  if (context->is_directory || context->label_directory != context->directory) {
    std::string label;
    if (!fs.GetVolumeLabel(path, &label).ok()) label.clear();
    context->volume_label = std::move(label);
    if (context->is_directory) {
      context->label_directory.clear();
    } else {
      context->label_directory = context->directory;
    }
  }
}

}  // namespace morva
