#include "fuzz_support.hpp"

#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace k2v::fuzz {

void Fail(const std::string& what) {
  std::fprintf(stderr, "\n==== fuzz property violated: %s\n", what.c_str());
  std::fflush(stderr);
  std::abort();
}

ScratchFolder::ScratchFolder(const std::string& stem) {
  static std::atomic<unsigned long long> counter{0};
  const fs::path base = fs::temp_directory_path();
  // K2V_FUZZ_RUN_ID tags the folders of one scripted run, so that the script
  // can remove what a crashed input left without touching anything else.
  const char* run = std::getenv("K2V_FUZZ_RUN_ID");
  const std::string tag = run && *run ? std::string(run) + "-" : std::string();
  for (;;) {
    path_ = base / (stem + "-" + tag + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::error_code ec;
    if (fs::create_directory(path_, ec)) break;
    Check(!ec || ec == std::errc::file_exists, "cannot make a scratch folder under " + base.string() + ": " + ec.message());
  }
}

ScratchFolder::~ScratchFolder() {
  std::error_code ec;
  // A folder the conversion left without write permission must not stop the
  // clean-up (nothing here makes one, but a long run must not fill the disk).
  for (auto it = fs::recursive_directory_iterator(path_, ec); !ec && it != fs::recursive_directory_iterator();
       it.increment(ec)) {
    if (it->is_directory() && !it->is_symlink()) fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
  }
  fs::remove_all(path_, ec);
}

Tree SnapshotTree(const fs::path& folder, const fs::path& skip) {
  Tree tree;
  std::error_code ec;
  fs::recursive_directory_iterator it(folder, fs::directory_options::none, ec);
  Check(!ec, "cannot list " + folder.string() + ": " + ec.message());
  for (; it != fs::recursive_directory_iterator(); it.increment(ec)) {
    Check(!ec, "cannot list below " + folder.string() + ": " + ec.message());
    const fs::path rel = fs::relative(it->path(), folder);
    if (!skip.empty() && rel == skip) {
      it.disable_recursion_pending();
      continue;
    }
    const fs::file_status st = it->symlink_status();
    if (fs::is_symlink(st)) {
      tree[rel.string()] = "l:" + fs::read_symlink(it->path()).string();
    } else if (fs::is_directory(st)) {
      tree[rel.string()] = "d";
    } else if (fs::is_regular_file(st)) {
      tree[rel.string()] = "f:" + ReadBytes(it->path());
    } else {
      tree[rel.string()] = "other";
    }
  }
  return tree;
}

std::string DescribeDifference(const Tree& before, const Tree& after) {
  for (const auto& [name, content] : before) {
    auto it = after.find(name);
    if (it == after.end()) return name + " disappeared";
    if (it->second != content) return name + " changed from " + Escaped(content) + " to " + Escaped(it->second);
  }
  for (const auto& [name, content] : after) {
    if (!before.count(name)) return name + " appeared (" + Escaped(content) + ")";
  }
  return "no difference";
}

void WriteBytes(const fs::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  Check(static_cast<bool>(out), "cannot write " + path.string());
}

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  Check(static_cast<bool>(in), "cannot read " + path.string());
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

bool IsValidUtf8(std::string_view text) {
  size_t i = 0;
  const size_t n = text.size();
  while (i < n) {
    const auto b0 = static_cast<unsigned char>(text[i]);
    if (b0 < 0x80) {
      ++i;
      continue;
    }
    size_t len;
    char32_t cp;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
      len = 2;
      cp = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
      len = 3;
      cp = b0 & 0x0F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
      len = 4;
      cp = b0 & 0x07;
    } else {
      return false;
    }
    if (i + len > n) return false;
    for (size_t k = 1; k < len; ++k) {
      const auto b = static_cast<unsigned char>(text[i + k]);
      if ((b & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (b & 0x3F);
    }
    if ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF))) return false;
    if (cp >= 0xD800 && cp <= 0xDFFF) {
      // The decoder's escapes of single bytes are the one use of this range.
      if (cp < 0xDC00 || cp > 0xDCFF) return false;
    }
    i += len;
  }
  return true;
}

std::string Escaped(std::string_view bytes, size_t limit) {
  std::string out = "\"";
  for (size_t i = 0; i < bytes.size() && i < limit; ++i) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
    } else {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02X", c);
      out += buf;
    }
  }
  out += '"';
  if (bytes.size() > limit) out += "... (" + std::to_string(bytes.size()) + " bytes)";
  return out;
}

}  // namespace k2v::fuzz
