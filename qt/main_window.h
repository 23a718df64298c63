// The Qt main window, built once from the window layout tables: menus,
// popup, toolbar, status bar, the tab container and every control at its
// fixed position. Every signal of interest becomes one program Event handed
// to `onEvent`; the window never closes by itself, only when told to. It
// shows itself only when asked (`showCentred`), once the program has set
// what it shows.
#pragma once

#include <QFont>
#include <QMainWindow>
#include <array>
#include <functional>
#include <vector>

#include "app/window_layout.h"
#include "platform/event.h"
#include "platform/ui.h"
#include "state/controls.h"

class QAction;
class QLabel;
class QMenu;
class QTabWidget;
class QTableView;

namespace zl {

class ListRows;
class VocabTableModel;

struct WindowFonts {
  QFont large, field, label, small;
  QFont dialog;  // the default dialog font of every other control
};

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  using EventHandler = std::function<void(const Event&)>;

  MainWindow(const ListRows& list, const WindowFonts& fonts, const std::vector<QIcon>& icons, EventHandler onEvent);
  ~MainWindow() override;

  // nullptr for an id the window does not have.
  QWidget* control(int id) const;
  QAction* command(int id) const;
  QLabel* statusField(StatusField field) const;
  QTabWidget* pagePanel() const { return pages_; }
  QTableView* listView() const;
  VocabTableModel* listModel() const { return model_; }
  QMenu* statisticsPopup() const { return popup_; }
  // The control id of a widget, NoControl for any other.
  ControlId idOf(const QWidget* widget) const;

  // Checks or unchecks an option button or check box as the program's own
  // change, which raises no event (a user's change does).
  void setChecked(int id, bool checked);
  // Shows the window in the middle of the screen and activates it.
  void showCentred();
  // From now on a close request closes the window.
  void allowClose() { closeAllowed_ = true; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildMenus(const std::vector<QIcon>& icons);
  void buildToolBar(const std::vector<QIcon>& icons);
  void buildStatusBar();
  void buildPages();
  void buildControls(const ListRows& list, const WindowFonts& fonts);
  QWidget* createControl(const ControlLayout& layout, QWidget* page, const ListRows& list);
  QAction* createAction(int id, const QString& text, const QIcon& icon);
  // Sizes a control whose layout reaches the page bottom or fills the page.
  static void fitToPage(QWidget* widget, const ControlLayout& layout, QSize page);
  void send(EventKind kind, int id, EventSubtype subtype = EventSubtype::None);

  EventHandler onEvent_;
  std::array<QWidget*, ControlCount> controls_{};
  std::array<QAction*, CommandCount> commands_{};
  std::array<QLabel*, 2> statusFields_{};
  struct FittedControl {
    QWidget* widget;
    const ControlLayout* layout;
  };
  std::vector<FittedControl> fittedControls_;
  QTabWidget* pages_ = nullptr;
  QMenu* popup_ = nullptr;
  VocabTableModel* model_ = nullptr;
  bool closeAllowed_ = false;
  bool settingState_ = false;
};

}  // namespace zl
