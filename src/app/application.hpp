#pragma once
// The Qt application as the windows are drawn: Qt's Japanese button texts,
// the Fusion style and a Japanese Gothic face at the size the layouts were
// made for.

#include <QApplication>

namespace k2v {

// False when Qt's Japanese texts are not installed (the buttons then keep
// their English texts).
bool SetUpApplication(QApplication& app);

}  // namespace k2v
