#include "run/conversion_run.hpp"

#include <array>
#include <exception>
#include <new>

#include "convert/boring_records.hpp"
#include "platform/files.hpp"
#include "platform/folder_walk.hpp"
#include "run/control_files.hpp"
#include "run/final_names.hpp"
#include "run/gather_files.hpp"
#include "run/working_folder.hpp"
#include "text/sjis_text.hpp"
#include "soil/soil_word_tables.hpp"
#include "titles/title_reader.hpp"
#include "titles/title_writer.hpp"

namespace k2v {

namespace {
// On Windows the steps run one by one: under mingw's static runtime the end
// of a thread is fragile (see the CP932 tables), and a test process there
// once ended without its output.
#ifdef _WIN32
constexpr bool kStepsSideBySide = false;
#else
constexpr bool kStepsSideBySide = true;
#endif
}  // namespace

ConversionRun::ConversionRun(FrontEnd& ui, const PathRules& rules, RunOptions options)
    : ui_(ui), rules_(rules), options_(std::move(options)) {}

RunResult ConversionRun::Refuse() {
  ui_.SetStatus("");
  return RunResult{RunOutcome::Refused, {}};
}

RunResult ConversionRun::Fail(const std::string& message) {
  ui_.SetBusy(false);
  ui_.ShowMessage(message, "", MessageIcon::Critical, MessageButtons::Ok);
  ui_.SetStatus(run_text::kFailed);
  return RunResult{RunOutcome::Failed, {}};
}

namespace {

std::string Component(const std::vector<std::string>& components, size_t k) {
  return k >= 1 && k <= components.size() ? components[k - 1] : std::string();
}

// The destination files a run may read, rename or delete: intermediate files
// of an earlier run, the X5 headers and title copies.
std::vector<std::string> WorkingFolderSeeds() {
  std::vector<std::string> names = IntermediateOutputNames();
  for (const char* name : {"X5.hed", "X5.hd2", "titl01.txt", "titl02.txt", "titl03.txt"}) names.emplace_back(name);
  return names;
}

std::string FailureText(const FileError& e) {
  return std::string(run_text::kFileOperationFailed) + "\n" + e.path() + "\n" + e.reason();
}

}  // namespace

// Walks down the destination path; asks once for the first missing level and
// creates every missing level from the top when the answer is Yes.
bool ConversionRun::PrepareDestination(const std::vector<std::string>& components) {
  const std::string sep(1, rules_.Separator());
  bool missing = false;
  std::string path = Component(components, 1);
  for (size_t i = 2; i <= components.size(); ++i) {
    path += sep + components[i - 1];
    if (!FolderExists(path)) {
      missing = true;
      break;
    }
  }
  if (!missing) return true;
  MessageAnswer answer = ui_.ShowMessage(run_text::kCreateFolder, "", MessageIcon::Question, MessageButtons::YesNo);
  if (answer != MessageAnswer::Yes) return false;
  path = Component(components, 1);
  for (size_t i = 2; i <= components.size(); ++i) {
    path += sep + components[i - 1];
    if (!FolderExists(path)) CreateFolder(path);
  }
  return true;
}

RunResult ConversionRun::Run(const std::string& sourceText, const std::string& destinationText) {
  const char sep = rules_.Separator();
  const std::string sepText(1, sep);

  // 1. Status, shown once before the window stops processing events.
  ui_.SetStatus(run_text::kConverting);
  ui_.ProcessPendingEvents();

  // 2 and 3. Both paths.
  std::string sourceFolder = sourceText;
  if (!rules_.ValidatePath(sourceFolder, ui_)) {
    ui_.ShowMessage(run_text::kInvalidPath, sourceFolder, MessageIcon::Exclamation, MessageButtons::Ok);
    ui_.FocusAndSelect(PathBox::Source);
    return Refuse();
  }
  std::string destinationFolder = destinationText;
  if (!rules_.ValidatePath(destinationFolder, ui_)) {
    ui_.ShowMessage(run_text::kInvalidPath, destinationFolder, MessageIcon::Exclamation, MessageButtons::Ok);
    ui_.FocusAndSelect(PathBox::Destination);
    return Refuse();
  }

  // 4. A destination typed with a final separator.
  if (!destinationText.empty() && destinationText.back() == sep) {
    ui_.ShowMessage(rules_.TrailingSeparatorMessage(), sourceFolder, MessageIcon::Exclamation, MessageButtons::Ok);
    return Refuse();
  }
  // Converting a folder into itself would copy files onto themselves and
  // delete the title files.
  if (SameFolder(sourceFolder, destinationFolder)) {
    ui_.ShowMessage(run_text::kSameFolder, sourceFolder, MessageIcon::Exclamation, MessageButtons::Ok);
    return Refuse();
  }

  // 5. Source data: a missing x1.txt is simply no data.
  if (FileSize(sourceFolder + "x1.txt") < 1) {
    ui_.ShowMessage(run_text::kNoData, sourceFolder, MessageIcon::Exclamation, MessageButtons::Ok);
    return Refuse();
  }

  // 6. Destination folders.
  std::vector<std::string> components = SplitByDelimiter(destinationFolder, sepText);
  try {
    if (!PrepareDestination(components)) return Refuse();
  } catch (const FileError& e) {
    return Fail(FailureText(e));
  }

  ConversionContext ctx;
  ctx.SourceFolder = sourceFolder;
  ctx.SystemDir = options_.systemDir;
  // 7. Components 3 to 5 for CNT.TXT.
  std::array<std::string, 3> components345;
  for (size_t k = 0; k < 3; ++k) components345[k] = Component(components, k + 3);
  TitleTable titles;

  try {
    // 8. Vocabulary: the first four components, each followed by the separator.
    std::string vocabularyPath;
    for (size_t k = 1; k <= 4; ++k) vocabularyPath += Component(components, k) + sepText;
    BuildSoilWordTables(ctx.SoilTables, vocabularyPath);

    // 9. Busy.
    ui_.SetBusy(true);
    StatusPending = 1;

    // 10. Stages, in a working folder inside the destination: the earlier
    // conversion stays whole until every stage has finished.
    WorkingFolder work(destinationFolder, WorkingFolderSeeds());
    const std::string& out = work.Path();
    ctx.DestinationPath = out;
    GatherSourceFiles(sourceFolder, out);
    WriteControlFiles(sourceFolder, out, components345);
    ReadTitleFiles(titles, out);
    WriteTitleSheets(out, titles);
    // The X7 conversion writes N7.txt in Vantor's byte layout and codes, so
    // no stage reads it back.
    ConvertBoringRecords(ctx, kStepsSideBySide && options_.convertSideBySide && ProcessorCount() > 1 ? 2 : 1);
    ApplyFinalOutputNames(out);
    work.Commit(IsFinalOutputName);
  } catch (const FileError& e) {
    return Fail(FailureText(e));
  } catch (const std::bad_alloc&) {
    return Fail(std::string(run_text::kInternalError) + "\n" + run_text::kOutOfMemory);
  } catch (const std::exception& e) {
    return Fail(std::string(run_text::kInternalError) + "\n" + e.what());
  }

  // 11. Done.
  ui_.SetBusy(false);
  ui_.SetStatus(ctx.Warnings.empty() ? run_text::kFinished : run_text::kFinishedWithWarnings);
  return RunResult{RunOutcome::Finished, ctx.Warnings, ctx.LayerCount, ctx.UncodedLayers};
}

}  // namespace k2v
