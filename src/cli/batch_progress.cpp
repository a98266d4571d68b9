#include "cli/batch_progress.hpp"

#include <algorithm>
#include <ostream>

#include "text/cp932.hpp"
#include "text/sjis_text.hpp"

namespace k2v {

namespace {

using Clock = std::chrono::steady_clock;

// Minutes and seconds, with hours in front from one hour on.
std::string Duration(long long seconds) {
  const long long h = seconds / 3600, m = seconds / 60 % 60, s = seconds % 60;
  std::string text = h > 0 ? std::to_string(h) + ":" : "";
  std::string minutes = std::to_string(m);
  if (h > 0 && m < 10) minutes = "0" + minutes;
  return text + minutes + ":" + (s < 10 ? "0" : "") + std::to_string(s);
}

// The end of the text that fits in width columns, with "..." in front when
// it was cut.
std::string TailFitting(const std::string& text, int width) {
  std::vector<std::pair<size_t, int>> chars;  // start, columns
  int total = 0;
  for (size_t i = 0, length = 0; i < text.size(); i += length) {
    length = Utf8CharLength(text, i);
    chars.emplace_back(i, DisplayColumns(std::string_view(text).substr(i, length)));
    total += chars.back().second;
  }
  if (total <= width) return text;
  int used = 3;
  size_t from = text.size();
  for (auto it = chars.rbegin(); it != chars.rend() && used + it->second <= width; ++it) {
    used += it->second;
    from = it->first;
  }
  return "..." + text.substr(from);
}

void PrintMessages(std::ostream& out, const std::vector<std::string>& messages) {
  for (const std::string& message : messages) {
    size_t start = 0;
    while (start <= message.size()) {
      size_t end = message.find('\n', start);
      if (end == std::string::npos) end = message.size();
      out << "      " << message.substr(start, end - start) << "\n";
      start = end + 1;
    }
  }
}

}  // namespace

BatchProgress::BatchProgress(std::ostream& err, std::size_t total, bool terminal)
    : err_(err), total_(total), terminal_(terminal), start_(Clock::now()) {}

void BatchProgress::Started(const BatchBoring& boring) {
  running_.push_back(boring.relativePath);
  Draw(false);
}

void BatchProgress::Finished(const BoringResult& result) {
  ++done_;
  auto it = std::find(running_.begin(), running_.end(), result.relativePath);
  if (it != running_.end()) running_.erase(it);
  if (!terminal_) {
    err_ << "[" << done_ << "/" << total_ << "] " << result.relativePath << ": " << OutcomeName(result.outcome) << "\n"
         << std::flush;
    return;
  }
  Draw(done_ == total_);
}

void BatchProgress::Tick() { Draw(true); }

void BatchProgress::Draw(bool force) {
  if (!terminal_) return;
  const Clock::time_point now = Clock::now();
  // A terminal needs no more than ten pictures a second.
  if (!force && drawnOnce_ && now - drawn_ < std::chrono::milliseconds(100)) return;
  drawn_ = now;
  drawnOnce_ = true;

  constexpr size_t kBarWidth = 20;
  const size_t filled = total_ == 0 ? kBarWidth : done_ * kBarWidth / total_;
  const long long elapsed = std::chrono::duration_cast<std::chrono::seconds>(now - start_).count();
  std::string left = "--:--";
  if (done_ > 0) {
    const double perBoring = std::chrono::duration<double>(now - start_).count() / static_cast<double>(done_);
    left = Duration(static_cast<long long>(perBoring * static_cast<double>(total_ - done_) + 0.5));
  }
  std::string line = "[" + std::string(filled, '#') + std::string(kBarWidth - filled, '-') + "] " +
                     std::to_string(done_) + "/" + std::to_string(total_) + "  " + Duration(elapsed) + " elapsed, " +
                     left + " left";
  if (!running_.empty()) line += "  " + TailFitting(running_.back(), 79 - static_cast<int>(line.size()) - 2);
  // Back to the start of the line, and the rest of the earlier picture erased.
  err_ << "\r" << line << "\x1b[K" << std::flush;
}

void BatchProgress::Close() {
  if (terminal_ && drawnOnce_) err_ << "\n" << std::flush;
}

void PrintBatchSummary(std::ostream& out, const std::vector<BoringResult>& results) {
  const BatchCounts counts = CountResults(results);
  out << "Converted:               " << counts.converted << "\n"
      << "Converted with warnings: " << counts.convertedWithWarnings << "\n"
      << "Refused:                 " << counts.refused << "\n"
      << "Failed:                  " << counts.failed << "\n";
  bool first = true;
  for (const BoringResult& r : results) {
    if (!NeedsAttention(r)) continue;
    if (first) out << "\nBorings that need attention:\n";
    first = false;
    out << "  " << r.relativePath << ": " << OutcomeName(r.outcome);
    if (r.uncodedLayers > 0) {
      out << ", " << r.uncodedLayers << " of " << r.layerCount << " layers without a soil code";
    }
    out << "\n";
    // The closing status of a conversion repeats its result; the rest are
    // the run's messages.
    std::vector<std::string> messages = r.messages;
    if (r.outcome == BoringOutcome::Converted) messages.clear();
    if (r.outcome == BoringOutcome::ConvertedWithWarnings && !messages.empty()) messages.erase(messages.begin());
    PrintMessages(out, messages);
  }
}

}  // namespace k2v
