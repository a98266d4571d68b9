#pragma once
// The drives of the window and of the folder searches: on Linux the mounted
// volumes of real file systems, the root first and then the others in mount
// order; on Windows the drives that are ready, from A to Z.

#include <string>
#include <vector>

namespace k2v {

// One mounted volume.
struct Volume {
  // The folder the volume is mounted on ("/", "/mnt/data"; "C:\\" on Windows).
  std::string root;
  // The file system type as the kernel names it ("ext4", "vfat"; on Windows
  // the kind of drive: "fixed", "removable", "remote", "cdrom", "ramdisk").
  std::string type;
  // What is mounted there ("/dev/sda1", "server:/export").
  std::string source;
};

// True for kernel and memory file systems that hold no user data (proc,
// sysfs, tmpfs, cgroup and the like): they are not drives.
bool IsPseudoFileSystem(const std::string& type);

// The volumes described by the text of /proc/self/mountinfo, root first,
// then in mount order; a mount point mounted over again keeps its place and
// takes the later file system. Pseudo file systems are left out.
std::vector<Volume> ParseMountInfo(const std::string& text);
// The same for the older /proc/mounts format.
std::vector<Volume> ParseMounts(const std::string& text);

// The volumes of this machine (mount points that are folders and can be
// looked at); empty when the mount table cannot be read. On Windows the
// drives that are ready: disk, removable, network, RAM and CD drives.
std::vector<Volume> MountedVolumes();

// Windows: true when the drive letter (either case) names a drive that
// exists and is ready (a removable drive holds a disk). False where there
// are no drive letters.
bool DriveIsReady(char letter);
// True where paths begin with a drive letter (Windows), false where they
// begin with "/".
bool HasDriveLetters();

// Index of the volume that holds path (the longest root that contains it),
// or -1 when none does. Both are compared as absolute texts.
int VolumeIndexOf(const std::vector<Volume>& volumes, const std::string& path);

// True when path is root or lies below it, comparing whole names (on
// Windows ignoring letter case, either separator).
bool PathIsWithin(const std::string& path, const std::string& root);
// The path in the form in which every spelling of it that PathIsWithin takes
// for the same path is equal (on Windows upper case, "\\" separators).
std::string PathKey(const std::string& path);

}  // namespace k2v
