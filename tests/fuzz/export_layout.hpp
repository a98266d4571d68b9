#pragma once
// How conversion_fuzz turns one input into an export folder, shared with the
// seed maker that packs the project's own export folders into inputs.
//
// Byte 0: bits 0-4 the number of files less one (1 to 32), bit 5 set when the
// destination folder exists before the run, bit 6 set when the export is
// converted a second time into the same destination. Then one block per
// file: a name byte, the length as two bytes, low first (cut to what is
// left), and the content. Bits 0-5 of the name byte pick the name from
// kExportNames; bit 7 puts the file into the destination folder before the
// run (what an earlier conversion or a person left there) instead of into
// the export. A later block for the same name and folder replaces the earlier
// one. G10A.TXT and D12A.TXT of the export go into the vocabulary folder of
// the run instead.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace k2v::fuzz {

// clang-format off
inline constexpr std::array<const char*, 64> kExportNames = {
    // The names of an export.
    "X1.TXT", "x1.txt", "X3.TXT", "X4.TXT", "X5.TXT", "X6.TXT", "X7.TXT", "X11.TXT",
    "X12.TXT", "R30.TXT", "R31.TXT", "R32.TXT", "R33.TXT", "R34.TXT", "R35.TXT", "R41.TXT",
    "R72.TXT", "CNT.TXT", "PCNT.TXT", "titl01.txt", "titl02.txt", "titl03.txt", "G71.TXT", "G73.TXT",
    "G81.TXT", "X5.hed", "X5.hd2", "PAT01.DAT", "PAT01.TXT", "titl1.txt", "G10A.TXT", "D12A.TXT",
    // Other spellings, other file groups, and the names of Vantor's files and
    // of the intermediate files (in a destination, what an earlier run left).
    "cnt.txt", "pcnt.txt", "TITL01.TXT", "Titl02.TXT", "x5.HED", "g71.txt", "pat01.dat", "PAT02.DAT",
    "PAT02.TXT", "N4.TXT", "N5.hed", "n12.txt", "D10.txt", "d10.TXT", "G10.TXT", "D12.TXT",
    "D60.TXT", "CNT2.TXT", "Titl1.txt", "Titl2.txt", "G40.txt", "D40.txt", "G50.TXT", "G74.TXT",
    "x3.txt", "x12.TXT", "r30.txt", "G10A.txt", "X2.TXT", "N7.txt", "D11.TXT", "X5.HED",
};
// clang-format on

inline constexpr unsigned kNameIndexMask = 0x3F;
inline constexpr unsigned kInDestinationBit = 0x80;

inline bool IsVocabularyName(std::string_view name) { return name == "G10A.TXT" || name == "D12A.TXT"; }

struct ExportFile {
  std::string name;
  std::string bytes;
  bool inDestination = false;
};

struct ExportLayout {
  bool destinationExists = false;
  bool convertTwice = false;
  std::vector<ExportFile> files;  // in order of first appearance, names distinct per folder
};

inline ExportLayout ParseExportLayout(const std::uint8_t* data, std::size_t size) {
  ExportLayout layout;
  if (size == 0) return layout;
  const unsigned flags = data[0];
  layout.destinationExists = (flags & 0x20) != 0;
  layout.convertTwice = (flags & 0x40) != 0;
  const size_t count = (flags & 0x1F) + 1;
  size_t pos = 1;
  for (size_t k = 0; k < count && pos < size; ++k) {
    const unsigned nameByte = data[pos++];
    const std::string name = kExportNames[nameByte & kNameIndexMask];
    const bool inDestination = (nameByte & kInDestinationBit) != 0;
    size_t length = 0;
    if (pos < size) length = data[pos++];
    if (pos < size) length |= static_cast<size_t>(data[pos++]) << 8;
    if (length > size - pos) length = size - pos;
    std::string bytes(reinterpret_cast<const char*>(data + pos), length);
    pos += length;
    bool replaced = false;
    for (ExportFile& f : layout.files) {
      if (f.name == name && f.inDestination == inDestination) {
        f.bytes = bytes;
        replaced = true;
      }
    }
    if (!replaced) layout.files.push_back({name, std::move(bytes), inDestination});
  }
  return layout;
}

// The input that gives this layout: files whose name is not in kExportNames
// are left out, and so are files past the 32nd; contents are cut to 65535 bytes.
inline std::string PackExportLayout(const ExportLayout& layout) {
  std::string blocks;
  size_t count = 0;
  for (const ExportFile& f : layout.files) {
    size_t index = 0;
    while (index < kExportNames.size() && f.name != kExportNames[index]) ++index;
    if (index == kExportNames.size() || count == 32) continue;
    const size_t length = std::min<size_t>(f.bytes.size(), 0xFFFF);
    blocks += static_cast<char>(index | (f.inDestination ? kInDestinationBit : 0));
    blocks += static_cast<char>(length & 0xFF);
    blocks += static_cast<char>(length >> 8);
    blocks.append(f.bytes, 0, length);
    ++count;
  }
  std::string out(1, static_cast<char>((count == 0 ? 0 : count - 1) | (layout.destinationExists ? 0x20 : 0) |
                                       (layout.convertTwice ? 0x40 : 0)));
  return out + blocks;
}

}  // namespace k2v::fuzz
