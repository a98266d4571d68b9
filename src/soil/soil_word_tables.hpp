#pragma once
// The soil word tables: main soil names, quality words (質), admixture words
// (混り) and the D12A names, each with Vantor's code.

#include <cstdint>
#include <string>
#include <vector>

namespace k2v {

struct SoilWord {
  std::string word;
  std::int16_t code = 0;
};

// Entry k (from 1) of a table is element k - 1. Only the row the converter
// uses is kept.
struct SoilWordTables {
  std::vector<SoilWord> SoilNameTable;
  std::vector<SoilWord> QualityWordTable;
  std::vector<SoilWord> AdmixtureWordTable;
  std::vector<SoilWord> D12ACodeTable;
};

// Builds all four tables afresh from the built-in words and G10A.TXT and
// D12A.TXT of the vocabulary folder (a path ending in a separator).
void BuildSoilWordTables(SoilWordTables& tables, const std::string& vocabularyPath);

}  // namespace k2v
