#pragma once
// The look of the converter's window on Linux, for kolbrix2vantor-gui and
// the pictures of the guide (tests/gui/message_box_shot.cpp).

namespace k2v {

// Qt's Fusion style and a Japanese Gothic face at the size the layout was
// drawn for. Called once the application exists.
void UseWindowLook();

}  // namespace k2v
