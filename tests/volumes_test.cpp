#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/volumes.hpp"

namespace k2v {
namespace {

std::vector<std::string> Roots(const std::vector<Volume>& volumes) {
  std::vector<std::string> roots;
  for (const Volume& v : volumes) roots.push_back(v.root);
  return roots;
}

// A desktop machine's table: kernel file systems mounted before the root,
// optional fields, an escaped space, and a folder mounted over twice.
constexpr const char* kMountInfo =
    "22 27 0:21 / /proc rw,relatime shared:12 - proc proc rw\n"
    "23 27 0:22 / /sys rw,relatime shared:2 - sysfs sysfs rw\n"
    "27 1 254:0 / / rw,relatime shared:1 - ext4 /dev/sda2 rw,errors=remount-ro\n"
    "28 27 0:25 / /run rw,nosuid shared:5 - tmpfs tmpfs rw,size=812k\n"
    "30 27 8:1 / /boot/efi rw,relatime shared:29 - vfat /dev/sda1 rw,fmask=0077\n"
    "31 27 8:17 / /mnt/my\\040disk rw,relatime shared:30 master:4 - ext4 /dev/sdb1 rw\n"
    "32 27 8:33 / /media/usb rw,relatime - vfat /dev/sdc1 rw\n"
    "33 32 0:40 / /media/usb rw,relatime - exfat /dev/sdd1 rw\n"
    "34 28 0:41 / /run/user/1000/gvfs rw,nosuid - fuse.gvfsd-fuse gvfsd-fuse rw\n"
    "35 27 0:42 / /sys/fs/cgroup rw - cgroup2 cgroup2 rw\n"
    "broken line\n";

TEST(VolumesTest, MountInfoGivesRealFileSystemsRootFirstThenInMountOrder) {
  std::vector<Volume> volumes = ParseMountInfo(kMountInfo);
  EXPECT_EQ(Roots(volumes), (std::vector<std::string>{"/", "/boot/efi", "/mnt/my disk", "/media/usb"}));
  EXPECT_EQ(volumes[0].type, "ext4");
  EXPECT_EQ(volumes[0].source, "/dev/sda2");
  // The later mount over /media/usb hides the earlier one but keeps its place.
  EXPECT_EQ(volumes[3].type, "exfat");
  EXPECT_EQ(volumes[3].source, "/dev/sdd1");
}

TEST(VolumesTest, OlderMountTableGivesTheSameDrives) {
  std::vector<Volume> volumes = ParseMounts(
      "proc /proc proc rw 0 0\n"
      "/dev/sdb1 /mnt/my\\040disk ext4 rw 0 0\n"
      "/dev/sda2 / ext4 rw 0 0\n"
      "tmpfs /tmp tmpfs rw 0 0\n"
      "server:/export /net/share nfs4 rw 0 0\n");
  EXPECT_EQ(Roots(volumes), (std::vector<std::string>{"/", "/mnt/my disk", "/net/share"}));
}

TEST(VolumesTest, PseudoFileSystemsAreNoDrives) {
  for (const char* type : {"proc", "sysfs", "tmpfs", "devtmpfs", "devpts", "cgroup2", "debugfs", "fuse.portal"}) {
    EXPECT_TRUE(IsPseudoFileSystem(type)) << type;
  }
  for (const char* type : {"ext4", "xfs", "btrfs", "vfat", "exfat", "ntfs3", "nfs4", "overlay", "fuseblk"}) {
    EXPECT_FALSE(IsPseudoFileSystem(type)) << type;
  }
}

TEST(VolumesTest, PathBelongsToTheVolumeWithTheLongestRootThatHoldsIt) {
  std::vector<Volume> volumes = {{"/", "ext4", ""}, {"/mnt/d", "ext4", ""}, {"/mnt/d/inner", "vfat", ""}};
  struct Case {
    const char* path;
    int index;
  } cases[] = {
      {"/home/user", 0},     {"/", 0},         {"/mnt/d", 1}, {"/mnt/d/x", 1}, {"/mnt/data", 0},
      {"/mnt/d/inner/y", 2}, {"relative", -1},
  };
  for (const Case& c : cases) EXPECT_EQ(VolumeIndexOf(volumes, c.path), c.index) << c.path;
  EXPECT_EQ(VolumeIndexOf({{"/mnt/d", "ext4", ""}}, "/home"), -1);
}

#ifdef _WIN32
// Wine has drive C: (its Windows folder) and Z: (the Linux root); a letter
// the C runtime finds no root for is no drive.
TEST(VolumesTest, ThisMachinesDrivesAreTheReadyLettersInOrder) {
  std::vector<Volume> volumes = MountedVolumes();
  std::vector<std::string> roots = Roots(volumes);
  EXPECT_NE(std::find(roots.begin(), roots.end(), "C:\\"), roots.end());
  EXPECT_TRUE(std::is_sorted(roots.begin(), roots.end()));
  EXPECT_TRUE(DriveIsReady('C'));
  EXPECT_TRUE(DriveIsReady('c'));
  EXPECT_FALSE(DriveIsReady('1'));
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    std::error_code ec;
    const bool exists = std::filesystem::exists(std::string{letter, ':', '\\'}, ec);
    const bool listed = std::find(roots.begin(), roots.end(), std::string{letter, ':', '\\'}) != roots.end();
    if (!exists) {
      EXPECT_FALSE(DriveIsReady(letter)) << letter;
      EXPECT_FALSE(listed) << letter;
    } else {
      EXPECT_EQ(listed, DriveIsReady(letter)) << letter;
    }
  }
  EXPECT_EQ(VolumeIndexOf(volumes, "c:\\Users\\x"),
            static_cast<int>(std::find(roots.begin(), roots.end(), "C:\\") - roots.begin()));
}
#else
TEST(VolumesTest, ThisMachineHasItsRootFirstAndNoPseudoFileSystems) {
  std::vector<Volume> volumes = MountedVolumes();
  ASSERT_FALSE(volumes.empty());
  EXPECT_EQ(volumes[0].root, "/");
  for (const Volume& v : volumes) EXPECT_FALSE(IsPseudoFileSystem(v.type)) << v.root << " " << v.type;
}
#endif

}  // namespace
}  // namespace k2v
