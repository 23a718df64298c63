#include "state/program.h"

#include "store/cp1252.h"

namespace zl {

AppConstants buildConstants() {
  AppConstants c;
  c.productName = "Zelvo Lingotak";
  c.versionText = "2.5.0." + std::to_string(57);
  c.copyrightLine = "Copyright © 2024-2026 Zelvo"_w;
  c.updateUrl = "http://update.zelvo-lingotak.example/lingotak/Lingotak.upd";
  c.homepageUrl = "http://www.zelvo-lingotak.example/";
  c.buildStamp = ZL_BUILD_STAMP;  // set by the build: SOURCE_DATE_EPOCH, else the last commit's time
  return c;
}

}  // namespace zl
