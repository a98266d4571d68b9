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
inline constexpr const char* kSearching = "RADUDI フォルダを検索しています。";
inline constexpr const char* kCancel = "キャンセル";
inline constexpr const char* kGanbanFolder = "ganban";

}  // namespace k2v::window_text
