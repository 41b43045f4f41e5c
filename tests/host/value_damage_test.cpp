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
    const char* logged;  // null: no line
  } cases[] = {
      {BINARY_VALUE_TYPE, 56, nullptr},
      {BINARY_VALUE_TYPE, 3,
       "Setting \"System Control\" is damaged: REG_BINARY of 3 bytes, 56 expected; what is "
       "missing is replaced by defaults"},
      {BINARY_VALUE_TYPE, 0,
       "Setting \"System Control\" is damaged: REG_BINARY of 0 bytes, 56 expected; what is "
       "missing is replaced by defaults"},
      {BINARY_VALUE_TYPE, 60,
       "Setting \"System Control\" is damaged: REG_BINARY of 60 bytes, 56 expected; the first "
       "56 are used"},
      {1, 24,
       "Setting \"System Control\" is damaged: REG_SZ of 24 bytes, not REG_BINARY; replaced by "
       "defaults"},
      {4, 4,
       "Setting \"System Control\" is damaged: REG_DWORD of 4 bytes, not REG_BINARY; replaced by "
       "defaults"},
      {40, 2,
       "Setting \"System Control\" is damaged: type 40 of 2 bytes, not REG_BINARY; replaced by "
       "defaults"},
  };
  TakeLoggedEvents();
  for (const Case& c : cases) {
    EXPECT_EQ(ReportValueDamage("System Control", c.type, c.size, 56), c.logged != nullptr);
    std::vector<std::string> expected;
    if (c.logged) expected.push_back(c.logged);
    EXPECT_EQ(TakeLoggedEvents(), expected) << c.type << " " << c.size;
  }
}

}  // namespace
