#include "settings/value_damage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/logged_events.h"

namespace {

TEST(ValueDamage, ADamagedValueIsNamedWithItsTypeAndSizeAndAWholeOneIsNot) {
  struct Case {
    uint32_t type;
    size_t size;
    const char* logged;  // after the value's name; null: no line
  } cases[] = {
      {BINARY_VALUE_TYPE, 56, nullptr},
      {BINARY_VALUE_TYPE, 3, "REG_BINARY of 3 bytes, 56 expected; what is missing is replaced"},
      {BINARY_VALUE_TYPE, 60, "REG_BINARY of 60 bytes, 56 expected; the first 56 are used"},
      {1, 24, "REG_SZ of 24 bytes, not REG_BINARY; replaced by defaults"},
      {40, 2, "type 40 of 2 bytes, not REG_BINARY; replaced by defaults"},
  };
  TakeLoggedEvents();
  for (const Case& c : cases) {
    EXPECT_EQ(ReportValueDamage("System Control", c.type, c.size, 56), c.logged != nullptr);
    std::vector<std::string> events = TakeLoggedEvents();
    ASSERT_EQ(events.size(), c.logged ? 1u : 0u) << c.type << " " << c.size;
    std::string expected =
        std::string("Setting \"System Control\" is damaged: ") + (c.logged ? c.logged : "");
    if (c.logged) {
      EXPECT_EQ(events[0].substr(0, expected.size()), expected);
    }
  }
}

}  // namespace
