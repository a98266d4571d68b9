#pragma once
// Texts as Vantor measures them: one column per byte of the CP932 form,
// cut, padded, wrapped and split by those bytes.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace k2v {

// Number of bytes of the CP932 form.
int SjisLen(std::string_view text);
// Columns the text takes on a screen (a terminal, the window's labels): a
// character CP932 has takes as many as its bytes there (one for ASCII and
// half-width katakana, two for a full-width character), any other two.
int DisplayColumns(std::string_view text);
// length bytes from byte position start (counted from 1) on.
std::string SjisMid(std::string_view text, int start, int length);
// Appends the bytes [from, to) (counted from 0) of the CP932 form, a
// character cut at either edge as the escapes of its bytes; returns how many
// bytes were appended.
long AppendSjisBytes(std::string& out, std::string_view text, long from, long to);

// Cuts the trimmed text into lines of at most width bytes, never splitting a
// double-byte character, each padded with spaces to width bytes. Element 0
// is line 1. An empty text gives one line of spaces.
std::vector<std::string> WrapToWidth(std::string_view text, int width);
// Line k (from 1) of the wrapped text, or the empty text when there are fewer.
std::string WrappedLine(std::string_view text, int width, int k);

// Wraps a text handed over piece by piece (whole characters each) exactly as
// WrapToWidth wraps it whole: each line goes to onLine, padded, as soon as it
// is full, so that a text of any length is wrapped in the memory of a line.
// onLine returns false when no more lines are wanted.
class LineWrapper {
 public:
  LineWrapper(int width, std::function<bool(const std::string& line)> onLine);
  void Add(std::string_view piece);
  // The text has ended: its last line goes out (one line of spaces for an
  // empty text), and the wrapper is ready for the next text.
  void Finish();

 private:
  void Emit();
  int width_;
  std::function<bool(const std::string&)> onLine_;
  std::string line_;
  int lineWidth_ = 0;
  size_t spacesPending_ = 0;  // spaces after the text so far: dropped if nothing follows
  bool sawText_ = false;
  bool stopped_ = false;
};

// The pieces between delimiter characters; d delimiters give d + 1 pieces.
// Element 0 is piece 1.
std::vector<std::string> SplitByDelimiter(std::string_view text, std::string_view delimiters);

struct SplitAtFirstResult {
  int position = 0;  // character position from 1, 0 when absent
  std::string before;
  std::string after;
};
// Split at the first occurrence of delimiter; both sides empty when absent.
SplitAtFirstResult SplitAtFirst(std::string_view text, std::string_view delimiter);

// Number of characters (code points).
int CharCount(std::string_view text);
// The first n characters.
std::string LeftCharsOf(std::string_view text, int n);
// Trims remove half-width spaces only.
std::string Trim(std::string_view text);
// The same as a view of the text, and the trims of either end alone.
std::string_view TrimView(std::string_view text);
std::string_view TrimLeftView(std::string_view text);
std::string_view TrimRightView(std::string_view text);

// The text with each control character (below U+0020, and U+007F) shown as
// its picture (U+2400 to U+2421: NUL as "␀", ESC as "␛"), for messages that
// echo a text read from a file.
std::string ShowControlCharacters(std::string_view text);

// True when the two names are equal ignoring ASCII case (how file names are
// matched).
bool SameNameIgnoringCase(std::string_view a, std::string_view b);

// ASCII upper case of a file name (case-insensitive name matching).
std::string AsciiUpper(std::string_view text);

}  // namespace k2v
