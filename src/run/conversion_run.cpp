#include "run/conversion_run.hpp"

#include <array>
#include <cstdint>
#include <exception>
#include <memory>
#include <new>
#include <optional>

#include "convert/boring_records.hpp"
#include "convert/x7_records.hpp"
#include "platform/files.hpp"
#include "platform/folder_lock.hpp"
#include "platform/folder_walk.hpp"
#include "run/control_files.hpp"
#include "run/final_names.hpp"
#include "run/gather_files.hpp"
#include "run/vantor_folders.hpp"
#include "run/working_folder.hpp"
#include "text/sjis_text.hpp"
#include "titles/title_reader.hpp"
#include "titles/title_writer.hpp"

namespace k2v {

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

// What a run adds below its destination at most: the working folder, the
// folder of the files it moves aside, and a file's name (a file copied from
// the export may have a name of any length the system allows).
constexpr size_t kRoomBelowDestination = 64 + 255;

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

// The failure of a file operation. A file of the working folder is named as
// the destination file it was to become: the working folder is gone when the
// user reads the message.
std::string FailureText(const FileError& e, const std::string& destinationFolder) {
  std::string path = e.path();
  const std::string work = JoinPath(JoinPath(destinationFolder, WorkingFolder::kName), "");
  if (path == WithoutFinalSeparator(work)) {
    path = destinationFolder;
  } else if (path.compare(0, work.size(), work) == 0) {
    const std::string name = path.substr(work.size());
    // The working folder's own files (its marker, its journal) stand for the folder.
    const bool ownFile = name.empty() || name[0] == '.' || name.find_first_of("/\\") != std::string::npos;
    path = JoinPath(destinationFolder, ownFile ? std::string() : FinalNameOf(name));
  }
  return std::string(run_text::kFileOperationFailed) + "\n" + path + "\n" + e.reason();
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
  // Whatever goes wrong, the run ends with its message: no error leaves it.
  try {
    return Convert(sourceText, destinationText);
  } catch (const FileError& e) {
    return Fail(std::string(run_text::kFileOperationFailed) + "\n" + e.path() + "\n" + e.reason());
  } catch (const std::bad_alloc&) {
    return Fail(std::string(run_text::kInternalError) + "\n" + run_text::kOutOfMemory);
  } catch (const std::exception& e) {
    return Fail(std::string(run_text::kInternalError) + "\n" + e.what());
  }
}

RunResult ConversionRun::Convert(const std::string& sourceText, const std::string& destinationText) {
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

  // 5. Source data: a missing x1.txt is simply no data, but a source folder
  // that cannot be read is no folder without data.
  std::int64_t sourceData = 0;
  try {
    if (FolderExists(sourceFolder)) CheckFolderCanBeRead(sourceFolder);
    sourceData = FileSize(JoinPath(sourceFolder, "x1.txt"));
  } catch (const FileError& e) {
    return Fail(std::string(run_text::kSourceUnreadable) + "\n" + sourceFolder + "\n" + e.reason());
  }
  if (sourceData < 1) {
    ui_.ShowMessage(run_text::kNoData, sourceFolder, MessageIcon::Exclamation, MessageButtons::Ok);
    return Refuse();
  }
  // No conversion writes an x1.txt: a destination that holds one is another
  // boring's export, whose title files and CNT.TXT the run would replace.
  try {
    if (FileSize(JoinPath(destinationFolder, "x1.txt")) > 0) {
      ui_.ShowMessage(run_text::kDestinationIsExport, destinationFolder, MessageIcon::Exclamation, MessageButtons::Ok);
      return Refuse();
    }
  } catch (const FileError& e) {
    return Fail(FailureText(e, destinationFolder));
  }

  // A destination whose path the system would refuse, with the working
  // folder and a file's name below it, stops the run before anything is made.
  try {
    CheckPathLength(WithoutFinalSeparator(destinationFolder), kRoomBelowDestination);
  } catch (const FileError& e) {
    return Fail(FailureText(e, destinationFolder));
  }

  // 6. Destination folders.
  std::vector<std::string> components = SplitByDelimiter(destinationFolder, sepText);
  // One run at a time in a destination, from here until the working folder
  // is gone: a second run is refused at once and changes nothing.
  std::unique_ptr<FolderLock> lock;
  try {
    if (!PrepareDestination(components)) return Refuse();
    lock = TryLockFolder(destinationFolder);
    if (!lock) {
      ui_.ShowMessage(run_text::kDestinationBusy, destinationFolder, MessageIcon::Exclamation, MessageButtons::Ok);
      return Refuse();
    }
    // A working folder the user made, or anything else under its name, is
    // never touched; one that a run of ours left is cleared, and a final step
    // that was killed half-way is undone first.
    switch (WorkingFolder::Inspect(destinationFolder)) {
      case WorkingFolder::Leftover::Foreign:
        ui_.ShowMessage(run_text::kWorkingNameTaken, JoinPath(destinationFolder, WorkingFolder::kName),
                        MessageIcon::Exclamation, MessageButtons::Ok);
        return Refuse();
      case WorkingFolder::Leftover::Ours:
        switch (WorkingFolder::Recover(destinationFolder)) {
          case WorkingFolder::Recovery::RolledBack:
            ui_.ShowMessage(run_text::kRolledBack, destinationFolder, MessageIcon::Information, MessageButtons::Ok);
            break;
          case WorkingFolder::Recovery::Untrusted:
            ui_.ShowMessage(run_text::kUntrustedJournal, JoinPath(destinationFolder, WorkingFolder::kName),
                            MessageIcon::Exclamation, MessageButtons::Ok);
            return Refuse();
          case WorkingFolder::Recovery::Cleared: break;
        }
        break;
      case WorkingFolder::Leftover::None: break;
    }
  } catch (const FileError& e) {
    return Fail(FailureText(e, destinationFolder));
  }

  ConversionContext ctx;
  ctx.SourceFolder = sourceFolder;
  ctx.SystemDirs = options_.systemDir ? std::vector<std::string>{*options_.systemDir} : SysDirCandidates();
  // 7. Components 3 to 5 for CNT.TXT.
  std::array<std::string, 3> components345;
  for (size_t k = 0; k < 3; ++k) components345[k] = Component(components, k + 3);
  StepResult records;
  VocabularyReport vocabulary;
  std::optional<FileError> leftOver;

  try {
    // 8. Vocabulary: the folder of the first four components.
    vocabulary = BuildVocabulary(ctx.SoilTables, destinationFolder, sep);

    // 9. Busy.
    ui_.SetBusy(true);
    StatusPending = 1;

    // 10. Stages, in a working folder inside the destination: the earlier
    // conversion stays whole until every stage has finished.
    WorkingFolder work(destinationFolder, WorkingFolderSeeds());
    ctx.DestinationPath = work.Path();
    records = ConvertStages(ctx, components345, options_.convertSideBySide && ProcessorCount() > 1 ? 2 : 1);
    leftOver = work.Commit(IsFinalOutputName);
  } catch (const NotRestored& e) {
    return Fail(FailureText(e, destinationFolder) + "\n" + run_text::kNotRestored);
  } catch (const FileError& e) {
    return Fail(FailureText(e, destinationFolder));
  } catch (const std::bad_alloc&) {
    return Fail(std::string(run_text::kInternalError) + "\n" + run_text::kOutOfMemory);
  } catch (const std::exception& e) {
    return Fail(std::string(run_text::kInternalError) + "\n" + e.what());
  }

  // 11. Done. The new conversion is whole even when its working folder could
  // not be removed: that is told with the data that could not be converted.
  ui_.SetBusy(false);
  ui_.SetStatus(records.Warnings.empty() ? run_text::kFinished : run_text::kFinishedWithWarnings);
  if (leftOver) {
    records.Warnings.push_back(std::string(run_text::kWorkingFolderLeft) + "\n" + leftOver->path() + "\n" +
                               leftOver->reason());
  }
  return RunResult{RunOutcome::Finished,
                   records.Warnings,
                   records.LayerCount,
                   records.UncodedLayers,
                   std::move(records.UncodedNames),
                   std::move(vocabulary)};
}

StepResult ConvertStages(const ConversionContext& ctx, const std::array<std::string, 3>& components345,
                         unsigned workers) {
  const std::string& out = ctx.DestinationPath;
  GatherSourceFiles(ctx.SourceFolder, out);
  WriteControlFiles(ctx.SourceFolder, out, components345);
  TitleTable titles;
  ReadTitleFiles(titles, out);
  WriteTitleSheets(out, titles);
  // An N7.TXT that an earlier converter left in the destination becomes
  // G50.TXT with Vantor's codes, unless the X7 conversion replaces it.
  RewriteN7(out);
  // The X7 conversion writes N7.txt in Vantor's byte layout and codes, so
  // no stage reads it back.
  StepResult records = ConvertBoringRecords(ctx, workers);
  ApplyFinalOutputNames(out);
  return records;
}

}  // namespace k2v
