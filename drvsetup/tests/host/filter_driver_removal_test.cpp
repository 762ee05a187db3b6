// Filter driver removal on the simulated registry and file tree.
#include "drvsetup/core/filter_driver_removal.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/registry_values.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_registry.h"

namespace drvsetup {
namespace {

using platform::RootKey;
using platform::sim::RegistryOperation;
using ::testing::ElementsAre;

constexpr std::string_view kDriverFile = "C:\\Windows\\system32\\drivers\\ZynKmdFltr.sys";
const std::string kService(kFilterServiceKey);

class FilterDriverRemoval : public ::testing::Test {
 protected:
  void SetUp() override {
    registry.PutDword(RootKey::kLocalMachine, kService, "Start", 3);
    registry.PutString(RootKey::kLocalMachine, kService + "\\Parameters\\Deep\\Deeper", "x", "y");
    registry.AddKey(RootKey::kLocalMachine, kService + "\\Enum");
    files.AddFile(kDriverFile, "driver", platform::kFileAttributeReadOnly);
  }

  void SetFilters(const std::vector<std::string>& filters) {
    registry.PutMultiString(RootKey::kLocalMachine, kDisplayClassKey, "LowerFilters", filters);
  }

  std::optional<std::vector<std::string>> Filters() const {
    const auto value = registry.GetValue(RootKey::kLocalMachine, kDisplayClassKey, "LowerFilters");
    if (!value) return std::nullopt;
    return platform::DecodeMultiString(value->data.data(), value->data.size());
  }

  bool ServiceKeyExists() const { return registry.HasKey(RootKey::kLocalMachine, kService); }

  platform::sim::SimRegistry registry;
  platform::sim::SimFiles files;
};

TEST_F(FilterDriverRemoval, TakesOnlyItsOwnEntryOutOfTheFilters) {
  SetFilters({"Other", "zynkmdfltr", "More"});
  RemoveFilterDriver(registry, files);
  EXPECT_FALSE(ServiceKeyExists());
  EXPECT_TRUE(registry.HasKey(RootKey::kLocalMachine, "SYSTEM\\CurrentControlSet\\Services"));
  EXPECT_THAT(Filters(), ::testing::Optional(ElementsAre("Other", "More")));
  EXPECT_FALSE(files.Exists(kDriverFile));
}

TEST_F(FilterDriverRemoval, DeletesTheValueWhenNothingIsLeft) {
  SetFilters({"ZynKmdFltr"});
  RemoveFilterDriver(registry, files);
  EXPECT_FALSE(Filters());
  EXPECT_FALSE(files.Exists(kDriverFile));
}

TEST_F(FilterDriverRemoval, MissingValueOrEntryStillDeletesTheFile) {
  registry.AddKey(RootKey::kLocalMachine, kDisplayClassKey);
  RemoveFilterDriver(registry, files);
  EXPECT_FALSE(ServiceKeyExists());
  EXPECT_FALSE(files.Exists(kDriverFile));

  files.AddFile(kDriverFile, "driver");
  SetFilters({"Other"});
  RemoveFilterDriver(registry, files);
  EXPECT_THAT(Filters(), ::testing::Optional(ElementsAre("Other")));
  EXPECT_FALSE(files.Exists(kDriverFile));
}

TEST_F(FilterDriverRemoval, AbsentServiceKeyCountsAsDeleted) {
  registry.DeleteKey(RootKey::kLocalMachine, kService + "\\Parameters\\Deep\\Deeper",
                     platform::RegistryView::kDefault);
  registry.DeleteKey(RootKey::kLocalMachine, kService + "\\Parameters\\Deep",
                     platform::RegistryView::kDefault);
  registry.DeleteKey(RootKey::kLocalMachine, kService + "\\Parameters",
                     platform::RegistryView::kDefault);
  registry.DeleteKey(RootKey::kLocalMachine, kService + "\\Enum", platform::RegistryView::kDefault);
  registry.DeleteKey(RootKey::kLocalMachine, kService, platform::RegistryView::kDefault);
  ASSERT_FALSE(ServiceKeyExists());
  SetFilters({"ZynKmdFltr", "Other"});
  RemoveFilterDriver(registry, files);
  EXPECT_THAT(Filters(), ::testing::Optional(ElementsAre("Other")));
  EXPECT_FALSE(files.Exists(kDriverFile));
}

TEST_F(FilterDriverRemoval, ServiceKeyThatCannotBeDeletedStopsEverything) {
  SetFilters({"ZynKmdFltr"});
  registry.InjectFailure(RegistryOperation::kDeleteKey, RootKey::kLocalMachine,
                         kService + "\\Parameters\\Deep", platform::kErrorAccessDenied);
  RemoveFilterDriver(registry, files);
  EXPECT_TRUE(ServiceKeyExists());
  EXPECT_THAT(Filters(), ::testing::Optional(ElementsAre("ZynKmdFltr")));
  EXPECT_TRUE(files.Exists(kDriverFile));
}

TEST_F(FilterDriverRemoval, ServiceKeyThatCannotBeOpenedStopsEverything) {
  SetFilters({"ZynKmdFltr"});
  registry.InjectFailure(RegistryOperation::kOpen, RootKey::kLocalMachine, kService,
                         platform::kErrorAccessDenied);
  RemoveFilterDriver(registry, files);
  EXPECT_THAT(Filters(), ::testing::Optional(ElementsAre("ZynKmdFltr")));
  EXPECT_TRUE(files.Exists(kDriverFile));
}

TEST_F(FilterDriverRemoval, ClassKeyProblemsKeepTheFile) {
  // No class key at all.
  RemoveFilterDriver(registry, files);
  EXPECT_FALSE(ServiceKeyExists());
  EXPECT_TRUE(files.Exists(kDriverFile));
  // The list cannot be written back.
  SetFilters({"ZynKmdFltr", "Other"});
  registry.InjectFailure(RegistryOperation::kSetValue, RootKey::kLocalMachine, kDisplayClassKey,
                         platform::kErrorAccessDenied);
  RemoveFilterDriver(registry, files);
  EXPECT_THAT(Filters(), ::testing::Optional(ElementsAre("ZynKmdFltr", "Other")));
  EXPECT_TRUE(files.Exists(kDriverFile));
}

TEST_F(FilterDriverRemoval, ValueThatIsNoListKeepsTheFile) {
  registry.PutString(RootKey::kLocalMachine, kDisplayClassKey, "LowerFilters", "ZynKmdFltr");
  RemoveFilterDriver(registry, files);
  EXPECT_TRUE(registry.GetValue(RootKey::kLocalMachine, kDisplayClassKey, "LowerFilters"));
  EXPECT_TRUE(files.Exists(kDriverFile));
}

TEST_F(FilterDriverRemoval, EmptyingTheListFailsToDeleteKeepsTheFile) {
  SetFilters({"ZynKmdFltr"});
  registry.InjectFailure(RegistryOperation::kDeleteValue, RootKey::kLocalMachine, kDisplayClassKey,
                         platform::kErrorAccessDenied);
  RemoveFilterDriver(registry, files);
  EXPECT_TRUE(files.Exists(kDriverFile));
}

}  // namespace
}  // namespace drvsetup
