// The few widgets that need more than Qt gives: a text field that reports
// focus changes after Qt has handled them, and the vocabulary list that
// reports left and right clicks once the click has set the selection.
#pragma once

#include <QLineEdit>
#include <QTableView>
#include <functional>

#include "platform/event.h"

namespace zl {

using SubtypeHandler = std::function<void(EventSubtype)>;

class TextField : public QLineEdit {
  Q_OBJECT

 public:
  TextField(QWidget* parent, SubtypeHandler onFocus);

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  SubtypeHandler onFocus_;
};

class VocabTableView : public QTableView {
  Q_OBJECT

 public:
  VocabTableView(QWidget* parent, SubtypeHandler onClick);

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  SubtypeHandler onClick_;
};

}  // namespace zl
