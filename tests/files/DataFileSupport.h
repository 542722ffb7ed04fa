#pragma once
// Shared pieces of the data file tests: a fixture with the six windows and a
// private directory, the known state that the expected files describe, and a
// snapshot of every control that loading may write.

#include <gtest/gtest.h>

#include <QLocale>
#include <QString>
#include <map>
#include <string>
#include <vector>

#include "support/AppFixture.h"

// Everything a load may change, as plain values (readable in failure output).
struct TWindowState {
    std::map<std::string, std::string> Texts;       // edit box name -> text
    std::map<std::string, std::uint32_t> Colors;    // edit box name -> background
    std::map<std::string, std::uint32_t> Lamps;     // lamp name -> brush colour
    std::map<std::string, std::vector<double>> Angles;  // series title -> Y values
    std::vector<std::vector<std::string>> AngleTable;   // ListView1 rows: caption, 4 cells
    std::vector<std::vector<std::string>> SlotTable;    // ListView2 rows: caption, count
    std::string CurrentAngle, Location, Description;

    bool operator==(const TWindowState&) const = default;
};

TWindowState CaptureWindows();
void PrintTo(const TWindowState& state, std::ostream* os);

// The state that fixtures/known.csv was written from (see make_fixtures.py).
void SetKnownState();

std::string FixturePath(const std::string& name);
std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
// Lines without their CR LF; fails the test if a line lacks CR LF.
std::vector<std::string> CrLfLines(const std::string& bytes);
// Line 8 has the shape "Date/Time:;<today's short date>/<h:mm:ss...>;".
::testing::AssertionResult IsDateTimeLine(const std::string& line);
// Compares two data files line by line, line 8 by shape only.
void ExpectSameDataFile(const std::string& expected, const std::string& actual);

class DataFileTest : public AppFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    // Saves through File > Save File into `path`.
    void Save(const std::string& path);
    // Loads through File > Load File from `path`.
    void Load(const std::string& path);
    // Loads the bytes through a file in the private directory.
    void LoadBytes(const std::string& bytes);

    std::string Dir() const { return dir_; }
    std::string dir_;

private:
    QLocale previousLocale_;
};
