# Writes a C++ source that holds the given icon files back to back as one
# byte array, returned by zl::embeddedIconFiles(). Runs at configure time;
# the icons are configure dependencies, so changing one regenerates it.
function(zl_embed_icons output)
  set(bytes "")
  foreach(icon IN LISTS ARGN)
    file(READ "${icon}" hex HEX)
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," hex "${hex}")
    string(APPEND bytes "${hex}\n")
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${icon}")
  endforeach()
  file(CONFIGURE OUTPUT "${output}" CONTENT [=[
// Generated from app/icons/*.ico by cmake/EmbedIcons.cmake; do not edit.
#include "app/icons.h"

namespace zl {

namespace {
constexpr unsigned char kIconFiles[] = {
@bytes@
};
}  // namespace

std::span<const unsigned char> embeddedIconFiles() { return kIconFiles; }

}  // namespace zl
]=] @ONLY)
endfunction()
