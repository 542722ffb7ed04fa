// Mutated data files, seeded and bounded: the reader takes them or reports a
// read error, never crashes or hangs, and a reported error changes nothing.

#include <gtest/gtest.h>

#include <chrono>
#include <random>

#include "DataFileSupport.h"
#include "files/DataFileReader.h"
#include "files/DataFileText.h"

namespace {

std::string Mutate(std::string bytes, std::mt19937& random)
{
    static const std::string pieces[] = {";", "\n", "\r\n", "State:", "Statistic:", "Cycle Times:", "yes",
                                         "-1e309", "49", "50", "86", "\t", "'", std::string(1, '\0'),
                                         "\xC3", "\xFC", "\xEF\xBB\xBF", "Location", "Description"};
    const int edits = 1 + int(random() % 8);
    for (int e = 0; e < edits; ++e) {
        const std::size_t at = bytes.empty() ? 0 : random() % (bytes.size() + 1);
        switch (random() % 6) {
        case 0:  // flip a byte
            if (at < bytes.size())
                bytes[at] = char(random());
            break;
        case 1:  // delete a run
            bytes.erase(at, random() % 40);
            break;
        case 2:  // insert a piece of the format
            bytes.insert(at, pieces[random() % std::size(pieces)]);
            break;
        case 3: {  // duplicate a run somewhere else
            const std::string run = bytes.substr(at, random() % 200);
            bytes.insert(bytes.empty() ? 0 : random() % (bytes.size() + 1), run);
            break;
        }
        case 4:  // random bytes
            for (int k = int(random() % 16); k > 0; --k)
                bytes.insert(bytes.begin() + std::ptrdiff_t(std::min(at, bytes.size())), char(random()));
            break;
        case 5:  // cut the file short
            bytes.resize(at);
            break;
        }
    }
    return bytes;
}

}  // namespace

TEST(DataFileFuzz, ReaderTakesOrRejectsMutatedFiles)
{
    const std::string valid = ReadBytes(FixturePath("known.csv"));
    std::mt19937 random(20240611);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    int rejected = 0, runs = 0;
    for (; runs < 5000 && std::chrono::steady_clock::now() < deadline; ++runs) {
        const std::string bytes = Mutate(valid, random);
        TDataFileReader reader;
        try {
            reader.Read(DecodeDataFileText(QByteArray::fromStdString(bytes)));
        } catch (const EDataFileRead&) {
            ++rejected;
        }
    }
    RecordProperty("runs", runs);
    EXPECT_GT(runs, 100);
    // The mutations reach the error paths, and most files still read.
    EXPECT_GT(rejected, 0);
    EXPECT_LT(rejected, runs);
}

using DataFileFuzzLoad = DataFileTest;

TEST_F(DataFileFuzzLoad, LoadingMutatedFilesIsAllOrNothing)
{
    const std::string valid = ReadBytes(FixturePath("known.csv"));
    std::mt19937 random(77);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    for (int run = 0; run < 300 && std::chrono::steady_clock::now() < deadline; ++run) {
        const std::string bytes = Mutate(valid, random);
        const TWindowState before = CaptureWindows();
        script_->Messages.clear();
        LoadBytes(bytes);
        if (script_->Messages.empty())
            continue;
        ASSERT_EQ(script_->Messages, std::vector<QString>{QStringLiteral("Error while reading this file!")})
            << "run " << run;
        ASSERT_EQ(CaptureWindows(), before) << "run " << run;
    }
}
