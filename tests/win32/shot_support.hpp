#pragma once
// What the picture programs of scripts/screenshot_windows.sh share: the
// window opened as kolbrix2vantor-gui opens it with the paths typed in, its
// place on the screen printed for the script, and the window closed again.

#include <windows.h>

#include <string>
#include <vector>

#include "app_win32/form1_window.hpp"

namespace k2v::shot {

// The set-up kolbrix2vantor-gui --radudi RADUDI --system-dir SYSTEM-DIR
// opens the window with.
WindowSetup SetupFor(const std::string& radudi, const std::string& systemDir);

// Starts the window up, shows it and types source and destination into its
// path boxes; false when the start-up failed.
bool ShowWithPaths(Form1Window& window, const std::string& source, const std::string& destination);

// Prints the window's place on the screen, "left top width height", for the
// script to take its picture.
void PrintPlace(HWND window);

// Closes the window seconds from now, while its messages run.
void CloseAfter(HWND window, int seconds);

}  // namespace k2v::shot
