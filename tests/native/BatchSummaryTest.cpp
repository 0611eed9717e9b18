#include <gtest/gtest.h>

#include "app/BatchSummary.h"

namespace {

std::vector<engine::FailedFile> Failed(int count, const std::string& reason) {
    std::vector<engine::FailedFile> files;
    for (int i = 1; i <= count; ++i) files.push_back({"f" + std::to_string(i) + ".avi", reason});
    return files;
}

std::string Names(int from, int to) {
    std::string names;
    for (int i = from; i <= to; ++i) names += "f" + std::to_string(i) + ".avi, ";
    return names;
}

}  // namespace

TEST(BatchSummary, TwentyOrFewerFailedFilesAreAllNamed) {
    for (int count : {1, 2, 20}) {
        for (const char* reason : {"", "gone"}) {
            const auto files = Failed(count, reason);
            EXPECT_EQ(summary::BatchSummary(files, "file conversion failed."),
                      engine::FailureSummary(files, "file conversion failed."));
        }
    }
    EXPECT_EQ(summary::BatchSummary(Failed(20, ""), "file conversion failed."),
              Names(1, 20) + "file conversion failed.");
    EXPECT_EQ(summary::BatchSummary({}, "file conversion failed."), "");
}

TEST(BatchSummary, MoreThanTwentyNameTheFirstTwentyAndCountTheRest) {
    EXPECT_EQ(summary::BatchSummary(Failed(21, ""), "file conversion failed."),
              Names(1, 20) + "and 1 more, file conversion failed.");
    EXPECT_EQ(summary::BatchSummary(Failed(3000, ""), "file conversion failed."),
              Names(1, 20) + "and 2980 more, file conversion failed.");
    // The reason lines are the engine's, unchanged.
    const auto files = Failed(25, "the encoder stopped with code 1");
    const std::string full = engine::FailureSummary(files, "file conversion failed.");
    EXPECT_EQ(summary::BatchSummary(files, "file conversion failed."),
              Names(1, 20) + "and 5 more, file conversion failed." + full.substr(full.find("\r\n")));
    EXPECT_NE(full.find("\r\nand 15 more"), std::string::npos);
}
