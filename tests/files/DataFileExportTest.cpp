// Saving the data file: the exact bytes, the dialogs around it, and that a
// failed save reports itself and never harms the file it would replace.

#include <gtest/gtest.h>

#include <QDate>
#include <QLocale>

#include <clocale>
#include <csignal>
#include <functional>
#include <dirent.h>
#include <set>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "DataFileSupport.h"
#include "support/CommaLocaleGuard.h"
#include "app/TForm1.h"
#include "data/TForm2.h"
#include "data/TForm3.h"
#include "files/TForm5.h"

namespace {

std::set<std::string> Entries(const std::string& dir)
{
    std::set<std::string> names;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d))
            names.insert(e->d_name);
        closedir(d);
    }
    return names;
}

mode_t ModeOf(const std::string& path)
{
    struct stat st {};
    EXPECT_EQ(stat(path.c_str(), &st), 0) << path;
    return st.st_mode & 07777;
}

}  // namespace

using DataFileExport = DataFileTest;

TEST_F(DataFileExport, KnownStateGivesTheExpectedFile)
{
    SetKnownState();
    Save(Dir() + "/known.csv");
    EXPECT_TRUE(script_->Messages.empty());
    ExpectSameDataFile(ReadBytes(FixturePath("known.csv")), ReadBytes(Dir() + "/known.csv"));
    // The edit boxes themselves keep their decimal commas.
    EXPECT_EQ(Form2->edtLockAngle->Text(), "11,4");
    EXPECT_EQ(Form1->CurrentAngle, "-12,5");
}

TEST_F(DataFileExport, InitialStateGivesTheExpectedFile)
{
    Save(Dir() + "/initial.csv");
    EXPECT_TRUE(script_->Messages.empty());
    ExpectSameDataFile(ReadBytes(FixturePath("initial.csv")), ReadBytes(Dir() + "/initial.csv"));
}

TEST_F(DataFileExport, CommaLocaleWritesTheSameFile)
{
    const CommaLocaleGuard german;
    ASSERT_EQ(QLocale().decimalPoint(), ",");
    SetKnownState();
    Save(Dir() + "/known.csv");
    const std::string written = ReadBytes(Dir() + "/known.csv");

    // Only line 8 may differ; it follows the German short date.
    ExpectSameDataFile(ReadBytes(FixturePath("known.csv")), written);
    const std::string dateLine = CrLfLines(written).at(7);
    EXPECT_TRUE(dateLine.starts_with("Date/Time:;" + QLocale().toString(QDate::currentDate(), QLocale::ShortFormat).toStdString() + "/")) << dateLine;
}

TEST_F(DataFileExport, ShowsProjectInformationThenTheSaveDialog)
{
    std::size_t saveDialogsWhenShown = 99;
    script_->OnShowModal = [&](QDialog&) {
        saveDialogsWhenShown = script_->SaveDialogs.size();
        Form5->SetLocation(QStringLiteral("typed in the dialog"));
    };
    Form1->acDateiSpeichernExecute();  // no answer: cancelled

    ASSERT_EQ(script_->ModalDialogs, std::vector<QString>{QStringLiteral("Form5")});
    EXPECT_EQ(saveDialogsWhenShown, 0u) << "the project information comes first";
    ASSERT_EQ(script_->SaveDialogs.size(), 1u);
    EXPECT_EQ(script_->SaveDialogs[0].Title, "Save settings to file...");
    EXPECT_EQ(script_->SaveDialogs[0].Filter, "CSV-Files |*.csv");
    EXPECT_EQ(script_->SaveDialogs[0].DefaultExt, "csv");
    // Cancelled: nothing written, nothing said, the typed text stays.
    EXPECT_TRUE(script_->Messages.empty());
    EXPECT_EQ(Entries(Dir()), (std::set<std::string>{".", ".."}));
    EXPECT_EQ(Form5->Location(), "typed in the dialog");
}

TEST_F(DataFileExport, TextsAreWindows1252AndLineBreaksStayInTheirLine)
{
    Form5->SetLocation(QStringLiteral("caf\u00e9 \u2192 \U0001F600 end"));
    Form5->SetDescription(QStringLiteral("one\r\ntwo\r\n"));
    // A line break inside a box would otherwise split its file line.
    Form2->edtFirmwareRev->SetText(QStringLiteral("V1\r\n2"));
    Form2->edtState->SetText(QStringLiteral("a\nb"));
    Form2->shpErrSC->SetBrushColor(clWhite);

    Save(Dir() + "/texts.csv");
    const auto lines = CrLfLines(ReadBytes(Dir() + "/texts.csv"));
    ASSERT_EQ(lines.size(), 197u);
    EXPECT_EQ(lines[1], "caf\xE9 ? ? end") << "é is 0xE9; an arrow and an emoji are one \"?\" each";
    EXPECT_EQ(lines[3], "one \ttwo \t") << "a closing line break ends in a blank and a tab";
    EXPECT_EQ(lines[8], "Firmware Revision:;'V1  2;");
    EXPECT_EQ(lines[10], "Current State:;a b;");
    EXPECT_EQ(lines[28], "Short Circuit at Output:;yes;");
}

TEST_F(DataFileExport, ReplacesAnExistingFileKeepingItsPermissions)
{
    const std::string path = Dir() + "/old.csv";
    WriteBytes(path, "old content, longer than nothing\n");
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);

    Save(path);
    EXPECT_TRUE(script_->Messages.empty());
    EXPECT_EQ(CrLfLines(ReadBytes(path)).size(), 197u);
    EXPECT_EQ(ModeOf(path), 0640u);
    EXPECT_EQ(Entries(Dir()), (std::set<std::string>{".", "..", "old.csv"})) << "no temporary file stays";
}

TEST_F(DataFileExport, NewFileGetsTheUsualPermissions)
{
    const mode_t mask = umask(022);
    Save(Dir() + "/new.csv");
    umask(mask);
    EXPECT_TRUE(script_->Messages.empty());
    EXPECT_EQ(ModeOf(Dir() + "/new.csv"), 0644u);
}

TEST_F(DataFileExport, FollowsASymbolicLinkToItsFile)
{
    const std::string real = temp_.Make("elsewhere") + "/real.csv";
    WriteBytes(real, "old\n");
    const std::string link = Dir() + "/link.csv";
    ASSERT_EQ(symlink(real.c_str(), link.c_str()), 0);

    Save(link);
    EXPECT_TRUE(script_->Messages.empty());
    struct stat st {};
    ASSERT_EQ(lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode)) << "the link stays a link";
    EXPECT_EQ(CrLfLines(ReadBytes(real)).size(), 197u);
}

// Each case makes the save impossible in its own way; the old file, where
// there is one, must come through byte for byte, with no leftovers beside it.
struct TUnwritable {
    const char* Name;
    // Returns the path to save to; may prepare an old file at `oldFile`.
    std::function<std::string(const std::string& dir, std::string& oldFile)> Prepare;
    // Runs while the project information is shown, after the path was chosen.
    std::function<void(const std::string& dir)> DuringDialog;
};

void PrintTo(const TUnwritable& c, std::ostream* os) { *os << c.Name; }

class DataFileExportFailure : public DataFileTest, public ::testing::WithParamInterface<TUnwritable> {};

TEST_P(DataFileExportFailure, ReportsAndLeavesTheOldFile)
{
    const TUnwritable& c = GetParam();
    std::string oldFile;
    const std::string path = c.Prepare(Dir(), oldFile);
    const std::string oldBytes = oldFile.empty() ? "" : ReadBytes(oldFile);
    const std::string watched = oldFile.empty() ? "" : oldFile.substr(0, oldFile.rfind('/'));
    const auto entriesBefore = watched.empty() ? std::set<std::string>{} : Entries(watched);
    if (c.DuringDialog)
        script_->OnShowModal = [&](QDialog&) { c.DuringDialog(Dir()); };

    Save(path);

    EXPECT_EQ(script_->Messages, std::vector<QString>{QStringLiteral("Cannot write this file!")});
    if (!oldFile.empty()) {
        EXPECT_EQ(ReadBytes(oldFile), oldBytes);
        EXPECT_EQ(Entries(watched), entriesBefore);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DataFileExportFailure,
    ::testing::Values(
        TUnwritable{"ReadOnlyFile",
                    [](const std::string& dir, std::string& old) {
                        old = dir + "/locked.csv";
                        WriteBytes(old, "keep me\r\n");
                        chmod(old.c_str(), 0444);
                        return old;
                    },
                    nullptr},
        TUnwritable{"ParentIsARegularFile",
                    [](const std::string& dir, std::string& old) {
                        old = dir + "/plain";
                        WriteBytes(old, "a file, not a folder\n");
                        return old + "/data.csv";
                    },
                    nullptr},
        TUnwritable{"DirectoryVanished",
                    [](const std::string& dir, std::string&) {
                        mkdir((dir + "/gone").c_str(), 0700);
                        return dir + "/gone/data.csv";
                    },
                    [](const std::string& dir) { rmdir((dir + "/gone").c_str()); }},
        TUnwritable{"TargetIsADirectory",
                    [](const std::string& dir, std::string& old) {
                        mkdir((dir + "/folder.csv").c_str(), 0700);
                        old = dir + "/beside.csv";
                        WriteBytes(old, "beside\n");
                        return dir + "/folder.csv";
                    },
                    nullptr}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(DataFileExport, ReadOnlyDirectoryIsReported)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes into any directory whatever its permission bits";
    const std::string locked = temp_.Make("locked");
    const std::string old = locked + "/data.csv";
    WriteBytes(old, "keep me\r\n");
    ASSERT_EQ(chmod(locked.c_str(), 0555), 0);

    Save(old);
    chmod(locked.c_str(), 0700);
    EXPECT_EQ(script_->Messages, std::vector<QString>{QStringLiteral("Cannot write this file!")});
    EXPECT_EQ(ReadBytes(old), "keep me\r\n");
    EXPECT_EQ(Entries(locked), (std::set<std::string>{".", "..", "data.csv"}));
}

TEST_F(DataFileExport, FullDiskKeepsTheOldFile)
{
    // A file size limit makes writes fail as a full disk does.
    const std::string old = Dir() + "/data.csv";
    const std::string oldBytes(8000, 'x');
    WriteBytes(old, oldBytes);

    rlimit previous{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = previous;
    small.rlim_cur = 1000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    Save(old);
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(script_->Messages, std::vector<QString>{QStringLiteral("Cannot write this file!")});
    EXPECT_EQ(ReadBytes(old), oldBytes);
    EXPECT_EQ(Entries(Dir()), (std::set<std::string>{".", "..", "data.csv"}));
}
