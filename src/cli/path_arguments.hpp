#pragma once
// The folder arguments of the command line, in the form a run takes them.

#include <string>

namespace k2v {

// Trimmed, absolute against the current folder, then as the window gives a
// typed path to the run (TypedPathText); empty stays empty. With the current folder removed, a relative path stays
// relative, which the run's path check refuses.
std::string PathArgument(const std::string& raw);

// The same without a final separator, which shell completion adds (on
// Windows either separator; a drive's root stays whole).
std::string FolderArgument(const std::string& raw);

}  // namespace k2v
