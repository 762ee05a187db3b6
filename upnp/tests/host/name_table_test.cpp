#include "upnp/core/name_table.h"

#include <gtest/gtest.h>

#include <array>

namespace upnp {
namespace {

NameTable ServiceNames() {
  NameTable table;
  table.Add(u"varNull", 1);
  table.Add(u"SetNull", 2);
  return table;
}

TEST(NameTable, ExactNamesGiveTheirDispids) {
  const NameTable table = ServiceNames();
  ASSERT_NE(table.Find(u"varNull"), nullptr);
  EXPECT_EQ(*table.Find(u"varNull"), 1);
  ASSERT_NE(table.Find(u"SetNull"), nullptr);
  EXPECT_EQ(*table.Find(u"SetNull"), 2);
}

TEST(NameTable, OtherCaseLengthOrPrefixIsNotFound) {
  const NameTable table = ServiceNames();
  for (std::u16string_view name : {u"varnull", u"SETNULL", u"varNul", u"varNullx", u"", u"Set"}) {
    EXPECT_EQ(table.Find(name), nullptr) << std::string(name.begin(), name.end());
  }
}

TEST(NameTable, LaterEntryWinsForARepeatedName) {
  NameTable table = ServiceNames();
  table.Add(u"varNull", 7);
  EXPECT_EQ(*table.Find(u"varNull"), 7);
}

TEST(NameTable, LookUpIsAllOrNothing) {
  const NameTable table = ServiceNames();
  const std::array<std::u16string_view, 2> both = {u"SetNull", u"varNull"};
  std::array<int32_t, 2> ids = {0, 0};
  EXPECT_TRUE(table.LookUp(both, ids));
  EXPECT_EQ(ids, (std::array<int32_t, 2>{2, 1}));

  const std::array<std::u16string_view, 2> with_argument = {u"SetNull", u"iNull"};
  EXPECT_FALSE(table.LookUp(with_argument, ids));
}

}  // namespace
}  // namespace upnp
