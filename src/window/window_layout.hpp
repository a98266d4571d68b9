#pragma once
// The windows' layouts as data: every control's kind, caption and place in
// twips (1440 to the inch), the client area and the background colour. Both
// views lay a window out from its table, and their tests read it.

#include <span>
#include <string_view>

#include "window/window_text.hpp"

namespace k2v {

// What a control is; each view makes its toolkit's control of that kind.
enum class ControlKind {
  Picture,      // the background that holds the other controls
  Label,        // a fixed text
  StatusLine,   // a text the window changes, shortened in the middle when too long
  TextBox,      // a path box
  Frame,        // a captioned frame around other controls
  FolderList,   // the folders of a folder
  DriveList,    // the drives, a drop-down list
  Button,       // a push button
  ProgressBar,  // how much of a batch is done
  Table,        // rows of cells under column headings
};

struct ControlPlace {
  const char* name;
  ControlKind kind;
  const char* caption;
  // The control it stands in, whose place its own is relative to; empty for
  // the window's client area.
  std::string_view container;
  int left, top, width, height;
};

struct Colour {
  int red, green, blue;
};

struct WindowLayout {
  const char* caption;
  int clientWidth, clientHeight;
  Colour background;
  // In tab order.
  std::span<const ControlPlace> controls;
};

// Vantor's grey (192, 192, 192), the background of the window, its picture
// box, frames and labels.
inline constexpr Colour kGrey{192, 192, 192};

// Form1, the converter's window.
inline constexpr ControlPlace kForm1Controls[] = {
    {"Picture1", ControlKind::Picture, "", "", 0, 0, 9075, 6495},
    {"Label2", ControlKind::Label, window_text::kSourceLabel, "Picture1", 240, 300, 2085, 315},
    {"Text2", ControlKind::TextBox, "", "Picture1", 2400, 240, 6255, 405},
    {"Label1", ControlKind::Label, window_text::kDestinationLabel, "Picture1", 240, 900, 2055, 315},
    {"Text1", ControlKind::TextBox, "", "Picture1", 2400, 840, 6255, 405},
    {"Frame2", ControlKind::Frame, window_text::kSourceFrame, "Picture1", 1200, 1620, 3135, 2895},
    {"Dir2", ControlKind::FolderList, "", "Frame2", 240, 420, 2595, 1530},
    {"Drive2", ControlKind::DriveList, "", "Frame2", 240, 2220, 2595, 390},
    {"Frame1", ControlKind::Frame, window_text::kDestinationFrame, "Picture1", 4980, 1620, 2895, 2895},
    {"Dir1", ControlKind::FolderList, "", "Frame1", 240, 420, 2415, 1530},
    {"Drive1", ControlKind::DriveList, "", "Frame1", 240, 2220, 2415, 390},
    {"Frame3", ControlKind::Frame, window_text::kMessageFrame, "Picture1", 240, 4740, 8475, 675},
    {"Label3", ControlKind::StatusLine, "", "Frame3", 180, 240, 8175, 315},
    {"Command1", ControlKind::Button, window_text::kExecute, "Picture1", 2520, 5580, 1935, 555},
    {"Command2", ControlKind::Button, window_text::kExit, "Picture1", 5160, 5580, 2055, 555},
};
inline constexpr WindowLayout kForm1Layout{window_text::kCaption, 9090, 6495, kGrey, kForm1Controls};

// The batch window (一括変換), which converts a whole site.
inline constexpr ControlPlace kBatchControls[] = {
    {"Picture1", ControlKind::Picture, "", "", 0, 0, 10800, 7560},
    {"SourceLabel", ControlKind::Label, batch_text::kSourceLabel, "Picture1", 240, 300, 2400, 315},
    {"SourceRoot", ControlKind::TextBox, "", "Picture1", 2700, 240, 6300, 405},
    {"SourceBrowse", ControlKind::Button, batch_text::kBrowse, "Picture1", 9120, 240, 1440, 405},
    {"DestinationLabel", ControlKind::Label, batch_text::kDestinationLabel, "Picture1", 240, 900, 2400, 315},
    {"DestinationRoot", ControlKind::TextBox, "", "Picture1", 2700, 840, 6300, 405},
    {"DestinationBrowse", ControlKind::Button, batch_text::kBrowse, "Picture1", 9120, 840, 1440, 405},
    {"Progress", ControlKind::ProgressBar, "", "Picture1", 240, 1440, 10320, 300},
    {"Borings", ControlKind::Table, "", "Picture1", 240, 1860, 10320, 3840},
    {"MessageFrame", ControlKind::Frame, batch_text::kMessageFrame, "Picture1", 240, 5820, 10320, 675},
    {"Summary", ControlKind::StatusLine, "", "MessageFrame", 180, 240, 9960, 315},
    {"Execute", ControlKind::Button, batch_text::kExecute, "Picture1", 240, 6720, 1935, 555},
    {"Cancel", ControlKind::Button, batch_text::kCancel, "Picture1", 2400, 6720, 1935, 555},
    {"OpenReport", ControlKind::Button, batch_text::kOpenReport, "Picture1", 5400, 6720, 2400, 555},
    {"OpenUncodedList", ControlKind::Button, batch_text::kOpenUncodedList, "Picture1", 7920, 6720, 2640, 555},
};
inline constexpr WindowLayout kBatchLayout{batch_text::kCaption, 10800, 7560, kGrey, kBatchControls};

// The columns of the batch window's table: heading and width in twips.
struct TableColumn {
  const char* heading;
  int width;
};
inline constexpr TableColumn kBatchColumns[] = {
    {batch_text::kBoringHeading, 2100},  {batch_text::kResultHeading, 1800},  {batch_text::kLayersHeading, 750},
    {batch_text::kUncodedHeading, 1950}, {batch_text::kMessageHeading, 3400},
};

// The control of that name; null for none.
const ControlPlace* FindControl(const WindowLayout& layout, std::string_view name);
// A control's place on the window's client area: its own place with those of
// the controls it stands in added.
ControlPlace PlaceOnWindow(const WindowLayout& layout, const ControlPlace& control);
// Twips in pixels at dpi dots per inch, rounded to the nearest pixel.
int TwipsToPixels(int twips, int dpi);

}  // namespace k2v
