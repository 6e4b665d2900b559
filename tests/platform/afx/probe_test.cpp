#include <gtest/gtest.h>
int afx_probe();
TEST(Probe, Works) { EXPECT_EQ(afx_probe(), 42); }
