#include "qt/main_window.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QTabWidget>
#include <QTextBrowser>
#include <QToolBar>

#include "qt/vocab_table_model.h"
#include "qt/widgets_qt.h"

namespace zl {

namespace {

QString fromUtf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// The desktop's stock picture where its icon theme has one. Without a theme
// of the desktop (plain X, offscreen) the search is skipped: walking the
// bare fallback theme costs a fifth of the start-up and finds nothing.
QIcon stockIcon(StockPicture stock, const QIcon& fallback) {
  const QString theme = QIcon::themeName();
  if (theme.isEmpty() || theme == QStringLiteral("hicolor")) return fallback;
  switch (stock) {
    case StockPicture::NewFile:
      return QIcon::fromTheme(QStringLiteral("document-new"), fallback);
    case StockPicture::OpenFile:
      return QIcon::fromTheme(QStringLiteral("document-open"), fallback);
    case StockPicture::Save:
      return QIcon::fromTheme(QStringLiteral("document-save"), fallback);
    case StockPicture::Print:
      return QIcon::fromTheme(QStringLiteral("document-print"), fallback);
    case StockPicture::None:
      break;
  }
  return fallback;
}

QIcon iconOf(const std::vector<QIcon>& icons, IconId id) {
  return id >= 0 && static_cast<std::size_t>(id) < icons.size() ? icons[static_cast<std::size_t>(id)] : QIcon();
}

// The labels that name the text fields, for screen readers and Alt keys.
struct FieldLabel {
  ControlId label;
  ControlId field;
};
constexpr FieldLabel kFieldLabels[] = {
    {EntryVocabularyLabel, EntryVocabularyField},
    {EntryTranslationLabel, EntryTranslationField},
    {TestTranslationLabel, TestTranslationField},
    {TestVocabularyLabel, TestVocabularyField},
};

}  // namespace

MainWindow::MainWindow(const ListRows& list, const WindowFonts& fonts, const std::vector<QIcon>& icons,
                       EventHandler onEvent)
    : QMainWindow(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                               Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      onEvent_(std::move(onEvent)) {
  setObjectName(QStringLiteral("MainWindow"));
  setWindowTitle(QStringLiteral("Zelvo Lingotak"));
  setFixedSize(WindowInnerWidth, WindowInnerHeight);
  setContextMenuPolicy(Qt::PreventContextMenu);  // no toolbar hiding menu

  for (auto key : {Qt::Key_Return, Qt::Key_Enter}) {
    auto* shortcut = new QShortcut(QKeySequence(key), this);
    shortcut->setContext(Qt::WindowShortcut);
    connect(shortcut, &QShortcut::activated, this, [this] { send(EventKind::Menu, CmdAccept); });
  }
  buildMenus(icons);
  buildToolBar(icons);
  buildStatusBar();
  buildPages();
  buildControls(list, fonts);
}

void MainWindow::showCentred() {
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
  show();
  activateWindow();  // a desktop without a window manager would not: then Return would not work
}

// The pages get their size only once the window is laid out, and the tab
// container sizes only the page shown; every page has that size, and the
// controls that reach down to the page bottom follow it.
bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Resize) {
    const QSize page = static_cast<QResizeEvent*>(event)->size();
    for (const FittedControl& fitted : fittedControls_) fitToPage(fitted.widget, *fitted.layout, page);
  }
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::fitToPage(QWidget* widget, const ControlLayout& layout, QSize page) {
  if (layout.size == SizeRule::ToPageBottom)
    widget->setGeometry(layout.x, layout.y, layout.width, page.height() - layout.y - 3);
  else
    widget->setGeometry(0, 0, page.width(), page.height());
}

MainWindow::~MainWindow() {
  // Dying text fields report losing the focus; let them go while this window
  // is still whole, and let no event out of a window that is going.
  onEvent_ = nullptr;
  delete pages_;
}

QAction* MainWindow::createAction(int id, const QString& text, const QIcon& icon) {
  auto* action = new QAction(icon, text, this);
  action->setObjectName(fromUtf8(commandName(id)));
  action->setIconVisibleInMenu(true);
  connect(action, &QAction::triggered, this, [this, id] { send(EventKind::Menu, id); });
  commands_[static_cast<std::size_t>(id)] = action;
  return action;
}

void MainWindow::buildMenus(const std::vector<QIcon>& icons) {
  std::vector<QMenu*> menus;
  for (std::string_view title : menuTitles()) menus.push_back(menuBar()->addMenu(fromUtf8(title)));
  for (const MenuItem& item : menuItems()) {
    QMenu* menu = menus[static_cast<std::size_t>(item.menu)];
    if (item.id == 0)
      menu->addSeparator();
    else
      menu->addAction(createAction(item.id, fromUtf8(item.text), iconOf(icons, item.icon)));
  }
  popup_ = new QMenu(this);
  popup_->setObjectName(fromUtf8(commandName(StatisticsPopup)));
  const MenuItem& entry = statisticsPopupItem();
  popup_->addAction(createAction(entry.id, fromUtf8(entry.text), QIcon()));
}

void MainWindow::buildToolBar(const std::vector<QIcon>& icons) {
  QToolBar* bar = addToolBar(QStringLiteral("MainToolBar"));
  bar->setObjectName(QStringLiteral("MainToolBar"));
  bar->setMovable(false);
  bar->setFloatable(false);
  bar->setIconSize(QSize(IconSide, IconSide));
  for (const ToolButton& button : toolButtons()) {
    if (button.id == 0) {
      bar->addSeparator();
      continue;
    }
    const QString tip = fromUtf8(button.tooltip);
    QAction* action = createAction(button.id, tip, stockIcon(button.stock, iconOf(icons, button.icon)));
    action->setToolTip(tip);
    bar->addAction(action);
  }
}

void MainWindow::buildStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setObjectName(QStringLiteral("MainStatusBar"));
  bar->setSizeGripEnabled(false);
  bar->setContentsMargins(0, 0, 0, 0);
  const std::array<std::pair<const char*, int>, 2> fields = {{
      {"StatusStateField", StatusStateFieldWidth},
      {"StatusFileField", StatusFileFieldWidth},
  }};
  for (std::size_t i = 0; i < fields.size(); ++i) {
    auto* label = new QLabel(bar);
    label->setObjectName(QString::fromLatin1(fields[i].first));
    label->setFixedWidth(fields[i].second);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setTextFormat(Qt::PlainText);
    bar->addWidget(label);
    statusFields_[i] = label;
  }
}

void MainWindow::buildPages() {
  pages_ = new QTabWidget(this);
  pages_->setObjectName(QString::fromLatin1(controlName(PagePanel).data()));
  pages_->setUsesScrollButtons(false);
  pages_->tabBar()->setExpanding(false);
  pages_->tabBar()->setElideMode(Qt::ElideNone);
  const char* names[] = {"EntryPage", "TestPage", "HelpPage"};
  for (std::size_t i = 0; i < 3; ++i) {
    auto* page = new QWidget;
    page->setObjectName(QString::fromLatin1(names[i]));
    page->installEventFilter(this);
    pages_->addTab(page, fromUtf8(pageCaptions()[i]));
  }
  controls_[PagePanel] = pages_;
  setCentralWidget(pages_);
  connect(pages_, &QTabWidget::currentChanged, this,
          [this] { send(EventKind::Control, PagePanel, EventSubtype::TabChanged); });
}

void MainWindow::buildControls(const ListRows& list, const WindowFonts& fonts) {
  for (const ControlLayout& layout : controlLayouts()) {
    QWidget* page = pages_->widget(layout.page);
    QWidget* widget = createControl(layout, page, list);
    widget->setObjectName(fromUtf8(controlName(layout.id)));
    switch (layout.font) {
      case FontRole::FontLarge:
        widget->setFont(fonts.large);
        break;
      case FontRole::FontField:
        widget->setFont(fonts.field);
        break;
      case FontRole::FontLabel:
        widget->setFont(fonts.label);
        break;
      case FontRole::FontSmall:
        widget->setFont(fonts.small);
        break;
      case FontRole::DialogFont:
        widget->setFont(fonts.dialog);
        break;
    }
    if (layout.size == SizeRule::Fixed) {
      widget->setGeometry(layout.x, layout.y, layout.width, layout.height);
    } else {
      fittedControls_.push_back({widget, &layout});
      fitToPage(widget, layout, pages_->widget(EntryPage)->size());
    }
    if (!layout.tooltip.empty()) widget->setToolTip(fromUtf8(layout.tooltip));
    widget->setEnabled(layout.enabled);
    widget->show();
    controls_[static_cast<std::size_t>(layout.id)] = widget;
  }
  for (const FieldLabel& pair : kFieldLabels) {
    auto* label = static_cast<QLabel*>(controls_[pair.label]);
    label->setBuddy(controls_[pair.field]);
    controls_[pair.field]->setAccessibleName(label->text().chopped(1));  // without the colon
  }
  controls_[VocabListView]->setAccessibleName(QStringLiteral("Vokabelliste"));
}

QWidget* MainWindow::createControl(const ControlLayout& layout, QWidget* page, const ListRows& list) {
  const int id = layout.id;
  const QString text = fromUtf8(layout.text);
  switch (layout.kind) {
    case ControlKind::TextField:
    case ControlKind::ReadOnlyTextField: {
      auto* field = new TextField(page, [this, id](EventSubtype subtype) { send(EventKind::Control, id, subtype); });
      field->setReadOnly(layout.kind == ControlKind::ReadOnlyTextField);
      connect(field, &QLineEdit::textChanged, this,
              [this, id] { send(EventKind::Control, id, EventSubtype::TextChanged); });
      return field;
    }
    case ControlKind::Label:
    case ControlKind::SunkenValue:
    case ControlKind::PlainValue: {
      auto* label = new QLabel(text, page);
      label->setTextFormat(Qt::PlainText);
      if (layout.kind == ControlKind::Label) {
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
      } else {
        label->setAlignment(Qt::AlignCenter);
        if (layout.kind == ControlKind::SunkenValue) label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
      }
      return label;
    }
    case ControlKind::PushButton:
    case ControlKind::DefaultPushButton: {
      auto* button = new QPushButton(text, page);
      button->setAutoDefault(false);
      button->setDefault(layout.kind == ControlKind::DefaultPushButton);
      connect(button, &QPushButton::clicked, this,
              [this, id] { send(EventKind::Control, id, EventSubtype::LeftClick); });
      return button;
    }
    case ControlKind::Frame: {
      auto* frame = new QGroupBox(text, page);
      frame->lower();  // the options and values inside are drawn on top
      return frame;
    }
    case ControlKind::OptionButton:
    case ControlKind::CheckBox: {
      QAbstractButton* button = layout.kind == ControlKind::OptionButton
                                    ? static_cast<QAbstractButton*>(new QRadioButton(text, page))
                                    : static_cast<QAbstractButton*>(new QCheckBox(text, page));
      button->setChecked(layout.checked);
      // The state, not the click: the keyboard, a screen reader and the
      // arrow keys in a group change it without one.
      connect(button, &QAbstractButton::toggled, this, [this, id] {
        if (!settingState_) send(EventKind::Control, id, EventSubtype::Toggled);
      });
      return button;
    }
    case ControlKind::ListView: {
      auto* view =
          new VocabTableView(page, [this, id](EventSubtype subtype) { send(EventKind::Control, id, subtype); });
      model_ = new VocabTableModel(list, view);
      view->setModel(model_);
      view->setColumnWidth(0, 284);
      view->setColumnWidth(1, 285);
      return view;
    }
    case ControlKind::RichTextViewer: {
      auto* viewer = new QTextBrowser(page);
      viewer->setReadOnly(true);
      viewer->setTextInteractionFlags(Qt::TextSelectableByMouse);  // read-only, no caret
      viewer->setFocusPolicy(Qt::StrongFocus);
      QPalette pal = viewer->palette();
      pal.setColor(QPalette::Base, QColor::fromRgb(HelpBackgroundRgb));
      viewer->setPalette(pal);
      return viewer;
    }
  }
  return new QWidget(page);
}

void MainWindow::setChecked(int id, bool checked) {
  auto* button = qobject_cast<QAbstractButton*>(control(id));
  if (!button) return;
  settingState_ = true;  // also for the option it unchecks in its group
  button->setChecked(checked);
  settingState_ = false;
}

QWidget* MainWindow::control(int id) const {
  return id >= 0 && id < ControlCount ? controls_[static_cast<std::size_t>(id)] : nullptr;
}

QAction* MainWindow::command(int id) const {
  return id >= 1 && id < CommandCount ? commands_[static_cast<std::size_t>(id)] : nullptr;
}

QLabel* MainWindow::statusField(StatusField field) const { return statusFields_[static_cast<std::size_t>(field)]; }

QTableView* MainWindow::listView() const { return static_cast<QTableView*>(controls_[VocabListView]); }

ControlId MainWindow::idOf(const QWidget* widget) const {
  for (int id = 0; id < ControlCount; ++id)
    if (widget && controls_[static_cast<std::size_t>(id)] == widget) return static_cast<ControlId>(id);
  return NoControl;
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (closeAllowed_) {
    event->accept();
    return;
  }
  event->ignore();  // the program decides, after asking about unsaved pairs
  send(EventKind::Close, 0);
}

void MainWindow::send(EventKind kind, int id, EventSubtype subtype) {
  if (onEvent_) onEvent_(Event{kind, id, subtype});
}

}  // namespace zl
