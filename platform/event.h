// One event of the window, as the dispatcher sees it: what kind it is, the
// command or control id it carries, and for control events what happened.
// Every toolkit signal becomes one of these. Plain data.
#pragma once

namespace zl {

enum class EventKind { Menu, Control, Close };

// Toggled: an option button or check box changed its state, by a click, a
// key or a screen reader, but not by the program.
enum class EventSubtype { None, LeftClick, RightClick, FocusGained, FocusLost, TextChanged, TabChanged, Toggled };

struct Event {
  EventKind kind = EventKind::Menu;
  int id = 0;  // a CommandId for menu events, a ControlId for control events
  EventSubtype subtype = EventSubtype::None;
};

// What the event loop delivers to: the program's dispatcher.
class EventSink {
 public:
  virtual ~EventSink() = default;
  virtual void handleEvent(Event event) = 0;
  // True once the program has decided to end; the loop then returns.
  virtual bool quitRequested() const = 0;
};

}  // namespace zl
