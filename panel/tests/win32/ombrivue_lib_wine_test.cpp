// The stand-in OmbrivueLib.dll as the panel loads it: a scenario file written from outside
// changes the receivers between calls, every call lands in the call log, records are filled at
// the offsets the panel reads, and calls out of order get their defined answers.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "panel/win32/ombrivue_lib_exports.h"

namespace {

std::string TempFile(const char* name) {
  char folder[MAX_PATH] = {};
  ::GetTempPathA(MAX_PATH, folder);
  return std::string(folder) + name;
}

const std::string g_script = TempFile("ombrivue_script.txt");
const std::string g_log = TempFile("ombrivue_calls.log");

void Append(const std::string& lines) {
  std::ofstream(g_script, std::ios::app | std::ios::binary) << lines;
}

std::string ReadLog() {
  std::ifstream in(g_log, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::wstring Field(const void* record, size_t offset) {
  return std::wstring(reinterpret_cast<const wchar_t*>(static_cast<const char*>(record) + offset));
}

TEST(OmbrivueLibWineTest, ScenarioFromOutsideDrivesTheReceiversAndEveryCallIsLogged) {
  EXPECT_EQ(ZYNOV_GetDeviceCount(), 0);  // before ZYNOV_LibraryInit
  ASSERT_EQ(ZYNOV_LibraryInit(), 0);
  EXPECT_EQ(ZYNOV_GetDeviceCount(), 0);
  Append("add Living Room|http://192.168.1.20/|1-00-03\nadd Stu");
  EXPECT_EQ(ZYNOV_GetDeviceCount(), 1);  // the second line is not complete yet
  Append("dio|http://192.168.1.21/\nbinding Studio|refuse\n");
  EXPECT_EQ(ZYNOV_GetDeviceCount(), 2);

  alignas(8) unsigned char info[9812];
  ZYNOV_GetDeviceInfo(1, reinterpret_cast<panel::ReceiverInfo*>(info));
  EXPECT_EQ(Field(info, 0), L"Studio");
  EXPECT_EQ(Field(info, 1236), L"http://192.168.1.21/");
  EXPECT_EQ(Field(info, 9684), L"1-00-00");
  EXPECT_EQ(ZYNOV_ServiceInit(0), 0);
  EXPECT_NE(ZYNOV_ServiceInit(1), 0);

  EXPECT_EQ(ZYNOV_SetCommand(0, L"SetPlay", L"1_0_1_8554_0_0"), 0);
  alignas(8) unsigned char event[1048];
  ZYNOV_BackgroundTask(reinterpret_cast<panel::LibraryEvent*>(event));
  int32_t code = 0;
  std::memcpy(&code, event, sizeof(code));
  EXPECT_EQ(code, 10);
  EXPECT_EQ(Field(event, 4), L"varPlay");
  const wchar_t* value = nullptr;
  std::memcpy(&value, event + 1040, sizeof(value));
  ASSERT_NE(value, nullptr);
  EXPECT_EQ(std::wstring(value), L"True");

  Append("remove Living Room\nevent 20\nnonsense\n");
  ZYNOV_BackgroundTask(reinterpret_cast<panel::LibraryEvent*>(event));
  std::memcpy(&code, event, sizeof(code));
  EXPECT_EQ(code, 20);
  EXPECT_EQ(ZYNOV_GetDeviceCount(), 1);
  ZYNOV_LibraryDestroy();
  EXPECT_NE(ZYNOV_SetCommand(0, L"SetStop", L""), 0);

  std::string log = ReadLog();
  for (const char* line :
       {"LibraryInit\n", "GetDeviceInfo(1)\n", "ServiceInit(1)\n",
        "SetCommand(0,SetPlay,1_0_1_8554_0_0)\n", "BackgroundTask\n",
        "error: not understood: nonsense\n", "LibraryDestroy\n", "SetCommand(0,SetStop,)\n"}) {
    EXPECT_NE(log.find(line), std::string::npos) << line << " in:\n" << log;
  }
}

TEST(OmbrivueLibWineTest, NullBuffersAndBadIndicesAreAnsweredNotCrashedOn) {
  ASSERT_EQ(ZYNOV_LibraryInit(), 0);
  ZYNOV_GetDeviceInfo(0, nullptr);
  ZYNOV_BackgroundTask(nullptr);
  ZYNOV_GetDeviceUniqueName(0, nullptr, 128);
  wchar_t name[128];
  ZYNOV_GetDeviceUniqueName(-5, name, 128);
  EXPECT_EQ(name[0], L'\0');
  EXPECT_NE(ZYNOV_ServiceInit(99), 0);
  EXPECT_NE(ZYNOV_SetCommand(0, nullptr, nullptr), 0);
  ZYNOV_SetSelectDevice(-1);
  ZYNOV_LibraryDestroy();
}

}  // namespace

int main(int argc, char** argv) {
  // The library reads these at its first call.
  ::DeleteFileA(g_script.c_str());
  ::DeleteFileA(g_log.c_str());
  Append("# scenario\n");
  ::SetEnvironmentVariableA("OMBRIVUE_SIM_SCRIPT", g_script.c_str());
  ::SetEnvironmentVariableA("OMBRIVUE_SIM_LOG", g_log.c_str());
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
