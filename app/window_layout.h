// What the main window consists of: menus, popup, toolbar, tab captions and
// every control of the three pages, as plain tables in creation order.
//
// The toolkit layer builds the window from these tables alone, so the window
// is described in one place. Texts here are UTF-8 source text (the layout is
// handed straight to the toolkit); everything the program writes into
// controls at run time is Windows-1252. Plain constant data, cannot fail.
#pragma once

#include <span>
#include <string_view>

#include "state/controls.h"
#include "state/icon_ids.h"

namespace zl {

inline constexpr int WindowInnerWidth = 600;   // including nothing but the client area
inline constexpr int WindowInnerHeight = 450;  // including the menu bar
inline constexpr int StatusStateFieldWidth = 100;
inline constexpr int StatusFileFieldWidth = 500;

struct MenuItem {
  int menu;               // index into `menuTitles()`
  int id;                 // command id; 0 for a separator line
  std::string_view text;  // "" for a separator
  IconId icon;            // NoIcon when the entry shows none
};

enum class StockPicture { None, NewFile, OpenFile, Save, Print };

struct ToolButton {
  int id;              // command id; 0 for a separator
  StockPicture stock;  // the platform's picture, with `icon` as fallback
  IconId icon;
  std::string_view tooltip;
};

enum class ControlKind {
  TextField,          // single-line, writable
  ReadOnlyTextField,  // single-line, read-only at start
  Label,
  SunkenValue,  // label, text centred, sunken border
  PlainValue,   // label, text centred, no border
  PushButton,
  DefaultPushButton,
  Frame,  // frame with caption
  OptionButton,
  CheckBox,
  ListView,        // VocabListView
  RichTextViewer,  // HelpViewer
};

// The four fonts of the window; every other control uses the dialog font.
enum class FontRole { DialogFont, FontLarge, FontField, FontLabel, FontSmall };

// How a control's height is found: given, or down to 3 pixels above the page
// bottom (H - y - 3), or the whole page (W x H at 0, 0).
enum class SizeRule { Fixed, ToPageBottom, WholePage };

struct ControlLayout {
  ControlId id;
  Page page;
  ControlKind kind;
  int x, y, width, height;
  SizeRule size;
  std::string_view text;
  FontRole font;
  std::string_view tooltip;
  bool enabled;  // initial state
  bool checked;  // option buttons and check boxes only
};

std::span<const std::string_view> menuTitles();
std::span<const MenuItem> menuItems();
// The one entry of `StatisticsPopup`.
const MenuItem& statisticsPopupItem();
std::span<const ToolButton> toolButtons();
// The captions of the three tabs, with the blanks that widen them.
std::span<const std::string_view> pageCaptions();
// Every control except `PagePanel`, in creation order.
std::span<const ControlLayout> controlLayouts();

// The background of HelpViewer, RGB(255, 255, 223).
inline constexpr unsigned HelpBackgroundRgb = 0xFFFFDFu;

}  // namespace zl
