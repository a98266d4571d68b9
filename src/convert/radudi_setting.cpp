#include "convert/radudi_setting.hpp"

#include "io/item_stream.hpp"
#include "platform/files.hpp"
#include "text/sjis_text.hpp"

namespace k2v {

std::string RadudiIniPath(const std::string& systemDir) { return JoinPath(systemDir, kRadudiIniName); }

std::string ReadRadudiSetting(const std::string& systemDir) {
  const std::string path = RadudiIniPath(systemDir);
  if (FileSize(path) < 1) return {};
  ItemStream stream(ReadFileBytes(path));
  stream.NextLine();
  if (stream.Exhausted()) return {};
  return Trim(stream.NextItem());
}

}  // namespace k2v
