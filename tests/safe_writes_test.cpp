// A run never damages what the user has: faults are injected through the file
// layer's test seam (file permissions do not stop root), links and folders are
// put in the way, and a run is killed while it writes or puts its files in place.

#include <gtest/gtest.h>
#ifndef _WIN32
#include <unistd.h>
#endif

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "platform/files.hpp"
#include "run/conversion_run.hpp"
#include "run/final_names.hpp"
#include "test_support.hpp"

namespace k2v {
namespace {

namespace fs = std::filesystem;
using Files = std::vector<std::pair<std::string, std::string>>;

const fs::path kData = fs::path(K2V_TEST_DATA_DIR);
constexpr const char* kWork = ".kolbrix2vantor-work";

// Repeats every record line of a file n times (a larger export of the same shape).
std::string Repeated(const fs::path& file, int n) {
  std::string bytes = test::ReadBytes(file);
  std::string out;
  for (int k = 0; k < n; ++k) out += bytes;
  return out;
}

// A full export, a system folder whose Radudi32.ini names the item lists, and
// a destination that holds a complete earlier conversion.
class SafeWritesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    source = root / "export";
    destination = root / "GB" / "K001" / "S01";
    fs::copy(kData / "stages_full" / "source", source);
    fs::create_directories(root / "system");
    fs::copy(kData / "records_e2e" / "radudi", root / "radudi");
    test::WriteBytes(root / "system" / "Radudi32.ini",
                     "[RADUDI]\r\n" + PathText(root / "radudi") + test::Sep() + "\r\n");
    ASSERT_EQ(Convert(), RunOutcome::Finished);
    earlier = test::Snapshot(destination);
    // The next conversion writes other bytes than the earlier one.
    test::WriteSjis(source / "X1.TXT", "1,0.80,0,表土\r\n2,2.40,0,砂礫\r\n");
    test::WriteSjis(source / "X3.TXT", "1,1.00,乱さない,x,試料,x,x\r\n");
    sourceBefore = test::Snapshot(source);
  }

  void TearDown() override { SetFaultHook(nullptr); }

  RunOutcome Convert() {
    ui = test::RecordingFrontEnd{};
    ui.answers.push_back(MessageAnswer::Yes);
    ConversionRun run(ui, rules, RunOptions{PathText(root / "system")});
    result = run.Run(PathText(source), PathText(destination));
    return result.outcome;
  }

  // The message of a failed run: the file failure text, the path, the reason.
  std::string FailureMessage() const {
    for (const test::ShownMessage& m : ui.messages) {
      if (m.icon == MessageIcon::Critical) return m.text;
    }
    return "<none>";
  }

  // The four checks after a fault: the earlier outputs are unchanged, the
  // source is unchanged, the run said it failed, and the next run leaves no
  // working folder and converts as usual.
  void ExpectFailedAndNothingLost(const std::string& failedPath) {
    EXPECT_EQ(ui.statuses.back(), "変換中にエラーが発生しました。");
    EXPECT_NE(FailureMessage().find("ファイルの処理に失敗しました。"), std::string::npos) << FailureMessage();
    EXPECT_NE(FailureMessage().find(AsNamedInMessage(failedPath)), std::string::npos) << FailureMessage();
    // The working folder is gone when the user reads the message.
    EXPECT_EQ(FailureMessage().find(kWork), std::string::npos) << FailureMessage();
    EXPECT_EQ(test::Snapshot(destination), earlier);
    EXPECT_EQ(test::Snapshot(source), sourceBefore);
    SetFaultHook(nullptr);
    ASSERT_EQ(Convert(), RunOutcome::Finished);
    EXPECT_FALSE(fs::exists(destination / kWork));
    EXPECT_NE(test::Snapshot(destination), earlier);
  }

  // The destination file that a file of the working folder stands for; a
  // file of the working folder's own stands for the destination folder.
  std::string AsNamedInMessage(const std::string& path) const {
    const std::string work = PathText(destination / kWork) + test::Sep();
    if (path + test::Sep() == work) return PathText(destination) + test::Sep();
    if (path.rfind(work, 0) != 0) return path;
    const std::string name = path.substr(work.size());
    return PathText(destination) + test::Sep() + (name[0] == '.' ? "" : FinalNameOf(name));
  }

  // The destination back to the earlier conversion, for the next case.
  void RestoreEarlier() {
    SetFaultHook(nullptr);
    fs::remove_all(destination);
    fs::create_directories(destination);
    for (const auto& [name, bytes] : earlier) test::WriteBytes(destination / name, bytes);
  }

  // The renames of the final step that put a new file in place (the moves
  // into the working folder are not counted): how many a run makes.
  static bool IsPlacement(FileOperation op, const std::string& path) {
    return op == FileOperation::Rename && path.find(kWork) == std::string::npos;
  }
  int CountPlacements() {
    int placements = 0;
    SetFaultHook(
        [&](FileOperation op, const std::string& path) { return IsPlacement(op, path) ? ++placements, 0 : 0; });
    EXPECT_EQ(Convert(), RunOutcome::Finished);
    RestoreEarlier();
    return placements;
  }

  // The one message box with this text, or nullptr.
  const test::ShownMessage* Shown(const std::string& text) const {
    for (const test::ShownMessage& m : ui.messages) {
      if (m.text == text) return &m;
    }
    return nullptr;
  }

  // A working folder as an interrupted run of this program leaves it, with
  // this journal and an earlier file moved aside.
  void LeaveWorkingFolder(const std::string& journal) const {
    test::WriteBytes(destination / kWork / ".kolbrix2vantor", "kolbrix2vantor working folder\n");
    test::WriteBytes(destination / kWork / ".journal", journal);
    test::WriteBytes(destination / kWork / ".earlier" / "0", "earlier\r\n");
  }

  // The run refused the working folder's journal, and nothing changed
  // anywhere, inside the destination or outside it.
  void ExpectUntrustedAndNothingChanged(const test::Tree& before) {
    ASSERT_EQ(Convert(), RunOutcome::Refused);
    const test::ShownMessage* refusal = Shown(kUntrustedJournal);
    ASSERT_NE(refusal, nullptr);
    EXPECT_EQ(refusal->title, PathText(destination / kWork));
    const test::Tree after = test::SnapshotTree(root.path());
    EXPECT_EQ(after, before) << test::DescribeDifference(before, after);
  }

  static constexpr const char* kUntrustedJournal =
      "作業用ﾌｫﾙﾀﾞに信頼できない変換の記録があります。変換先は何も変更していません。";
  static constexpr const char* kJournalHeader = "kolbrix2vantor final-step journal 1\n";

  test::TempDir root;
  fs::path source;
  fs::path destination;
  Files earlier;
  Files sourceBefore;
  test::RecordingFrontEnd ui;
  RunResult result;
  const PathRules& rules = NativePathRules();
};

TEST_F(SafeWritesTest, WriteFailureOnAnyOutputLeavesTheEarlierConversion) {
  for (int failing : {1, 4, 9, 20}) {
    SCOPED_TRACE(failing);
    int created = 0;
    std::string failedPath;
    SetFaultHook([&](FileOperation op, const std::string& path) {
      if (op != FileOperation::Create || ++created != failing) return 0;
      failedPath = path;
      return EIO;
    });
    ASSERT_EQ(Convert(), RunOutcome::Failed);
    ExpectFailedAndNothingLost(failedPath);
    RestoreEarlier();
  }
}

TEST_F(SafeWritesTest, FullDiskWhileWritingLeavesTheEarlierConversionAndNamesTheFinalFile) {
  // N3.TXT is written in the working folder and becomes D20.TXT.
  SetFaultHook([&](FileOperation op, const std::string& path) {
    return op == FileOperation::Write && path.find("N3") != std::string::npos ? ENOSPC : 0;
  });
  ASSERT_EQ(Convert(), RunOutcome::Failed);
  ExpectFailedAndNothingLost(PathText(destination / "D20.TXT"));
}

TEST_F(SafeWritesTest, RenameFailingAtAnyFileOfTheFinalStepPutsTheEarlierConversionBack) {
  const int placements = CountPlacements();
  ASSERT_GT(placements, 3);
  for (int failing : {1, placements / 2, placements}) {
    SCOPED_TRACE(failing);
    int seen = 0;
    std::string failedPath;
    SetFaultHook([&](FileOperation op, const std::string& path) {
      if (!IsPlacement(op, path) || ++seen != failing) return 0;
      failedPath = path;
      return EIO;
    });
    ASSERT_EQ(Convert(), RunOutcome::Failed);
    ExpectFailedAndNothingLost(failedPath);
    RestoreEarlier();
  }
}

#ifndef _WIN32
// The run is killed in a forked child (a death test) while it writes its files
// (point 0), and at each rename of its final step in turn; the next run finds
// the working folder, after a kill inside the final step puts the earlier
// files back from its journal and says so. That run then fails at its first
// file, so what it leaves is exactly what the recovery made. Kills at random
// instants of a large conversion are bench/kill_test.sh's.
TEST_F(SafeWritesTest, KillWhileWritingOrAtAnyRenameOfTheFinalStepIsUndoneByTheNextRun) {
  const int placements = CountPlacements();
  for (int killed = 0; killed <= placements; ++killed) {
    SCOPED_TRACE(killed);
    EXPECT_EXIT(
        {
          int seen = 0;
          SetFaultHook([&](FileOperation op, const std::string& path) {
            if (killed == 0 ? op == FileOperation::Create : IsPlacement(op, path) && ++seen == killed) _exit(9);
            return 0;
          });
          Convert();
        },
        ::testing::ExitedWithCode(9), "");
    EXPECT_TRUE(fs::exists(destination / kWork));
    SetFaultHook([](FileOperation op, const std::string&) { return op == FileOperation::Create ? EIO : 0; });
    ASSERT_EQ(Convert(), RunOutcome::Failed);
    const test::ShownMessage* note = Shown("中断された前回の変換を取り消し、変換先をその前の状態に戻しました。");
    ASSERT_EQ(note != nullptr, killed > 0);
    if (note) {
      EXPECT_EQ(note->icon, MessageIcon::Information);
      EXPECT_EQ(note->title, PathText(destination) + test::Sep());
    }
    EXPECT_EQ(test::Snapshot(destination), earlier);
    EXPECT_FALSE(fs::exists(destination / kWork));
    RestoreEarlier();
  }
}
#endif

TEST_F(SafeWritesTest, SecondRunIntoTheSameDestinationIsRefusedAndChangesNothing) {
  // This run holds the destination; the command started in the middle of it is refused.
  std::string out, err;
  int status = -1;
  const std::vector<std::string> command = {
      K2V_CLI_PATH, "--yes", "--system-dir", PathText(root / "system"), PathText(source), PathText(destination)};
  SetFaultHook([&](FileOperation op, const std::string&) {
    if (op == FileOperation::Create && status == -1) status = test::RunCommand(command, out, err);
    return 0;
  });
  ASSERT_EQ(Convert(), RunOutcome::Finished);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(err, PathText(destination) + test::Sep() + ": 変換先ﾌｫﾙﾀﾞは別の変換で使用中です。\n");
  EXPECT_EQ(out, "");
  const Files converted = test::Snapshot(destination);

  // The other way round: a run (the window's, a batch's) started while another
  // one holds the destination is refused before it changes anything.
  std::promise<void> holding, finish;
  SetFaultHook([&, once = true](FileOperation op, const std::string&) mutable {
    if (op == FileOperation::Create && once) {
      once = false;
      holding.set_value();
      finish.get_future().wait();
    }
    return 0;
  });
  RunOutcome firstOutcome = RunOutcome::Refused;
  std::thread first([&] {
    test::RecordingFrontEnd firstUi;
    ConversionRun run(firstUi, rules, RunOptions{PathText(root / "system")});
    firstOutcome = run.Run(PathText(source), PathText(destination)).outcome;
  });
  holding.get_future().wait();
  const RunOutcome second = Convert();
  finish.set_value();
  first.join();
  EXPECT_EQ(second, RunOutcome::Refused);
  ASSERT_NE(Shown("変換先ﾌｫﾙﾀﾞは別の変換で使用中です。"), nullptr);
  EXPECT_EQ(ui.statuses.back(), "");
  EXPECT_EQ(firstOutcome, RunOutcome::Finished);
  EXPECT_EQ(test::Snapshot(destination), converted);
}

TEST_F(SafeWritesTest, DestinationHoldingAnExportIsRefusedBeforeAnythingChanges) {
  test::WriteSjis(destination / "X1.txt", "1,1.00,0,砂\r\n");
  const Files before = test::Snapshot(destination);
  ASSERT_EQ(Convert(), RunOutcome::Refused);
  const test::ShownMessage* refusal = Shown("変換先ﾌｫﾙﾀﾞに変換元のデータ (x1.txt) があります。");
  ASSERT_NE(refusal, nullptr);
  EXPECT_EQ(refusal->title, PathText(destination) + test::Sep());
  EXPECT_EQ(test::Snapshot(destination), before);
}

TEST_F(SafeWritesTest, DestinationRemovedDuringTheRunIsReportedNotFinished) {
  SetFaultHook([&](FileOperation op, const std::string&) {
    if (op == FileOperation::Create) fs::remove_all(destination);
    return 0;
  });
  ASSERT_EQ(Convert(), RunOutcome::Failed);
  EXPECT_EQ(ui.statuses.back(), "変換中にエラーが発生しました。");
  EXPECT_NE(FailureMessage().find(destination.string()), std::string::npos) << FailureMessage();
  EXPECT_EQ(test::Snapshot(source), sourceBefore);
}

TEST_F(SafeWritesTest, LinksInTheDestinationAreReplacedNeverWrittenThrough) {
#ifdef _WIN32
  GTEST_SKIP() << "symbolic links are a POSIX test here: on Windows making one needs a privilege";
#endif
  const std::string x1 = test::ReadBytes(source / "X1.TXT");
  test::WriteBytes(root / "outside.txt", "not the converter's\r\n");
  fs::remove(destination / "D10.txt");
  fs::create_symlink(source / "X1.TXT", destination / "D10.txt");
  fs::remove(destination / "CNT.TXT");
  fs::create_symlink(root / "outside.txt", destination / "CNT.TXT");
  fs::remove(destination / "G10.txt");
  fs::create_symlink(root / "nowhere.txt", destination / "G10.txt");
  // A link under another letter case of an output's name.
  fs::remove(destination / "D10B.txt");
  fs::create_symlink(root / "outside.txt", destination / "d10b.TXT");
  fs::create_symlink(source / "titl01.txt", destination / "titl02.txt");

  ASSERT_EQ(Convert(), RunOutcome::Finished) << FailureMessage();
  EXPECT_EQ(test::ReadBytes(source / "X1.TXT"), x1);
  EXPECT_EQ(test::Snapshot(source), sourceBefore);
  EXPECT_EQ(test::ReadBytes(root / "outside.txt"), "not the converter's\r\n");
  EXPECT_FALSE(fs::exists(root / "nowhere.txt"));
  for (const char* name : {"D10.txt", "CNT.TXT", "G10.txt", "d10b.TXT"}) {
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(destination / name))) << name;
  }
  EXPECT_FALSE(fs::exists(fs::symlink_status(destination / "titl02.txt")));
  EXPECT_NE(test::ReadBytes(destination / "D10.txt").find("  2,   2.40,"), std::string::npos);
}

TEST_F(SafeWritesTest, FolderInPlaceOfAnOutputIsNamedAndNothingIsPutInPlace) {
  for (const char* name : {"D10.txt", "G71.TXT", "PCNT.TXT"}) {
    SCOPED_TRACE(name);
    fs::remove(destination / name);
    fs::create_directories(destination / name / "in the way");
    const Files before = test::Snapshot(destination);
    ASSERT_EQ(Convert(), RunOutcome::Failed);
    EXPECT_NE(FailureMessage().find((destination / name).string()), std::string::npos) << FailureMessage();
    EXPECT_EQ(test::Snapshot(destination), before);
    EXPECT_FALSE(fs::exists(destination / kWork));
    fs::remove_all(destination / name);
  }
}

TEST_F(SafeWritesTest, UsersFileOrFolderUnderTheWorkingFolderNameIsNeverTouched) {
  for (const char* inside : {"", "notes.txt"}) {
    SCOPED_TRACE(inside);
    test::WriteBytes(*inside ? destination / kWork / inside : destination / kWork, "the user's\r\n");
    const Files before = test::Snapshot(destination);
    ASSERT_EQ(Convert(), RunOutcome::Refused);
    const test::ShownMessage* refusal = Shown("作業用ﾌｫﾙﾀﾞと同じ名前のﾌｧｲﾙまたはﾌｫﾙﾀﾞがあります。");
    ASSERT_NE(refusal, nullptr);
    EXPECT_EQ(refusal->title, PathText(destination / kWork));
    EXPECT_EQ(test::Snapshot(destination), before);
    fs::remove_all(destination / kWork);
  }
}

TEST_F(SafeWritesTest, JournalNamingAnythingButTheDestinationsOwnFilesIsRefusedAndChangesNothing) {
  test::WriteBytes(root / "keep.txt", "the user's\r\n");
  test::WriteBytes(root / "GB" / "gone.txt", "the user's too\r\n");
  for (const char* entries : {"P\t../../../keep.txt\t../../../keep.txt\tD10.txt\n", "R\t../../gone.txt\n",
                              "P\tD10.txt\tD10.txt\t../../../keep.txt\n", "P\t.kolbrix2vantor-lock\t\tD10.txt\n",
                              "P\tD10.txt\tG10.txt\tD10.txt\n"}) {
    SCOPED_TRACE(entries);
    LeaveWorkingFolder(kJournalHeader + std::string(entries) + "end\n");
    ExpectUntrustedAndNothingChanged(test::SnapshotTree(root.path()));
    fs::remove_all(destination / kWork);
  }
}

TEST_F(SafeWritesTest, LinkAtTheEarlierFilesOrTheJournalIsNeverFollowed) {
#ifdef _WIN32
  GTEST_SKIP() << "symbolic links are a POSIX test here: on Windows making one needs a privilege";
#endif
  const std::string journal = kJournalHeader + std::string("P\tD10.txt\tD10.txt\tD10.txt\nend\n");
  test::WriteBytes(root / "elsewhere" / "0", "not the converter's\r\n");
  test::WriteBytes(root / "journal", journal);
  for (const char* linked : {".earlier", ".journal"}) {
    SCOPED_TRACE(linked);
    LeaveWorkingFolder(journal);
    fs::remove_all(destination / kWork / linked);
    fs::create_symlink(root / (linked == std::string(".earlier") ? "elsewhere" : "journal"),
                       destination / kWork / linked);
    ExpectUntrustedAndNothingChanged(test::SnapshotTree(root.path()));
    fs::remove_all(destination / kWork);
  }
}

TEST_F(SafeWritesTest, DamagedJournalWithEarlierFilesWaitingKeepsEverything) {
  LeaveWorkingFolder(kJournalHeader + std::string("P\tD10.txt\tD10.txt\tD10.txt\n"));
  ExpectUntrustedAndNothingChanged(test::SnapshotTree(root.path()));
}

TEST_F(SafeWritesTest, JournalThatCannotBeDeletedOnceEveryFileIsInPlaceLeavesTheNewConversionWhole) {
  SetFaultHook([](FileOperation op, const std::string& path) {
    return op == FileOperation::Delete && fs::path(path).filename().string().rfind(".journal", 0) == 0 ? EIO : 0;
  });
  ASSERT_EQ(Convert(), RunOutcome::Finished) << FailureMessage();
  EXPECT_EQ(ui.statuses.back(), "変換が正常に終了しました。");
  ASSERT_FALSE(result.warnings.empty());
  EXPECT_EQ(result.warnings.back().rfind(
                "変換は終了しましたが、作業用ﾌｫﾙﾀﾞを削除できませんでした。次の変換で削除します。\n", 0),
            0u)
      << result.warnings.back();
  const test::Tree converted = test::SnapshotTree(destination, kWork);
  EXPECT_NE(test::Snapshot(destination), earlier);
  // The next run finishes the clean-up and undoes nothing; it then fails at
  // its first file, so what it leaves is what the recovery made.
  SetFaultHook([](FileOperation op, const std::string&) { return op == FileOperation::Create ? EIO : 0; });
  ASSERT_EQ(Convert(), RunOutcome::Failed);
  EXPECT_EQ(Shown("中断された前回の変換を取り消し、変換先をその前の状態に戻しました。"), nullptr);
  EXPECT_EQ(test::SnapshotTree(destination), converted);
}

TEST_F(SafeWritesTest, FailureAtTheCommitPointPutsTheEarlierConversionBack) {
  std::string failedPath;
  SetFaultHook([&](FileOperation op, const std::string& path) {
    if (op != FileOperation::Rename || fs::path(path).filename() != ".journal-committed") return 0;
    failedPath = path;
    return EIO;
  });
  ASSERT_EQ(Convert(), RunOutcome::Failed);
  ExpectFailedAndNothingLost(failedPath);
}

TEST_F(SafeWritesTest, UndoThatFailsTooSaysSoAndTheNextRunPutsTheRestBack) {
  // The third placement fails, and so does every move after it.
  int placements = 0;
  SetFaultHook([&](FileOperation op, const std::string& path) {
    if (IsPlacement(op, path)) ++placements;
    return op == FileOperation::Rename && placements >= 3 ? EIO : 0;
  });
  ASSERT_EQ(Convert(), RunOutcome::Failed);
  const std::string message = FailureMessage();
  const std::string notRestored = "\n変換先をその前の状態に戻せませんでした。次にこの変換先へ変換するときに戻します。";
  ASSERT_GE(message.size(), notRestored.size());
  EXPECT_EQ(message.substr(message.size() - notRestored.size()), notRestored) << message;
  SetFaultHook([](FileOperation op, const std::string&) { return op == FileOperation::Create ? EIO : 0; });
  ASSERT_EQ(Convert(), RunOutcome::Failed);
  EXPECT_NE(Shown("中断された前回の変換を取り消し、変換先をその前の状態に戻しました。"), nullptr);
  EXPECT_EQ(test::Snapshot(destination), earlier);
}

TEST_F(SafeWritesTest, ListingFailingAtTheCommitIsAFailureNeverASuccess) {
  // The working folder holds its final names only once the stages are done.
  const fs::path work = destination / kWork;
  SetFaultHook([&, once = true](FileOperation op, const std::string& path) mutable {
    if (op != FileOperation::List || path != PathText(work) || !fs::exists(work / "D20.TXT") || !once) return 0;
    once = false;
    return EIO;
  });
  ASSERT_EQ(Convert(), RunOutcome::Failed);
  ExpectFailedAndNothingLost(PathText(work));
}

TEST_F(SafeWritesTest, SourceFolderThatCannotBeReadIsToldNotTakenForNoData) {
  SetFaultHook([&](FileOperation op, const std::string& path) {
    return op == FileOperation::List && WithoutFinalSeparator(path) == PathText(source) ? EACCES : 0;
  });
  ASSERT_EQ(Convert(), RunOutcome::Failed);
  EXPECT_EQ(FailureMessage(),
            "変換元ﾌｫﾙﾀﾞを読み込めません。\n" + PathText(source) + test::Sep() + "\n" + SystemReason(EACCES));
  EXPECT_EQ(Shown("データがありません。"), nullptr);
  EXPECT_EQ(test::Snapshot(destination), earlier);
}

#ifndef _WIN32
// A rollback killed after it removed a new file from the working folder,
// but before its journal was gone, made the next undo take the earlier file
// of that name (one sorting before ".journal") for the new one.
TEST_F(SafeWritesTest, RollbackKilledBeforeItsJournalIsGoneKeepsEveryEarlierFile) {
  test::WriteBytes(source / "PCNT.TXT", "1,#P\r\n");
  test::WriteBytes(source / "#P.DAT", "earlier\r\n");
  ASSERT_EQ(Convert(), RunOutcome::Finished);
  const test::Tree before = test::SnapshotTree(destination);
  test::WriteBytes(source / "#P.DAT", "new\r\n");
  // Killed while putting PCNT.TXT in place, after #P.DAT; then the next run
  // is killed as it removes the journal, once every earlier file is back.
  for (const char* killedAt : {"PCNT.TXT", ".journal"}) {
    EXPECT_EXIT(
        {
          SetFaultHook([&](FileOperation op, const std::string& path) {
            if (fs::path(path).filename() != killedAt) return 0;
            if (op == (killedAt == std::string(".journal") ? FileOperation::Delete : FileOperation::Rename)) _exit(9);
            return 0;
          });
          Convert();
        },
        ::testing::ExitedWithCode(9), "");
  }
  SetFaultHook([](FileOperation op, const std::string&) { return op == FileOperation::Create ? EIO : 0; });
  ASSERT_EQ(Convert(), RunOutcome::Failed);
  const test::Tree after = test::SnapshotTree(destination);
  EXPECT_EQ(after, before) << test::DescribeDifference(before, after);
}
#endif

// The command, with a file-size limit.
class SafeWritesCommandTest : public SafeWritesTest {
 protected:
  std::vector<std::string> Args() const {
    return {K2V_CLI_PATH, "--yes", "--system-dir", (root / "system").string(), source.string(), destination.string()};
  }
  void MakeLarge(int times) {
    for (const char* name : {"X1.TXT", "X6.TXT", "X7.TXT", "X12.TXT", "R72.TXT", "X3.TXT", "X4.TXT"}) {
      test::WriteBytes(source / name, Repeated(kData / "stages_full" / "source" / name, times));
    }
  }
};

TEST_F(SafeWritesCommandTest, OverSizeFileEndsWithItsMessageNotASignal) {
#ifdef _WIN32
  GTEST_SKIP() << "needs ulimit -f and the file-size signal, which Windows does not have";
#else
  MakeLarge(200);
  sourceBefore = test::Snapshot(source);
  std::string out, err;
  std::vector<std::string> args = {"/bin/sh", "-c", "export LC_ALL=C; ulimit -f 16 && exec \"$0\" \"$@\""};
  for (const std::string& a : Args()) args.push_back(a);
  EXPECT_EQ(test::RunCommand(args, out, err), 3) << out << err;
  EXPECT_NE(err.find("ファイルの処理に失敗しました。"), std::string::npos) << err;
  EXPECT_NE(err.find(strerror(EFBIG)), std::string::npos) << err;
  EXPECT_EQ(test::Snapshot(destination), earlier);
  EXPECT_EQ(test::Snapshot(source), sourceBefore);
#endif
}

}  // namespace
}  // namespace k2v
