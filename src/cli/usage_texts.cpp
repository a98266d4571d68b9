#include "cli/usage_texts.hpp"

#include "cli/catalog.hpp"

namespace k2v {

const char* TryHelpLine() { return _("Try 'kolbrix2vantor --help' for more information.\n"); }

std::string MissingValueProblem(const std::string& option) {
  return FormatText(_("option '%s' requires an argument"), {option});
}

std::string UnknownOptionProblem(const std::string& option) {
  return FormatText(_("unrecognized option '%s'"), {option});
}

}  // namespace k2v
