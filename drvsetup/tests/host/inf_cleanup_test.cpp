// INF clean-up and the network driver package removal on the simulated file tree.
#include "drvsetup/core/inf_cleanup.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "drvsetup/core/network_package_removal.h"
#include "host/world.h"

namespace drvsetup {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::kInfFolder;

std::string Inf(std::string_view name) { return std::string(kInfFolder) + std::string(name); }

const std::vector<std::string> kAudioRequired{"*VQVADSimple"};

class InfCleanup : public ::testing::Test {
 protected:
  testing::World world;
  testing::RecordingFiles& files = world.files;
};

TEST_F(InfCleanup, DeletesQualifyingOemInfsAndTheirCompanions) {
  world.AddInf("oem1.inf", testing::AudioInfText());
  world.AddInf("oem2.inf", testing::VfbddInfText());
  world.AddInf("oem10.inf", testing::AudioInfText());
  // Not an oem name, and an upper-case media GUID: both stay.
  files.AddFile(Inf("vqvad.inf"), testing::AudioInfText());
  std::string upper = testing::AudioInfText();
  upper.replace(upper.find("{4d36e96c-e325-11ce-bfc1-08002be10318}"), 38,
                "{4D36E96C-E325-11CE-BFC1-08002BE10318}");
  world.AddInf("oem3.inf", upper);
  CleanUpInfFiles(files, kInfVirtualAudio, kAudioRequired);
  EXPECT_THAT(files.deleted,
              ElementsAre(Inf("oem1.inf"), Inf("oem1.pnf"), Inf("oem10.inf"), Inf("oem10.pnf")));
  EXPECT_TRUE(files.Exists(Inf("oem2.inf")));
  EXPECT_TRUE(files.Exists(Inf("oem3.inf")));
  EXPECT_TRUE(files.Exists(Inf("vqvad.inf")));
}

TEST_F(InfCleanup, OnlyRealOemInfNamesAreTouched) {
  // "oem1.info" is found through its short name; a folder may carry an inf name too.
  files.AddFile(Inf("oem1.info"), testing::AudioInfText());
  files.AddFolder(Inf("oem2.inf"));
  files.AddFile(Inf("OEM5.INF"), testing::AudioInfText(), platform::kFileAttributeReadOnly);
  files.AddFile(Inf("OEM5.PNF"), "PNF", platform::kFileAttributeReadOnly);
  CleanUpInfFiles(files, kInfVirtualAudio, kAudioRequired);
  EXPECT_THAT(files.deleted, ElementsAre(Inf("OEM5.INF"), Inf("OEM5.pnf")));
  EXPECT_TRUE(files.Exists(Inf("oem1.info")));
  EXPECT_THAT(files.Searches(), ElementsAre("C:\\Windows\\inf\\oem*.inf"));
}

TEST_F(InfCleanup, NamesThatDoNotFitAPathAreSkipped) {
  const std::string fits = "oem" + std::string(259 - 15 - 7, '1') + ".inf";  // exactly 259
  const std::string too_long = "oem" + std::string(259 - 15 - 6, '2') + ".inf";
  files.AddFile(Inf(fits), testing::AudioInfText());
  files.AddFile(Inf(too_long), testing::AudioInfText());
  CleanUpInfFiles(files, kInfVirtualAudio, kAudioRequired);
  EXPECT_THAT(files.deleted, ElementsAre(Inf(fits)));
  EXPECT_TRUE(files.Exists(Inf(too_long)));
}

TEST_F(InfCleanup, UnreadableFoldersAreIgnored) {
  world.AddInf("oem1.inf", testing::AudioInfText());
  files.FailListing("C:\\Windows\\inf");
  CleanUpInfFiles(files, kInfVirtualAudio, kAudioRequired);
  files.FailWindowsDirectory();
  CleanUpInfFiles(files, kInfVirtualAudio, kAudioRequired);
  EXPECT_THAT(files.deleted, IsEmpty());
}

TEST_F(InfCleanup, DeletionFailuresDoNotStopTheWalk) {
  world.AddInf("oem1.inf", testing::AudioInfText());
  world.AddInf("oem2.inf", testing::AudioInfText());
  files.FailDelete(Inf("oem1.inf"));
  CleanUpInfFiles(files, kInfVirtualAudio, kAudioRequired);
  EXPECT_THAT(files.deleted, ElementsAre(Inf("oem1.pnf"), Inf("oem2.inf"), Inf("oem2.pnf")));
}

class NetworkPackage : public InfCleanup {};

TEST_F(NetworkPackage, UninstallsEachQualifyingPackageAndDeletesItsPnf) {
  world.AddInf("oem4.inf", testing::NetworkInfText());
  world.AddInf("oem5.inf", testing::AudioInfText());
  world.AddInf("oem6.inf", testing::NetworkInfText());
  bool library_loaded_during_uninstall = false;
  world.difx.on_uninstall = [&](std::string_view) {
    library_loaded_during_uninstall = !world.difx.state->freed;
  };
  RemoveNetworkDriverPackage(files, world.difx);
  EXPECT_THAT(world.difx.load_names, ElementsAre("DIFXAPI.DLL"));
  EXPECT_THAT(world.difx.state->uninstalled, ElementsAre(Inf("oem4.inf"), Inf("oem6.inf")));
  EXPECT_THAT(world.difx.state->flags, ElementsAre(4u, 4u));
  EXPECT_TRUE(library_loaded_during_uninstall);
  EXPECT_TRUE(world.difx.state->freed);
  EXPECT_THAT(files.deleted, ElementsAre(Inf("oem4.pnf"), Inf("oem6.pnf")));
  EXPECT_TRUE(files.Exists(Inf("oem4.inf")));
}

TEST_F(NetworkPackage, WithoutTheInstallerOnlyThePnfGoes) {
  world.AddInf("oem4.inf", testing::NetworkInfText());
  world.difx.present = false;
  RemoveNetworkDriverPackage(files, world.difx);
  world.difx.present = true;
  world.difx.has_uninstall = false;
  world.AddInf("oem6.inf", testing::NetworkInfText());
  RemoveNetworkDriverPackage(files, world.difx);
  EXPECT_THAT(world.difx.state->uninstalled, IsEmpty());
  EXPECT_THAT(files.deleted, ElementsAre(Inf("oem4.pnf"), Inf("oem6.pnf")));
}

}  // namespace
}  // namespace drvsetup
