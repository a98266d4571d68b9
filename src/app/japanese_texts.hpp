#pragma once
// Qt's own Japanese texts for what Qt draws itself: the standard buttons of
// the message boxes (はい, いいえ, OK, キャンセル), whatever the user's locale.

class QCoreApplication;

namespace k2v {

// Loads Qt's Japanese translation into app; false when it is not installed
// (the buttons then keep Qt's English texts).
bool InstallJapaneseQtTexts(QCoreApplication& app);

}  // namespace k2v
