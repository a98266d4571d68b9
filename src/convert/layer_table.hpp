#pragma once
// The layer table: each layer of X1.TXT becomes one line of G10.txt or one
// line each of D10B.txt and D10.txt.

#include <array>
#include <string>
#include <string_view>

#include "soil/soil_name_parser.hpp"
#include "soil/soil_word_tables.hpp"

namespace k2v {

// The codes of a layer's components; a main code of -1 and modifier codes of
// 0 mean not found.
struct LayerCodes {
  std::array<int, 2> main{-1, -1};
  std::array<int, 2> quality{0, 0};
  std::array<int, 2> admixture{0, 0};
  // What each component's main soil name was looked for in (SoilNameWords).
  std::array<std::string, 2> lookedUp;
};

enum class SoilTable { SoilName, QualityWord, AdmixtureWord };

// Splits a description: alternating layers (互層) give the parts before "と"
// and between "と" and "の" of the text before "互層"; anything else is one
// part, the whole text.
LayerParts SplitLayerDescription(std::string_view description);

// Entry number (from 1) of the first entry of the table whose word equals
// word exactly, as the table stands now; 0 when none does or when word is
// empty or all spaces.
int LookupSoilWord(const SoilWordTables& tables, SoilTable table, std::string_view word);

// Parses the parts and turns their words into codes.
LayerCodes ClassifyLayer(SoilWordTables& tables, const LayerParts& parts);

// Vantor's three-column main code: three spaces for -1, else the last three
// digits with zeros in front (7 gives 007).
std::string MainCodeText(int code);

}  // namespace k2v
