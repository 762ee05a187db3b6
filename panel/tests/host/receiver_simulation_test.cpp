#include "panel/sim/receiver_simulation.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "panel/sim/receiver_script.h"

namespace panel::sim {
namespace {

std::u16string Text(const char16_t* field) { return std::u16string(field); }

class ReceiverSimulationTest : public ::testing::Test {
 protected:
  void Script(std::string_view lines) {
    size_t start = 0;
    while (start < lines.size()) {
      size_t end = lines.find('\n', start);
      std::string error;
      ASSERT_TRUE(ApplyScriptLine(model_, lines.substr(start, end - start), &error)) << error;
      if (end == std::string_view::npos) break;
      start = end + 1;
    }
  }

  ReceiverSimulation model_;
  LibraryEvent event_{};
  ReceiverInfo info_{};
};

TEST_F(ReceiverSimulationTest, CallsBeforeInitAndAfterDestroyGetDefinedAnswers) {
  Script("add Living Room|http://10.0.0.2/|1-00-03");
  model_.QueueVariable(u"varPlay", u"True");
  for (int round = 0; round < 2; ++round) {
    EXPECT_EQ(model_.GetDeviceCount(), 0);
    EXPECT_EQ(model_.ServiceInit(0), kNotInitialised);
    EXPECT_EQ(model_.SetCommand(0, u"SetPlay", u""), kNotInitialised);
    model_.BackgroundTask(&event_);
    EXPECT_EQ(event_.Code, kEventNone);
    ASSERT_NE(event_.Value, nullptr);
    EXPECT_EQ(Text(event_.Value), u"");
    model_.GetDeviceInfo(0, &info_);
    EXPECT_EQ(Text(info_.DisplayName), u"");
    ASSERT_EQ(model_.LibraryInit(), 0);
    model_.LibraryDestroy();
  }
}

TEST_F(ReceiverSimulationTest, OutOfRangeIndicesAndNullBuffersAreHarmless) {
  Script("add A|http://a/|1-00-00");
  ASSERT_EQ(model_.LibraryInit(), 0);
  for (int32_t index : {-1, 1, 1000000}) {
    EXPECT_EQ(model_.ServiceInit(index), kNoSuchReceiver);
    EXPECT_EQ(model_.SetCommand(index, u"SetStop", u""), kNoSuchReceiver);
    std::memset(&info_, 0x55, sizeof(info_));
    model_.GetDeviceInfo(index, &info_);
    EXPECT_EQ(info_.DisplayName[0], u'\0');
    EXPECT_EQ(info_.CapabilityCode[0], u'\0');
    model_.SetSelectDevice(index);
    EXPECT_EQ(model_.SelectedReceiver(), -1);
  }
  model_.GetDeviceInfo(0, nullptr);
  model_.BackgroundTask(nullptr);
  model_.GetDeviceUniqueName(0, nullptr, 128);
  char16_t one[1] = {u'x'};
  model_.GetDeviceUniqueName(0, one, 1);
  EXPECT_EQ(one[0], u'\0');
  model_.GetDeviceUniqueName(0, one, 0);
  EXPECT_EQ(model_.SetCommand(0, nullptr, u""), kBadArgument);
  EXPECT_EQ(model_.SetCommand(0, u"SetPlay", nullptr), 0);
}

TEST_F(ReceiverSimulationTest, ReceiversComeAndGoAndFillTheirRecord) {
  ASSERT_EQ(model_.LibraryInit(), 0);
  EXPECT_EQ(model_.GetDeviceCount(), 0);
  Script("add Living Room|http://10.0.0.2/|1-00-03\nadd Studio|http://10.0.0.3/");
  EXPECT_EQ(model_.GetDeviceCount(), 2);
  model_.GetDeviceInfo(1, &info_);
  EXPECT_EQ(Text(info_.DisplayName), u"Studio");
  EXPECT_EQ(Text(info_.WebAddress), u"http://10.0.0.3/");
  EXPECT_EQ(Text(info_.CapabilityCode), u"1-00-00");
  Script("remove Living Room");
  model_.GetDeviceInfo(0, &info_);
  EXPECT_EQ(Text(info_.DisplayName), u"Studio");
  Script("clear");
  EXPECT_EQ(model_.GetDeviceCount(), 0);
}

TEST_F(ReceiverSimulationTest, OverlongTextIsCutAndTerminatedInsideItsField) {
  ASSERT_EQ(model_.LibraryInit(), 0);
  model_.AddReceiver(
      {std::u16string(5000, u'n'), std::u16string(9000, u'w'), std::u16string(300, u'c'), true});
  std::memset(&info_, 0x55, sizeof(info_));
  model_.GetDeviceInfo(0, &info_);
  EXPECT_EQ(Text(info_.DisplayName).size(), 617u);
  EXPECT_EQ(Text(info_.WebAddress).size(), 4223u);
  EXPECT_EQ(Text(info_.CapabilityCode).size(), 63u);
}

TEST_F(ReceiverSimulationTest, BindingAndCommandsAcceptOrRefuseAsScripted) {
  Script("add A|http://a/\nbinding A|refuse\ncommands refuse");
  ASSERT_EQ(model_.LibraryInit(), 0);
  EXPECT_NE(model_.ServiceInit(0), 0);
  EXPECT_NE(model_.SetCommand(0, u"SetPlay", u"1_0_1_8554_0_0"), 0);
  model_.BackgroundTask(&event_);
  EXPECT_EQ(event_.Code, kEventNone);
  Script("binding A|accept\ncommands accept");
  EXPECT_EQ(model_.ServiceInit(0), 0);
  EXPECT_EQ(model_.SetCommand(0, u"SetPlay", u"1_0_1_8554_0_0"), 0);
  EXPECT_EQ(model_.LastPlayParameter(), u"1_0_1_8554_0_0");
  EXPECT_NE(model_.SetCommand(0, u"SetPause", u""), 0);
}

TEST_F(ReceiverSimulationTest, AcceptedCommandsReportThePlayStateOneEventPerTask) {
  Script("add A|http://a/");
  ASSERT_EQ(model_.LibraryInit(), 0);
  ASSERT_EQ(model_.SetCommand(0, u"SetPlay", u"p"), 0);
  ASSERT_EQ(model_.SetCommand(0, u"SetStop", u""), 0);
  Script("event 20");
  model_.BackgroundTask(&event_);
  EXPECT_EQ(event_.Code, kEventVariable);
  EXPECT_EQ(Text(event_.Name), u"varPlay");
  EXPECT_EQ(Text(event_.Value), u"True");
  model_.BackgroundTask(&event_);
  EXPECT_EQ(Text(event_.Value), u"False");
  model_.BackgroundTask(&event_);
  EXPECT_EQ(event_.Code, kEventSearchAgain);
  model_.BackgroundTask(&event_);
  EXPECT_EQ(event_.Code, kEventNone);
  Script("playreports off");
  ASSERT_EQ(model_.SetCommand(0, u"SetPlay", u"p"), 0);
  model_.BackgroundTask(&event_);
  EXPECT_EQ(event_.Code, kEventNone);
}

TEST_F(ReceiverSimulationTest, FailedInitLeavesTheLibraryClosed) {
  Script("initresult 7\nadd A");
  EXPECT_EQ(model_.LibraryInit(), 7);
  EXPECT_FALSE(model_.IsInitialised());
  EXPECT_EQ(model_.GetDeviceCount(), 0);
}

TEST_F(ReceiverSimulationTest, SettingsAndCallRecord) {
  Script("videomode 2\nlocalaudio 1\nh264 1\nextscreen 0\nport 9000\ndelay SetCommand 3000");
  EXPECT_EQ(model_.CallDelay("SetCommand"), 3000);
  EXPECT_EQ(model_.CallDelay("GetDeviceCount"), 0);
  EXPECT_EQ(model_.GetVideoMode(), 2);
  EXPECT_EQ(model_.GetLocalAudio(), 1);
  EXPECT_EQ(model_.ExistH264Encoder(), 1);
  EXPECT_EQ(model_.ExistExtensionScreen(), 0);
  EXPECT_EQ(model_.GetPortNumber(), 9000);
  model_.ClearCalls();
  model_.SetVideoMode(3);
  model_.SetExtensionScreen(1);
  model_.SetVirtualExtend(0);
  model_.Rediscovery();
  EXPECT_EQ(model_.GetExtensionScreen(), 1);
  EXPECT_EQ(model_.RediscoveryCount(), 1);
  EXPECT_EQ(model_.Calls(),
            (std::vector<std::string>{"SetVideoMode(3)", "SetExtensionScreen(1)",
                                      "SetVirtualExtend(0)", "Rediscovery", "GetExtensionScreen"}));
}

TEST_F(ReceiverSimulationTest, ScriptRejectsWhatItDoesNotUnderstandAndChangesNothing) {
  std::string error;
  for (const char* line :
       {"bogus", "add", "remove Nobody", "binding Nobody|accept", "binding A|maybe", "event twenty",
        "port 1x", "clear now", "add \xC3\x28", "variable |True", "delay SetCommand",
        "delay SetCommand -1", "delay  10"}) {
    EXPECT_FALSE(ApplyScriptLine(model_, line, &error)) << line;
    EXPECT_FALSE(error.empty());
  }
  EXPECT_TRUE(ApplyScriptLine(model_, "# comment", &error));
  EXPECT_TRUE(ApplyScriptLine(model_, "   ", &error));
  ASSERT_EQ(model_.LibraryInit(), 0);
  EXPECT_EQ(model_.GetDeviceCount(), 0);
}

}  // namespace
}  // namespace panel::sim
