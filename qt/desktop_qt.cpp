#include "qt/desktop_qt.h"

#include <QApplication>
#include <QDesktopServices>
#include <QIcon>
#include <QPixmap>
#include <QString>
#include <QUrl>

namespace zl {

void QtDesktopShell::openUrl(const std::string& url) { QDesktopServices::openUrl(QUrl(QString::fromStdString(url))); }

void setProgramIcon(const std::string& desktopId, const std::vector<std::string_view>& pngImages) {
  QIcon icon;
  for (const std::string_view image : pngImages) {
    QPixmap pixmap;
    if (pixmap.loadFromData(reinterpret_cast<const uchar*>(image.data()), static_cast<uint>(image.size()), "PNG")) {
      icon.addPixmap(pixmap);
    }
  }
  QApplication::setWindowIcon(icon);
  QGuiApplication::setDesktopFileName(QString::fromStdString(desktopId));
}

}  // namespace zl
