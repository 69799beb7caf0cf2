#include "exec/multi_exec_control.h"
#include "exec/exceptions.h"

#include <gtest/gtest.h>

#include <vector>

namespace kestrova {
namespace {

class RecordingControl : public IExecControl {
public:
    bool ShouldBreak() override { return breaking; }
    void ReportProgress(const ExecProgress& p) override { reports.push_back(p); }
    bool breaking = false;
    std::vector<ExecProgress> reports;
};

TEST(MultiExecControlTest, PhaseOneOfTwoMapsIntoTheUpperHalf) {
    RecordingControl inner;
    MultiExecControl multi(inner, 2);
    multi.ReportProgress({3, 5, 10});
    multi.SetIndex(1);
    multi.ReportProgress({3, 5, 10});
    ASSERT_EQ(inner.reports.size(), 2u);
    EXPECT_EQ(inner.reports[0].stage, 3);
    EXPECT_EQ(inner.reports[0].current, 5);
    EXPECT_EQ(inner.reports[0].total, 20);
    EXPECT_EQ(inner.reports[1].stage, 3);
    EXPECT_EQ(inner.reports[1].current, 15);
    EXPECT_EQ(inner.reports[1].total, 20);
}

TEST(MultiExecControlTest, ShouldBreakFollowsInner) {
    RecordingControl inner;
    MultiExecControl multi(inner, 3);
    EXPECT_FALSE(multi.ShouldBreak());
    inner.breaking = true;
    EXPECT_TRUE(multi.ShouldBreak());
}

TEST(ExceptionsTest, FixedMessages) {
    EXPECT_STREQ(shutdown_exception().what(), "shutdown");
    EXPECT_STREQ(BreakExec().what(), "break");
    EXPECT_STREQ(SyncBreak().what(), "sync break");
}

}  // namespace
}  // namespace kestrova
