#pragma once
// What the converters of one run share: the inputs every step reads and
// none changes, and the result each step gives back.

#include <exception>
#include <string>
#include <unordered_map>
#include <vector>

#include "soil/soil_word_tables.hpp"

namespace k2v {

// A soil name of X1.TXT (one part of a layer's description) for which no
// main soil code was found (a quality or admixture code it may have got).
struct UncodedSoilName {
  // The part as the export writes it; the whole description for an empty
  // part of alternating layers (互層 written without と or の).
  std::string name;
  // What was left of it to look up as a main soil name once its quality and
  // admixture words were taken off: the word G10A.TXT must hold.
  std::string lookedUp;
  // Layers in which it stands.
  long long layers = 0;
};

// The inputs of the steps, set up once by the run.
struct ConversionContext {
  // The source folder, ending in the separator.
  std::string SourceFolder;
  // The destination folder, ending in the separator; every converter writes
  // into this folder.
  std::string DestinationPath;
  SoilWordTables SoilTables;
  // The folders Radudi32.ini is looked for in, in order: the first that
  // holds it is used.
  std::vector<std::string> SystemDirs;
};

// What a step found, told to the user at the end of the run.
struct StepResult {
  // Data the step could not convert.
  std::vector<std::string> Warnings;
  // Layers of X1.TXT, and those with a part for which no main soil code was
  // found (Vantor's files show three spaces or 0 for it): the words to add
  // to G10A.TXT, or descriptions to write otherwise.
  long long LayerCount = 0;
  long long UncodedLayers = 0;
  // Those names, each once, in the order they first occur.
  std::vector<UncodedSoilName> UncodedNames;
  // The step's failure, which ends the run; none when it finished.
  std::exception_ptr Failure;

  // Adds layers to the name's count in UncodedNames.
  void CountUncodedName(const std::string& name, const std::string& lookedUp, long long layers = 1);
  // Adds the warnings and counts of a step after this one.
  void Append(const StepResult& later);

 private:
  // Where each name stands in UncodedNames.
  std::unordered_map<std::string, size_t> uncodedNameIndex_;
};

}  // namespace k2v
