#pragma once
// Checks every structural invariant of a chart document: dense positions,
// one root at item 0, levels, parents and chains forming one tree, branch
// counts by kind and the page-break counter.
#include "chart/fc_list.h"
#include <gtest/gtest.h>

::testing::AssertionResult ChartInvariantsHold(const tvx::TFCList& Chart);

#define EXPECT_CHART_VALID(chart) EXPECT_TRUE(ChartInvariantsHold(chart))
#define ASSERT_CHART_VALID(chart) ASSERT_TRUE(ChartInvariantsHold(chart))
