// Every writing path through a power cut after each of its steps, on the
// simulated disk of test_support/crash_disk.h: whatever the disk keeps,
// the file is the old one or the new one once the program has started
// again, a backup that was there stays, and what a path reported as done
// is on the disk.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <set>

#include "posix/file_system_posix.h"
#include "posix/rescue_copy.h"
#include "posix/system_posix.h"
#include "test_support/crash_disk.h"
#include "test_support/fake_platform.h"

namespace zl {

namespace {

namespace fs = std::filesystem;

const std::string kNone = "(no file)";

// `pages` pages of their own content and a few bytes more: a torn write
// shows in them.
std::string pagesOf(char letter, int pages) {
  std::string content;
  for (int page = 0; page < pages; ++page) content += std::string(RescueBlock, static_cast<char>(letter + page));
  return content + letter;
}

std::string contentAt(const std::string& path) { return fs::exists(path) ? readBytes(path) : kNone; }

// What a file holds, told by its first bytes, for a failure's message.
std::string shown(const std::string& content) {
  return content == kNone ? content : content.substr(0, 1) + "… (" + std::to_string(content.size()) + " bytes)";
}

void expectOneOf(const std::string& path, const std::set<std::string>& allowed) {
  const std::string content = contentAt(path);
  EXPECT_TRUE(allowed.count(content)) << fileNameOf(path) << " holds " << shown(content);
}

// The simulated disk itself: what a power cut after each step of writing
// a new file and renaming it over an old one can leave, as "old|new" (the
// content at each name, "-" for none). Nothing not synced is certain.
TEST(CrashDisk, APowerCutKeepsWhatWasSyncedAndMayKeepOrTearTheRest) {
  TempFolder folder;
  const std::string written = pagesOf('x', 2);
  const std::string tornPages = written.substr(0, RescueBlock) + std::string(RescueBlock, '\0') + "x";
  writeBytes(folder / "old", "old");
  CrashDisk disk({folder.path()});
  disk.record([&] {
    const int fd = ::open((folder / "new").c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    ASSERT_EQ(::write(fd, written.data(), written.size()), static_cast<ssize_t>(written.size()));
    ::fsync(fd);
    ::close(fd);
    ::rename((folder / "new").c_str(), (folder / "old").c_str());
    const int dir = ::open(folder.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ::fsync(dir);
    ::close(dir);
  });
  const std::vector<std::set<std::string>> expected = {
      {"old|-"},                                                // before
      {"old|-", "old|"},                                        // made, not synced
      {"old|-", "old|", "old|" + written, "old|" + tornPages},  // written, not synced
      {"old|-", "old|" + written},                              // the data synced
      {"old|-", "old|" + written, written + "|-"},              // renamed: undone, or kept
      {written + "|-"},                                         // the folder synced
  };
  ASSERT_EQ(disk.steps() + 1, static_cast<int>(expected.size()));
  for (int cut = 0; cut <= disk.steps(); ++cut) {
    std::set<std::string> left;
    for (const DiskState& state : disk.statesAfter(cut)) {
      disk.restore(state);
      const auto at = [&](const char* name) {
        return fs::exists(folder / name) ? readBytes(folder / name) : std::string("-");
      };
      left.insert(at("old") + "|" + at("new"));
    }
    EXPECT_EQ(left, expected[static_cast<std::size_t>(cut)]) << "after step " << cut;
  }
}

// An update's install on a file system without links, name exchange and
// O_TMPFILE, as exFAT.
class PlainSystem : public PosixSystem {
 protected:
  int linkPath(const std::string&, const std::string&, int) override { return refuse(EPERM); }
  int renamePath(const std::string& from, const std::string& to, unsigned flags) override {
    return flags != 0 ? refuse(EINVAL) : PosixSystem::renamePath(from, to, flags);
  }
  int openUnnamed(const std::string&, int, mode_t) override { return refuse(EOPNOTSUPP); }

 private:
  static int refuse(int error) {
    errno = error;
    return -1;
  }
};

// One writing path: what is on the disk before, the writing, what the
// program does when it starts again, and what must hold then (`finished`:
// the power failed after the last step).
struct WritingPath {
  const char* name;
  std::function<void(const TempFolder&)> setUp;
  std::function<bool(const TempFolder&, PosixFileSystem&, PosixSystem&)> write;
  std::function<void(const TempFolder&, bool finished)> check;
};

const std::string older = pagesOf('A', 2), old = pagesOf('a', 3), next = pagesOf('n', 2), grown = pagesOf('g', 5);

// The list saved over its old file, which becomes the backup.
bool save(const TempFolder& folder, PosixFileSystem& files, const std::string& content) {
  return files.replaceFile(folder / "a.ltk", content, folder / "a.lts").done;
}

void expectSaved(const TempFolder& folder, bool finished, const std::string& content, const std::string& backup) {
  expectOneOf(folder / "a.ltk", finished ? std::set{content} : std::set{old, content});
  expectOneOf(folder / "a.lts", finished ? std::set{old} : std::set{backup, old});
}

const std::vector<WritingPath> kWritingPaths = {
    {"a save, with the backup from before",
     [](const TempFolder& folder) {
       writeBytes(folder / "a.ltk", old);
       writeBytes(folder / "a.lts", older);
     },
     [](const TempFolder& folder, PosixFileSystem& files, PosixSystem&) { return save(folder, files, next); },
     [](const TempFolder& folder, bool finished) { expectSaved(folder, finished, next, older); }},
    {"the first save with a backup", [](const TempFolder& folder) { writeBytes(folder / "a.ltk", old); },
     [](const TempFolder& folder, PosixFileSystem& files, PosixSystem&) { return save(folder, files, grown); },
     [](const TempFolder& folder, bool finished) { expectSaved(folder, finished, grown, kNone); }},
    {"a save as a new file", [](const TempFolder&) {},
     [](const TempFolder& folder, PosixFileSystem& files, PosixSystem&) {
       return files.replaceFile(folder / "b.ltk", next, folder / "b.lts").done;
     },
     [](const TempFolder& folder, bool finished) {
       expectOneOf(folder / "b.ltk", finished ? std::set{next} : std::set{kNone, next});
       EXPECT_FALSE(fs::exists(folder / "b.lts"));
     }},
    {"a backup restored", [](const TempFolder& folder) { writeBytes(folder / "a.ltk", old); },
     [](const TempFolder& folder, PosixFileSystem& files, PosixSystem&) {
       return files.replaceFile(folder / "a.ltk", older).done;
     },
     [](const TempFolder& folder, bool finished) {
       expectOneOf(folder / "a.ltk", finished ? std::set{older} : std::set{old, older});
     }},
    {"a list split in two parts, over an old first part",
     [](const TempFolder& folder) { writeBytes(folder / "a1.ltk", old); },
     [](const TempFolder& folder, PosixFileSystem& files, PosixSystem&) {
       return files.replaceFile(folder / "a1.ltk", next).done && files.replaceFile(folder / "a2.ltk", grown).done;
     },
     [](const TempFolder& folder, bool finished) {
       expectOneOf(folder / "a1.ltk", finished ? std::set{next} : std::set{old, next});
       expectOneOf(folder / "a2.ltk", finished ? std::set{grown} : std::set{kNone, grown});
     }},
    {"a rewrite in place behind a rescue copy, growing",
     [](const TempFolder& folder) {
       writeBytes(folder / "a.ltk", old);
       writeBytes(folder / "a.lts", older);
       fs::create_hard_link(folder / "a.ltk", folder / "second name.ltk");
     },
     [](const TempFolder& folder, PosixFileSystem& files, PosixSystem&) { return save(folder, files, grown); },
     [](const TempFolder& folder, bool finished) {
       expectSaved(folder, finished, grown, older);
       EXPECT_TRUE(fs::equivalent(folder / "a.ltk", folder / "second name.ltk"));
     }},
    {"a rewrite in place behind a rescue copy, shrinking",
     [](const TempFolder& folder) {
       writeBytes(folder / "a.ltk", old);
       fs::create_hard_link(folder / "a.ltk", folder / "second name.ltk");
     },
     [](const TempFolder& folder, PosixFileSystem& files, PosixSystem&) {
       return files.replaceFile(folder / "a.ltk", next).done;
     },
     [](const TempFolder& folder, bool finished) {
       expectOneOf(folder / "a.ltk", finished ? std::set{next} : std::set{old, next});
     }},
    {"a file written whole (a desktop entry), over an old one",
     [](const TempFolder& folder) { writeBytes(folder / "entry.desktop", old); },
     [](const TempFolder& folder, PosixFileSystem& files, PosixSystem&) {
       return bool(files.writeFile(folder / "menu/entry.desktop", next, FileKind::Whole, false)) &&
              bool(files.writeFile(folder / "entry.desktop", grown, FileKind::Whole, true));
     },
     [](const TempFolder& folder, bool finished) {
       expectOneOf(folder / "menu/entry.desktop", finished ? std::set{next} : std::set{kNone, next});
       expectOneOf(folder / "entry.desktop", finished ? std::set{grown} : std::set{old, grown});
     }},
    {"the converter's output, at a free name and over an old file",
     [](const TempFolder& folder) { writeBytes(folder / "old.csv", old); },
     [](const TempFolder& folder, PosixFileSystem& files, PosixSystem&) {
       bool done = true;
       for (const auto& [name, existing] :
            {std::pair{"new.csv", ExistingFile::Keep}, {"old.csv", ExistingFile::Replace}}) {
         const std::unique_ptr<OutputFile> output = files.createOutputFile(folder / name, existing);
         done = done && output && output->write(next.substr(0, 5000)) && output->write(next.substr(5000)) &&
                output->finish();
       }
       return done;
     },
     [](const TempFolder& folder, bool finished) {
       expectOneOf(folder / "new.csv", finished ? std::set{next} : std::set{kNone, next});
       expectOneOf(folder / "old.csv", finished ? std::set{next} : std::set{old, next});
     }},
    {"an update's install", [](const TempFolder& folder) { writeBytes(folder / "zelvo-lingotak", old); },
     [](const TempFolder& folder, PosixFileSystem&, PosixSystem& system) {
       const std::string program = folder / "zelvo-lingotak";
       const std::unique_ptr<NewProgramFile> update = system.createProgramFile(folder.path());
       return update && update->write(grown) && update->finish() &&
              update->install(program, program + ".upd", program + ".tmp");
     },
     [](const TempFolder& folder, bool finished) {
       expectOneOf(folder / "zelvo-lingotak", finished ? std::set{grown} : std::set{old, grown});
     }},
};

// Writes one way on a disk that loses power after each of its steps, puts
// each state the disk can be left in back on it, lets the program start
// again (a rescue copy is put back when the list is opened) and checks.
// How many states were checked.
int checkEveryPowerCut(const WritingPath& path, bool plain) {
  TempFolder folder;
  FaultyFileSystem files;
  files.plain = plain;
  std::unique_ptr<PosixSystem> system = plain ? std::make_unique<PlainSystem>() : std::make_unique<PosixSystem>();
  path.setUp(folder);
  CrashDisk disk({folder.path(), files.rescueFolder()});
  bool done = false;
  disk.record([&] { done = path.write(folder, files, *system); });
  EXPECT_TRUE(done);
  EXPECT_GE(disk.steps(), 3) << "the disk saw no writing";
  int states = 0;
  for (int cut = 0; cut <= disk.steps(); ++cut) {
    for (const DiskState& state : disk.statesAfter(cut)) {
      SCOPED_TRACE(state.how);
      disk.restore(state);
      for (const char* list : {"a.ltk", "a1.ltk"})
        EXPECT_NE(files.recoverCutOffSave(folder / list).recovery, Recovery::InDoubt);
      path.check(folder, cut == disk.steps());
      ++states;
    }
  }
  return states;
}

TEST(PowerCut, EveryWritingPathLeavesTheOldFileOrTheNewOneAndKeepsWhatItReportedDone) {
  for (const bool plain : {false, true}) {
    for (const WritingPath& path : kWritingPaths) {
      SCOPED_TRACE(std::string(path.name) + (plain ? ", on a file system without links or name exchange" : ""));
      checkEveryPowerCut(path, plain);
    }
  }
}

// A rescue copy put back after a power cut in the middle of a rewrite,
// and that putting back cut off in turn at each of its steps: the next
// start puts the old list back all the same.
TEST(PowerCut, PuttingBackARescueCopyCanBeCutOffAndIsDoneAgain) {
  TempFolder folder;
  FaultyFileSystem files;
  const std::string list = folder / "a.ltk";
  writeBytes(list, old);
  fs::create_hard_link(list, folder / "second name.ltk");
  CrashDisk rewrite({folder.path(), files.rescueFolder()});
  rewrite.record([&] { files.replaceFile(list, grown); });
  int cutOff = 0;
  for (int cut = 0; cut <= rewrite.steps(); ++cut) {
    for (const DiskState& state : rewrite.statesAfter(cut)) {
      rewrite.restore(state);
      const std::string left = readBytes(list);
      if (left == old || left == grown) continue;  // only a list that the rewrite left torn
      SCOPED_TRACE(state.how);
      ++cutOff;
      CrashDisk recovery({folder.path(), files.rescueFolder()});
      recovery.record([&] { EXPECT_EQ(files.recoverCutOffSave(list).recovery, Recovery::Recovered); });
      for (int again = 0; again <= recovery.steps(); ++again) {
        for (const DiskState& putBack : recovery.statesAfter(again)) {
          SCOPED_TRACE(putBack.how);
          recovery.restore(putBack);
          files.recoverCutOffSave(list);
          EXPECT_EQ(contentAt(list), old) << shown(contentAt(list));
        }
      }
    }
  }
  EXPECT_GT(cutOff, 0) << "no power cut tore the list";
}

}  // namespace

}  // namespace zl
