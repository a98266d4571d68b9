#pragma once
// The state one conversion run holds for its stages.

#include <array>
#include <string>
#include <vector>

#include "soil/soil_word_tables.hpp"
#include "titles/title_table.hpp"

namespace k2v {

struct ConversionContext {
  // The source folder, ending in the separator.
  std::string SourceFolder;
  // The destination folder, ending in the separator; every stage that writes
  // takes its folder from here.
  std::string DestinationPath;
  // The folder separator of the paths ("/" or "\").
  char Separator = '/';
  // Components 3, 4 and 5 of the destination path, for CNT.TXT.
  std::array<std::string, 3> DestinationComponents345;
  SoilWordTables SoilTables;
  TitleTable Titles;
  // The folder that holds Radudi32.ini.
  std::string SystemDir;
  // Data the run could not convert; told to the user at the end of the run.
  std::vector<std::string> Warnings;
};

}  // namespace k2v
