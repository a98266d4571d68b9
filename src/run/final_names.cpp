#include "run/final_names.hpp"

#include "platform/files.hpp"
#include "text/sjis_text.hpp"

namespace k2v {

namespace {

struct FinalName {
  const char* intermediate;
  const char* final;
};

// The intermediate files of the converters and the names Vantor reads them
// under, in the order they are renamed.
constexpr FinalName kFinalNames[] = {
    {"N2.TXT", "D11.TXT"}, {"N3.TXT", "D20.TXT"}, {"N4.TXT", "D12.TXT"},  {"N5.TXT", "D30.TXT"},  {"N7.TXT", "G50.TXT"},
    {"N8.TXT", "D70.TXT"}, {"N9.TXT", "D80.TXT"}, {"N11.TXT", "G90.TXT"}, {"N12.TXT", "D60.TXT"},
};

}  // namespace

void ApplyFinalOutputNames(const std::string& destinationFolder) {
  for (const FinalName& pair : kFinalNames) {
    const std::string intermediate = JoinPath(destinationFolder, pair.intermediate);
    if (FileSize(intermediate) > 0) {
      RenameReplacing(intermediate, JoinPath(destinationFolder, pair.final));
    } else if (FileExists(intermediate)) {
      // An empty result leaves a final file of an earlier run as it was.
      DeleteFileIfExists(intermediate);
    }
  }
}

std::vector<std::string> IntermediateOutputNames() {
  std::vector<std::string> names;
  for (const FinalName& pair : kFinalNames) names.emplace_back(pair.intermediate);
  return names;
}

std::string FinalNameOf(const std::string& name) {
  for (const FinalName& pair : kFinalNames) {
    if (SameNameIgnoringCase(name, pair.intermediate)) return pair.final;
  }
  return name;
}

bool IsFinalOutputName(const std::string& name) {
  for (const FinalName& pair : kFinalNames) {
    if (name == pair.final) return true;
  }
  return false;
}

}  // namespace k2v
