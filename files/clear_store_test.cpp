#include "files/clear_store.h"

#include <gtest/gtest.h>

#include "test_support/fake_platform.h"

namespace zl {
namespace {

TEST(ClearStore, ForgetsTheFileThePairsTheFieldsAndTheTest) {
  FakeProgram f;
  for (int i = 0; i < 3; ++i) f.program.list.append(VocabEntry{"w", "t", 1, 2});
  f.program.file = AppState{"/v/englisch.ltk", 1};
  f.ui.setRowCount(3);
  f.ui.setText(EntryVocabularyField, "house");
  f.ui.setText(EntryTranslationField, "Haus");
  f.ui.setText(TestTranslationField, "Baum");
  f.ui.setFieldReadOnly(TestVocabularyField, false);
  f.program.test.items.resize(3);
  f.program.edit.editMode = true;
  f.ui.setEnabled(EditButton, true);
  f.ui.setEnabled(DeleteButton, true);

  clearStore(f.program);

  EXPECT_EQ(f.program.file.currentPath, "");
  EXPECT_EQ(f.program.file.unsaved, 0);
  EXPECT_EQ(f.program.list.size(), 0);
  EXPECT_TRUE(f.program.list.empty());
  EXPECT_EQ(f.program.list.position(), -1);
  EXPECT_EQ(f.ui.rowCount(), 0);
  EXPECT_EQ(f.ui.text(EntryVocabularyField), "");
  EXPECT_EQ(f.ui.text(EntryTranslationField), "");
  EXPECT_EQ(f.program.test.lastIndex(), -1);
  EXPECT_EQ(f.ui.text(TestTranslationField), "");
  EXPECT_TRUE(f.ui.isReadOnly(TestVocabularyField));
  EXPECT_FALSE(f.program.edit.editMode);
  EXPECT_FALSE(f.ui.isEnabled(EditButton));
  EXPECT_FALSE(f.ui.isEnabled(DeleteButton));
}

}  // namespace
}  // namespace zl
