#include "platform/arguments.hpp"

namespace k2v {

OptionValue TakeOptionValue(const std::vector<std::string>& args, size_t& i, const std::string& longName,
                            const std::string& shortName, std::string& value) {
  const std::string& arg = args[i];
  if (arg.size() > longName.size() && arg.compare(0, longName.size(), longName) == 0 && arg[longName.size()] == '=') {
    value = arg.substr(longName.size() + 1);
    return OptionValue::Taken;
  }
  if (arg != longName && (shortName.empty() || arg != shortName)) return OptionValue::NotThisOption;
  if (i + 1 >= args.size()) return OptionValue::Missing;
  value = args[++i];
  return OptionValue::Taken;
}

}  // namespace k2v
