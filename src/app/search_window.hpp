#pragma once
// The small window of a long RADUDI search. It appears once the search has
// run longer than its delay, shows the folder being searched and offers
// Cancel; meanwhile it lets the desktop's events through.

#include <QElapsedTimer>
#include <QString>
#include <memory>
#include <string>

class QProgressDialog;

namespace k2v {

class SearchWindow {
 public:
  explicit SearchWindow(int delayMs = 500);
  ~SearchWindow();
  SearchWindow(const SearchWindow&) = delete;
  SearchWindow& operator=(const SearchWindow&) = delete;

  // The search's progress report: false once the user pressed Cancel.
  bool Visit(const std::string& folder);
  // The window, once it has appeared.
  QProgressDialog* Window() const { return window_.get(); }

 private:
  void Show();

  int delayMs_;
  QElapsedTimer started_;
  QElapsedTimer sinceEvents_;
  std::unique_ptr<QProgressDialog> window_;
};

}  // namespace k2v
