#include <gtest/gtest.h>

#include "test_support.h"

namespace tw::test {
namespace {
TEST(Smoke, Starts) {
  Running t;
  EXPECT_EQ(t.Entries(), std::string(12000, ' '));
}
}  // namespace
}  // namespace tw::test
