#include "state/program.h"

#include <cstdlib>

#include "store/cp1252.h"

namespace zl {

AppConstants buildConstants() {
  AppConstants c;
  c.productName = "Zelvo Lingotak";
  c.versionText = ZL_VERSION_TEXT;  // CMake's project version
  c.copyrightLine = "Copyright © 2024-2026 Zelvo"_w;
  c.updateUrl = ZL_UPDATE_URL;  // CMake's cache variables of the same names
  c.homepageUrl = ZL_HOMEPAGE_URL;
  // A mirror, or a test's own server.
  const char* url = std::getenv("ZELVO_LINGOTAK_UPDATE_URL");
  if (url != nullptr && *url != '\0') c.updateUrl = url;
  c.buildStamp = ZL_BUILD_STAMP;  // set by the build: SOURCE_DATE_EPOCH, else the last commit's time
  return c;
}

void endRunningTest(Program& program) {
  endTest(program.test);
  program.clearTestPage(program.controls);
}

}  // namespace zl
