#pragma once
// The state the converters of one run share.

#include <string>
#include <vector>

#include "soil/soil_word_tables.hpp"

namespace k2v {

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
};

}  // namespace k2v
