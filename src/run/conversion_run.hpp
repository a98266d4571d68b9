#pragma once
// The conversion behind "実  行": checks the two folders, prepares the
// destination, builds the vocabulary and runs the stages in their fixed order.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "convert/conversion_context.hpp"
#include "run/front_end.hpp"
#include "run/paths.hpp"
#include "run/vocabulary.hpp"

namespace k2v {

// The texts of the status line and of the run's messages.
namespace run_text {
inline constexpr const char* kConverting = "只今変換中！　しばらくお待ちください。";
inline constexpr const char* kFinished = "変換が正常に終了しました。";
inline constexpr const char* kFinishedWithWarnings = "変換は終了しましたが、変換できなかったデータがあります。";
inline constexpr const char* kFailed = "変換中にエラーが発生しました。";
inline constexpr const char* kInvalidPath = "指定されたパスは正しくありません。";
inline constexpr const char* kNoData = "データがありません。";
inline constexpr const char* kSameFolder = "変換元と変換先に同じﾌｫﾙﾀﾞは指定できません。";
inline constexpr const char* kDestinationBusy = "変換先ﾌｫﾙﾀﾞは別の変換で使用中です。";
inline constexpr const char* kDestinationIsExport = "変換先ﾌｫﾙﾀﾞに変換元のデータ (x1.txt) があります。";
inline constexpr const char* kWorkingNameTaken = "作業用ﾌｫﾙﾀﾞと同じ名前のﾌｧｲﾙまたはﾌｫﾙﾀﾞがあります。";
inline constexpr const char* kRolledBack = "中断された前回の変換を取り消し、変換先をその前の状態に戻しました。";
inline constexpr const char* kNotRestored =
    "変換先をその前の状態に戻せませんでした。次にこの変換先へ変換するときに戻します。";
inline constexpr const char* kUntrustedJournal =
    "作業用ﾌｫﾙﾀﾞに信頼できない変換の記録があります。変換先は何も変更していません。";
inline constexpr const char* kWorkingFolderLeft =
    "変換は終了しましたが、作業用ﾌｫﾙﾀﾞを削除できませんでした。次の変換で削除します。";
inline constexpr const char* kSourceUnreadable = "変換元ﾌｫﾙﾀﾞを読み込めません。";
inline constexpr const char* kCreateFolder = "ﾌｫﾙﾀﾞがありません。新規作成しますか？";
inline constexpr const char* kFileOperationFailed = "ファイルの処理に失敗しました。";
inline constexpr const char* kInternalError = "内部エラーが発生しました。";
inline constexpr const char* kOutOfMemory = "メモリが足りません。";
}  // namespace run_text

enum class RunOutcome {
  Finished,  // every stage ran (warnings may have been collected)
  Refused,   // a check refused the folders; nothing was written
  Failed,    // a file operation failed; the run stopped there
};

struct RunResult {
  RunOutcome outcome = RunOutcome::Refused;
  // Data that could not be converted, one text each.
  std::vector<std::string> warnings;
  // Layers converted, and those with a part that found no soil code.
  long long layerCount = 0;
  long long uncodedLayers = 0;
  // The soil names of those layers, in the order they first occur.
  std::vector<UncodedSoilName> uncodedNames{};
  // The vocabulary the run read (its folder empty when it stopped before).
  VocabularyReport vocabulary{};
};

struct RunOptions {
  // The folder that holds Radudi32.ini, named with --system-dir; without
  // one, each run looks it up in the usual order (SysDirCandidates), so that
  // a file made while the window is open is found by its next run.
  std::optional<std::string> systemDir;
  // The boring's tables are converted on two processors when the process
  // has them; a batch, whose workers already keep every processor busy,
  // turns this off.
  bool convertSideBySide = true;
};

class ConversionRun {
 public:
  ConversionRun(FrontEnd& ui, const PathRules& rules, RunOptions options);

  // Runs the conversion of the source folder text (Text2) into the
  // destination folder text (Text1), as typed.
  RunResult Run(const std::string& sourceText, const std::string& destinationText);

  // 1 from the start of a run's stages until the front end clears it.
  int StatusPending = 0;

 private:
  RunResult Convert(const std::string& sourceText, const std::string& destinationText);
  bool PrepareDestination(const std::vector<std::string>& components);
  RunResult Refuse();
  RunResult Fail(const std::string& message);

  FrontEnd& ui_;
  const PathRules& rules_;
  RunOptions options_;
};

// The stages of a run in their fixed order, from ctx.SourceFolder into
// ctx.DestinationPath, which then holds Vantor's files under their final
// names; ctx.SoilTables are built already. components345 are the
// destination's levels 3 to 5 (CNT.TXT names them). The boring's tables are
// converted on up to workers threads. Throws FileError.
StepResult ConvertStages(const ConversionContext& ctx, const std::array<std::string, 3>& components345,
                         unsigned workers);

}  // namespace k2v
