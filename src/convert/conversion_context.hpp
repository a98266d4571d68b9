#pragma once
// The state the converters of one run share.

#include <string>
#include <unordered_map>
#include <vector>

#include "soil/soil_word_tables.hpp"

namespace k2v {

// A soil name of X1.TXT (one part of a layer's description) for which no
// soil code was found.
struct UncodedSoilName {
  // The part as the export writes it.
  std::string name;
  // What was left of it to look up as a main soil name once its quality and
  // admixture words were taken off: the word G10A.TXT must hold.
  std::string lookedUp;
  // Layers in which it stands.
  long long layers = 0;
};

struct ConversionContext {
  // The source folder, ending in the separator.
  std::string SourceFolder;
  // The destination folder, ending in the separator; every converter writes
  // into this folder.
  std::string DestinationPath;
  SoilWordTables SoilTables;
  // The folder that holds Radudi32.ini.
  std::string SystemDir;
  // Data the run could not convert; told to the user at the end of the run.
  std::vector<std::string> Warnings;
  // Layers of X1.TXT, and those with a part for which no soil code was found
  // (Vantor's files show 000 for it): the words to add to G10A.TXT.
  long long LayerCount = 0;
  long long UncodedLayers = 0;
  // Those names, each once, in the order they first occur.
  std::vector<UncodedSoilName> UncodedNames;
  // Where each of them stands in UncodedNames.
  std::unordered_map<std::string, size_t> UncodedNameIndex;
};

// Adds layers to the name's count in ctx.UncodedNames.
void CountUncodedName(ConversionContext& ctx, const std::string& name, const std::string& lookedUp,
                      long long layers = 1);

}  // namespace k2v
