#include "platform/fake/fake_platform.h"

#include <gtest/gtest.h>

#include "app/dispatch.h"
#include "app/window_layout.h"
#include "store/cp1252.h"

namespace zl {

FakeUi::FakeUi() {
  commands_.fill(true);
  for (const ControlLayout& layout : controlLayouts()) {
    Control& c = controls_[static_cast<std::size_t>(layout.id)];
    c.text = cp1252FromUtf8(layout.text);
    c.enabled = layout.enabled;
    c.checked = layout.checked;
    c.readOnly = layout.kind == ControlKind::ReadOnlyTextField;
  }
}

void FakeUi::expectMessage(std::string title, std::string text, Answer answer) {
  expected_.push_back({std::move(title), std::move(text), answer});
}

void FakeUi::setIcons(const std::vector<IconImage>& icons) {
  calls_.push_back("setIcons " + std::to_string(icons.size()));
}

bool FakeUi::buildMainWindow(const VocabList&) {
  calls_.push_back("buildMainWindow");
  return true;
}

void FakeUi::runEventLoop(EventSink& sink) {
  calls_.push_back("runEventLoop");
  if (onEventLoop) onEventLoop(sink);
}

void FakeUi::setText(ControlId id, const std::string& text) {
  if (valid(id)) controls_[static_cast<std::size_t>(id)].text = text;
}

std::string FakeUi::text(ControlId id) const { return valid(id) ? controls_[static_cast<std::size_t>(id)].text : ""; }

void FakeUi::setEnabled(ControlId id, bool enabled) {
  if (valid(id)) controls_[static_cast<std::size_t>(id)].enabled = enabled;
}

bool FakeUi::isEnabled(ControlId id) const { return valid(id) && controls_[static_cast<std::size_t>(id)].enabled; }

void FakeUi::setCommandEnabled(CommandId id, bool enabled) {
  if (id >= 1 && id < CommandCount) commands_[static_cast<std::size_t>(id)] = enabled;
}

bool FakeUi::isCommandEnabled(CommandId id) const {
  return id >= 1 && id < CommandCount && commands_[static_cast<std::size_t>(id)];
}

void FakeUi::setReadOnly(ControlId id, bool readOnly) {
  if (valid(id)) controls_[static_cast<std::size_t>(id)].readOnly = readOnly;
}

bool FakeUi::isReadOnly(ControlId id) const { return valid(id) && controls_[static_cast<std::size_t>(id)].readOnly; }

void FakeUi::setChecked(ControlId id, bool checked) {
  if (valid(id)) controls_[static_cast<std::size_t>(id)].checked = checked;
}

bool FakeUi::isChecked(ControlId id) const { return valid(id) && controls_[static_cast<std::size_t>(id)].checked; }

void FakeUi::setFocus(ControlId id) {
  calls_.push_back("setFocus " + std::string(controlName(id)));
  focus_ = id;
}

void FakeUi::selectText(ControlId id, int start, int end) {
  if (valid(id)) selections_[static_cast<std::size_t>(id)] = {start, end};
}

void FakeUi::showPage(Page page) {
  calls_.push_back("showPage " + std::to_string(page));
  page_ = page;
}

void FakeUi::setStatusText(StatusField field, const std::string& text, bool centred) {
  status_[field] = text;
  statusCentred_[field] = centred;
}

void FakeUi::showBusyMessage(const std::string& text) {
  setStatusText(StatusStateField, text, true);
  busyMessages_.push_back(text);
  busy_ = true;
}

Answer FakeUi::messageBox(const std::string& title, const std::string& text, MessageButtons buttons,
                          MessageIcon icon) {
  calls_.push_back("messageBox " + title);
  shown_.push_back({title, text, buttons, icon});
  if (expected_.empty()) {
    ADD_FAILURE() << "unexpected message box \"" << utf8FromCp1252(title) << "\": " << utf8FromCp1252(text);
    return buttons == MessageButtons::Ok ? Answer::Ok : Answer::Cancel;
  }
  const Expected next = expected_.front();
  expected_.pop_front();
  EXPECT_EQ(utf8FromCp1252(next.title), utf8FromCp1252(title));
  EXPECT_EQ(utf8FromCp1252(next.text), utf8FromCp1252(text));
  return next.answer;
}

void FakeSystem::sleepMilliseconds(int milliseconds) { calls.push_back("sleep " + std::to_string(milliseconds)); }

void FakeSystem::removeFile(const std::string& path) {
  calls.push_back("remove " + path);
  regularFiles.erase(path);
}

bool FakeSystem::anotherInstanceRuns(const std::string& name) {
  calls.push_back("lock " + name);
  return lockHeldElsewhere;
}

bool FakeSystem::isAdministrator() {
  calls.push_back("isAdministrator");
  return administrator;
}

FakeProgram::FakeProgram() {
  program.constants = buildConstants();
  program.constants.programDirectory = "/opt/zelvo/";
  ui.showPage(EntryPage);
  ui.setFocus(EntryVocabularyField);
}

void FakeProgram::menu(int command) { dispatchEvent(program, Event{EventKind::Menu, command, EventSubtype::None}); }

void FakeProgram::control(int id, EventSubtype subtype) {
  dispatchEvent(program, Event{EventKind::Control, id, subtype});
}

void FakeProgram::close() { dispatchEvent(program, Event{EventKind::Close, 0, EventSubtype::None}); }

void FakeProgram::type(ControlId field, const std::string& text) {
  ui.setText(field, text);
  control(field, EventSubtype::TextChanged);
}

}  // namespace zl
