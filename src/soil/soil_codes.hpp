#pragma once
// How a soil description gets Vantor's codes: build the tables once per run
// (BuildSoilWordTables), split each layer's description into its parts and
// classify them. The D12A names are looked up here too.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "soil/soil_word_tables.hpp"

namespace k2v {

// The components of a layer description: two for alternating layers (互層).
struct LayerParts {
  int count = 1;
  std::array<std::string, 2> texts;
};

// Splits a description: alternating layers (互層) give the parts before "と"
// and between "と" and "の" of the text before "互層"; anything else is one
// part, the whole text.
LayerParts SplitLayerDescription(std::string_view description);

// The codes of a layer's components; a main code of -1 and modifier codes of
// 0 mean not found.
struct LayerCodes {
  std::array<int, 2> main{-1, -1};
  std::array<int, 2> quality{0, 0};
  std::array<int, 2> admixture{0, 0};
  // What each component's main soil name was looked for in (SoilNameWords).
  std::array<std::string, 2> lookedUp;
};

// Parses the parts (ParseSoilName) and turns their words into codes.
LayerCodes ClassifyLayer(const SoilWordTables& tables, const LayerParts& parts);

// What the parser looks up as the main soil name when word alone is a
// layer's description: the word itself, unless the parser cuts it first (a
// word holding 質, 混り or 互層 loses that part, and more).
std::string LookedUpAlone(const SoilWordTables& tables, std::string_view word);

enum class SoilTable { SoilName, QualityWord, AdmixtureWord };

// Entry number (from 1) of the first entry of the table whose word equals
// word exactly; 0 when none does or when word is empty or all spaces.
int LookupSoilWord(const SoilWordTables& tables, SoilTable table, std::string_view word);

// The code of the first D12A entry whose name equals name exactly (spaces
// and an empty name included); none when the list does not hold it.
std::optional<std::int16_t> D12ACode(const SoilWordTables& tables, std::string_view name);

}  // namespace k2v
