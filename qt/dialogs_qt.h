// The Dialogs of platform/dialogs.h as Qt message boxes, for a program
// that is no window otherwise (the converter). The Qt application is made
// at the first box, so the converter in a terminal never needs a display.
#pragma once

#include <QApplication>
#include <functional>
#include <memory>

#include "platform/dialogs.h"

namespace zl {

class QtDialogs : public Dialogs {
 public:
  // `argc` and `argv` must outlive this object (Qt keeps them); `setUp`
  // runs once the application is made (its language, its icon).
  QtDialogs(int& argc, char** argv, std::function<void()> setUp) : argc_(argc), argv_(argv), setUp_(std::move(setUp)) {}
  void tell(const std::string& title, const std::string& text, MessageIcon icon) override;
  bool askYesNo(const std::string& title, const std::string& text) override;

 private:
  // False when there is no display to show a box on.
  bool ready();

  int& argc_;
  char** argv_;
  std::function<void()> setUp_;
  std::unique_ptr<QApplication> application_;
};

}  // namespace zl
