#include "qt/widgets_qt.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QProxyStyle>

#include "qt/cp1252_qt.h"

namespace zl {

namespace {

// Grid lines in the colour of a button face, as the list's grid is drawn.
class GridStyle : public QProxyStyle {
 public:
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override {
    if (hint == SH_Table_GridLineColor && widget)
      return static_cast<int>(widget->palette().color(QPalette::Button).rgba());
    return QProxyStyle::styleHint(hint, option, widget, returnData);
  }
};

}  // namespace

TextField::TextField(QWidget* parent, SubtypeHandler onFocus) : QLineEdit(parent), onFocus_(std::move(onFocus)) {
  setValidator(new Cp1252Validator(this));
}

void TextField::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  onFocus_(EventSubtype::FocusGained);
}

void TextField::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  onFocus_(EventSubtype::FocusLost);
}

VocabTableView::VocabTableView(QWidget* parent, SubtypeHandler onClick)
    : QTableView(parent), onClick_(std::move(onClick)) {
  auto* style = new GridStyle;
  style->setParent(this);
  setStyle(style);
  horizontalHeader()->hide();
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
  setShowGrid(true);
  setSelectionBehavior(SelectRows);
  setSelectionMode(SingleSelection);
  setEditTriggers(NoEditTriggers);
  setWordWrap(false);
  setTabKeyNavigation(false);
  // The selection stays visible while the list has no focus.
  QPalette pal = palette();
  for (auto role : {QPalette::Highlight, QPalette::HighlightedText})
    pal.setColor(QPalette::Inactive, role, pal.color(QPalette::Active, role));
  setPalette(pal);
}

void VocabTableView::mouseReleaseEvent(QMouseEvent* event) {
  QTableView::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton) onClick_(EventSubtype::LeftClick);
  if (event->button() == Qt::RightButton) onClick_(EventSubtype::RightClick);
}

}  // namespace zl
