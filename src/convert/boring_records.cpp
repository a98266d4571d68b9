#include "convert/boring_records.hpp"

#include <array>
#include <iterator>

#include "platform/worker_pool.hpp"

namespace k2v {

namespace {

using Step = StepResult (*)(const ConversionContext&);
// The order in which the steps' results are joined: their warnings are told,
// and the first failure among them is reported, in this order.
constexpr Step kSteps[] = {ConvertLayerTable, ConvertNTables, ConvertRecordSeries, ConvertX6, ConvertX7};
constexpr size_t kStepCount = std::size(kSteps);
// The order in which two workers take them: the longest first, so that they
// finish close together.
constexpr size_t kTakeOrder[kStepCount] = {1, 2, 4, 3, 0};

StepResult RunStep(Step step, const ConversionContext& ctx) {
  try {
    return step(ctx);
  } catch (...) {
    StepResult failed;
    failed.Failure = std::current_exception();
    return failed;
  }
}

}  // namespace

void StepResult::CountUncodedName(const std::string& name, const std::string& lookedUp, long long layers) {
  const auto [at, isNew] = uncodedNameIndex_.emplace(name, UncodedNames.size());
  if (isNew) {
    UncodedNames.push_back(UncodedSoilName{name, lookedUp, layers});
  } else {
    UncodedNames[at->second].layers += layers;
  }
}

void StepResult::Append(const StepResult& later) {
  Warnings.insert(Warnings.end(), later.Warnings.begin(), later.Warnings.end());
  LayerCount += later.LayerCount;
  UncodedLayers += later.UncodedLayers;
  for (const UncodedSoilName& n : later.UncodedNames) CountUncodedName(n.name, n.lookedUp, n.layers);
  if (!Failure) Failure = later.Failure;
}

StepResult ConvertBoringRecords(const ConversionContext& ctx, unsigned workers) {
  // Each step reads its own source files and writes its own outputs, so
  // the steps may run in any order and side by side.
  std::array<StepResult, kStepCount> results;
  if (workers <= 1) {
    // One by one, a failure ends the conversion at once.
    for (size_t i = 0; i < kStepCount && !(i > 0 && results[i - 1].Failure); ++i) results[i] = RunStep(kSteps[i], ctx);
  } else {
    // Every step runs even after one failed, so that the failure reported is
    // the one the steps one by one would meet first. This thread is one of
    // the workers.
    WorkerPool pool(kStepCount, workers - 1,
                    [&](size_t k) { results[kTakeOrder[k]] = RunStep(kSteps[kTakeOrder[k]], ctx); });
    pool.Help();
    pool.Join();
  }
  StepResult joined;
  for (const StepResult& result : results) joined.Append(result);
  if (joined.Failure) std::rethrow_exception(joined.Failure);
  return joined;
}

}  // namespace k2v
