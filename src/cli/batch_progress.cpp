#include "cli/batch_progress.hpp"

#include <algorithm>
#include <ostream>

#include "cli/catalog.hpp"
#include "cli/vocabulary_command.hpp"
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

// A boring's result in the progress lines and the summary.
const char* OutcomeText(BoringOutcome outcome) {
  switch (outcome) {
    case BoringOutcome::Converted: return _("converted");
    case BoringOutcome::ConvertedWithWarnings: return _("converted with warnings");
    case BoringOutcome::Refused: return _("refused");
    case BoringOutcome::Failed: break;
  }
  return _("failed");
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
    err_ << "[" << done_ << "/" << total_ << "] " << result.relativePath << ": " << OutcomeText(result.outcome) << "\n"
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
                     std::to_string(done_) + "/" + std::to_string(total_) + "  " +
                     FormatText(_("%1$s elapsed, %2$s left"), {Duration(elapsed), left});
  if (!running_.empty()) line += "  " + TailFitting(running_.back(), 79 - DisplayColumns(line) - 2);
  // Back to the start of the line, and the rest of the earlier picture erased.
  err_ << "\r" << line << "\x1b[K" << std::flush;
}

void BatchProgress::Close() {
  if (terminal_ && drawnOnce_) err_ << "\n" << std::flush;
}

void PrintBatchSummary(std::ostream& out, const std::vector<BoringResult>& results) {
  const BatchCounts counts = CountResults(results);
  const std::pair<std::string, size_t> lines[] = {{_("Converted:"), counts.converted},
                                                  {_("Converted with warnings:"), counts.convertedWithWarnings},
                                                  {_("Refused:"), counts.refused},
                                                  {_("Failed:"), counts.failed}};
  // The counts stand in one column, one space after the widest label.
  int width = 0;
  for (const auto& [label, count] : lines) width = std::max(width, DisplayColumns(label));
  for (const auto& [label, count] : lines) {
    out << label << std::string(static_cast<size_t>(width - DisplayColumns(label) + 1), ' ') << count << "\n";
  }
  bool first = true;
  for (const BoringResult& r : results) {
    if (!NeedsAttention(r)) continue;
    if (first) out << "\n" << _("Borings that need attention:") << "\n";
    first = false;
    out << "  " << r.relativePath << ": " << OutcomeText(r.outcome);
    if (r.uncodedLayers > 0) {
      out << FormatText(_(", %1$s of %2$s layers without a soil code"),
                        {std::to_string(r.uncodedLayers), std::to_string(r.layerCount)});
    }
    out << "\n";
    // The closing status of a conversion repeats its result; the rest are
    // the run's messages.
    std::vector<std::string> messages = r.messages;
    if (r.outcome == BoringOutcome::Converted) messages.clear();
    if (r.outcome == BoringOutcome::ConvertedWithWarnings && !messages.empty()) messages.erase(messages.begin());
    PrintMessages(out, messages);
  }
  PrintVocabularyFolders(out, results);
}

void PrintVocabularyFolders(std::ostream& out, const std::vector<BoringResult>& results) {
  constexpr size_t kListed = 10;
  struct Folder {
    const VocabularyReport* report;
    std::vector<std::string> warnings;
  };
  std::vector<std::pair<std::string, Folder>> folders;
  for (const BoringResult& r : results) {
    if (r.vocabulary.folder.empty()) continue;
    auto it =
        std::find_if(folders.begin(), folders.end(), [&](const auto& f) { return f.first == r.vocabulary.folder; });
    if (it == folders.end()) {
      folders.push_back({r.vocabulary.folder, {&r.vocabulary, {}}});
      it = folders.end() - 1;
    }
    for (const std::string& warning : r.vocabularyWarnings) {
      std::vector<std::string>& warnings = it->second.warnings;
      if (std::find(warnings.begin(), warnings.end(), warning) == warnings.end()) warnings.push_back(warning);
    }
  }
  if (folders.empty()) return;
  out << "\n" << _("Vocabulary folders:") << "\n";
  for (size_t i = 0; i < folders.size() && i < kListed; ++i) {
    const VocabularyRead& read = folders[i].second.report->read;
    out << "  "
        << FormatText(_("%1$s: G10A.TXT %2$s, D12A.TXT %3$s"),
                      {folders[i].first, VocabularyFileSummary(read.g10a, kG10AName),
                       VocabularyFileSummary(read.d12a, kD12AName)})
        << "\n";
    for (const std::string& warning : folders[i].second.warnings) out << "      " << warning << "\n";
  }
  if (folders.size() > kListed) {
    out << "  " << FormatText(_("and %s more"), {std::to_string(folders.size() - kListed)}) << "\n";
  }
}

}  // namespace k2v
