#include "convert/boring_records.hpp"

#include <atomic>
#include <exception>
#include <iterator>
#include <system_error>
#include <thread>
#include <vector>

namespace k2v {

namespace {

using Step = void (*)(ConversionContext&);
// The order in which the steps' warnings are told, and in which the first
// failure among them is reported.
constexpr Step kSteps[] = {ConvertLayerTable, ConvertNTables, ConvertRecordSeries, ConvertX6, ConvertX7};
constexpr size_t kStepCount = std::size(kSteps);
// The order in which two workers take them: the longest first, so that they
// finish close together.
constexpr size_t kTakeOrder[kStepCount] = {1, 2, 4, 3, 0};

}  // namespace

void CountUncodedName(ConversionContext& ctx, const std::string& name, const std::string& lookedUp,
                      long long layers) {
  const auto [at, isNew] = ctx.UncodedNameIndex.emplace(name, ctx.UncodedNames.size());
  if (isNew) {
    ctx.UncodedNames.push_back(UncodedSoilName{name, lookedUp, layers});
  } else {
    ctx.UncodedNames[at->second].layers += layers;
  }
}

void ConvertBoringRecords(ConversionContext& ctx, unsigned workers) {
  if (workers <= 1) {
    for (Step step : kSteps) step(ctx);
    return;
  }
  // Each step reads its own source files and writes its own outputs; it
  // gets a context of its own, whose warnings and counts are joined below in
  // the steps' order, so that the result is that of the steps one by one.
  ConversionContext empty = ctx;
  empty.Warnings.clear();
  empty.LayerCount = 0;
  empty.UncodedLayers = 0;
  empty.UncodedNames.clear();
  empty.UncodedNameIndex.clear();
  std::vector<ConversionContext> own(kStepCount, empty);
  std::exception_ptr failures[kStepCount];
  std::atomic<size_t> next{0};
  // Every step runs even after one failed, so that the failure reported is
  // the one the steps one by one would meet first.
  auto work = [&] {
    for (size_t k = next++; k < kStepCount; k = next++) {
      const size_t i = kTakeOrder[k];
      try {
        kSteps[i](own[i]);
      } catch (...) {
        failures[i] = std::current_exception();
      }
    }
  };
  std::vector<std::thread> helpers;
  for (unsigned w = 1; w < workers; ++w) {
    try {
      helpers.emplace_back(work);
    } catch (const std::system_error&) {
      break;  // no thread to be had: this one does the rest
    }
  }
  work();
  for (std::thread& t : helpers) t.join();

  for (size_t i = 0; i < kStepCount; ++i) {
    if (failures[i]) std::rethrow_exception(failures[i]);
  }
  for (const ConversionContext& step : own) {
    ctx.Warnings.insert(ctx.Warnings.end(), step.Warnings.begin(), step.Warnings.end());
    ctx.LayerCount += step.LayerCount;
    ctx.UncodedLayers += step.UncodedLayers;
    for (const UncodedSoilName& n : step.UncodedNames) CountUncodedName(ctx, n.name, n.lookedUp, n.layers);
  }
}

}  // namespace k2v
