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
