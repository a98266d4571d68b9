#pragma once
// The texts of the window and of start-up.

namespace k2v::window_text {

inline constexpr const char* kCaption = "Kolbrix -> Vantor 変換プログラム";
inline constexpr const char* kSourceLabel = "変換元ﾌｫﾙﾀﾞ名 ：";
inline constexpr const char* kDestinationLabel = "変換先ﾌｫﾙﾀﾞ名 ：";
inline constexpr const char* kSourceFrame = "変換元ﾌｫﾙﾀﾞ名選択";
inline constexpr const char* kDestinationFrame = "変換先ﾌｫﾙﾀﾞ名選択";
inline constexpr const char* kMessageFrame = "メッセージ";
inline constexpr const char* kExecute = "実  行";
inline constexpr const char* kExit = "終  了";
inline constexpr const char* kNoRadudi = " RADUDI の設定がありません.";
// What follows kNoRadudi: where the program looked, and how to name the folder.
inline constexpr const char* kLookedIn = "探した場所:";
inline constexpr const char* kBesideProgram = "（プログラムの隣）";
inline constexpr const char* kEveryFolderBelow = " 以下のすべてのフォルダ";
inline constexpr const char* kSearchCancelled = "検索はキャンセルされました。";
inline constexpr const char* kGivenNotRadudi = "に kishitu.txt がありません: ";
inline constexpr const char* kHowToNameRadudi =
    "RADUDI フォルダは、kolbrix2vantor-gui --radudi DIR で起動するか、\n"
    "環境変数 KOLBRIX2VANTOR_RADUDI で指定できます。";
// The status line after start-up: the RADUDI folder in use.
inline constexpr const char* kRadudiInUse = "RADUDI フォルダ: ";
inline constexpr const char* kSearching = "RADUDI フォルダを検索しています。";
inline constexpr const char* kCancel = "キャンセル";
inline constexpr const char* kGanbanFolder = "ganban";

}  // namespace k2v::window_text

// The texts of the batch window (一括変換), which converts a whole site.
namespace k2v::batch_text {

inline constexpr const char* kCaption = "Kolbrix -> Vantor 一括変換";
inline constexpr const char* kSourceLabel = "現場フォルダ（変換元） ：";
inline constexpr const char* kDestinationLabel = "変換先のフォルダ ：";
inline constexpr const char* kBrowse = "参照...";
inline constexpr const char* kMessageFrame = "メッセージ";
inline constexpr const char* kExecute = "実  行";
inline constexpr const char* kCancel = "中  止";
inline constexpr const char* kOpenReport = "報告を開く";
inline constexpr const char* kOpenUncodedList = "コードのない土質名を開く";
// The table's headings.
inline constexpr const char* kBoringHeading = "ボーリング";
inline constexpr const char* kResultHeading = "結果";
inline constexpr const char* kLayersHeading = "層数";
inline constexpr const char* kUncodedHeading = "土質コードのない層数";
inline constexpr const char* kMessageHeading = "メッセージ";
// A boring's result in the table before and after its run; once it has run,
// the report's word for its result (ReportResultWord).
inline constexpr const char* kWaiting = "待機中";
inline constexpr const char* kConverting = "変換中";
inline constexpr const char* kNotStarted = "中止（未変換）";
// The folder dialogs' titles.
inline constexpr const char* kChooseSource = "現場フォルダ（変換元）を選んでください";
inline constexpr const char* kChooseDestination = "変換先のフォルダを選んでください";
// Refusals before the batch starts, titled with the path.
inline constexpr const char* kNoSource = "現場フォルダ（変換元）がありません。";
inline constexpr const char* kNoDestination = "変換先のフォルダを指定してください。";
inline constexpr const char* kSameRoots = "変換元と変換先に同じﾌｫﾙﾀﾞは指定できません。";
inline constexpr const char* kDestinationInsideSource = "変換先ﾌｫﾙﾀﾞが変換元ﾌｫﾙﾀﾞの中にあります。";
inline constexpr const char* kSourceInsideDestination = "変換元ﾌｫﾙﾀﾞが変換先ﾌｫﾙﾀﾞの中にあります。";
inline constexpr const char* kNoBorings = "x1.txt のあるフォルダ（ボーリング）がありません。";
// What follows the folder question: the folders missing.
inline constexpr const char* kMissingFolders = "作成するフォルダ:";
inline constexpr const char* kMoreFolders = "ほか ";
// The summary line.
inline constexpr const char* kRunning = "変換しています...";
inline constexpr const char* kStopping = "中止しています。変換中のボーリングが終わるまでお待ちください。";
inline constexpr const char* kStopped = "中止しました。";
inline constexpr const char* kNoReport = "報告を書けませんでした: ";

}  // namespace k2v::batch_text
