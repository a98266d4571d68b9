#pragma once
// The window's texts are Japanese in every language, like its captions and
// the run's messages: the texts that lower layers mark for the catalog (the
// vocabulary warnings in a batch's rows and report) are looked up in the
// Japanese catalog built into the program.

namespace k2v {

// The Japanese of a text marked for the catalog; the English text when the
// catalog has none. A Translation.
const char* JapaneseText(const char* english);

}  // namespace k2v
