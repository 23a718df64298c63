#include "qt/dialogs_qt.h"

#include <QMessageBox>
#include <QPushButton>
#include <cstdio>
#include <cstdlib>

#include "qt/qt_ui.h"

namespace zl {

bool QtDialogs::ready() {
  if (application_) return true;
  const auto set = [](const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
  };
  if (!set("DISPLAY") && !set("WAYLAND_DISPLAY") && !set("QT_QPA_PLATFORM")) return false;
  application_ = std::make_unique<QApplication>(argc_, argv_);
  setUp_();
  return true;
}

void QtDialogs::tell(const std::string& title, const std::string& text, MessageIcon icon) {
  std::fprintf(stderr, "%s\n", text.c_str());
  if (!ready()) return;
  QMessageBox box(qtIcon(icon), QString::fromStdString(title), QString::fromStdString(text), QMessageBox::Ok);
  box.exec();
}

bool QtDialogs::askYesNo(const std::string& title, const std::string& text) {
  if (!ready()) {
    std::fprintf(stderr, "%s\n", text.c_str());
    return false;
  }
  QMessageBox box(QMessageBox::Warning, QString::fromStdString(title), QString::fromStdString(text));
  QPushButton* yes = box.addButton(QStringLiteral("Ja"), QMessageBox::YesRole);
  box.addButton(QStringLiteral("Nein"), QMessageBox::NoRole);
  box.setDefaultButton(yes);
  box.exec();
  return box.clickedButton() == yes;
}

}  // namespace zl
