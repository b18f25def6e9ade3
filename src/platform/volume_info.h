#ifndef MORVA_PLATFORM_VOLUME_INFO_H_
#define MORVA_PLATFORM_VOLUME_INFO_H_

#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/host_paths.h"
#include "platform/mount_table.h"
#include "platform/status.h"

namespace morva {

class TextCodec;

// The label (code page 932) of the file system holding `engine_path`, for FileSystem::GetVolumeLabel.
// The mount is found in `locations.mountinfo` for the path with the symbolic links of its directory part
// resolved (the last name is not followed: a link lives on its directory's file system); a path that does
// not exist is looked up as written. The label is the name of the link in `locations.disk_by_label` that
// leads to the mount's device (the same device numbers, or the same real path as the mount source), with
// udev's "\xNN" escapes decoded. Empty when no link leads there or the directory does not exist. Fails
// with the errors of EngineToHostPath, of reading the mount table or the directory, and EILSEQ when the
// label has no exact code page 932 form.
Status ReadVolumeLabel(const HostLocations& locations, TextCodec* codec, std::string_view engine_path,
                       std::string* label);

// The drive type of the root of `engine_path`, for FileSystem::GetDriveType: for "Z:" the kind of the
// mount on "/" (kFixed when the mount table cannot be read); for "\\server\share" kRemote when the share
// is mounted, else kNoRootDir; kUnknown for another drive letter; kNoRootDir for a path without a root.
DriveType ReadDriveType(const HostLocations& locations, TextCodec* codec, std::string_view engine_path);

// The kind of one mount: kRamDisk for tmpfs and ramfs, kCdRom for iso9660 and udf, kRemote for network
// file systems, kRemovable for a block device whose disk reports itself removable (read through
// `locations.sys_dev_block`), kFixed otherwise.
DriveType DriveTypeOfMount(const HostLocations& locations, const MountEntry& mount);

// Decodes udev's escapes in a /dev/disk/by-* link name: "\xNN" (two hex digits) is the byte NN.
std::string UnescapeUdevName(std::string_view name);

}  // namespace morva

#endif  // MORVA_PLATFORM_VOLUME_INFO_H_
