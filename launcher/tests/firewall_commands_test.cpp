#include "launcher/core/firewall_commands.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "expected_command_lines.h"

namespace launcher {
namespace {

constexpr VersionFlags kXp{};
constexpr VersionFlags kVista{true, true, false};
constexpr VersionFlags kWindows7{true, false, true};
constexpr VersionFlags kWindows8{true, false, false};

TEST(ProductProgramPathTest, LiesInTheZynFolderOfTheWindowsDirectory) {
  EXPECT_EQ(ProductProgramPath("C:\\Windows"), "C:\\Windows\\ZYN\\Skyrow.exe");
  // 245 + "\ZYN\Skyrow.exe" (15) is 260 characters: one too many for the buffer.
  EXPECT_EQ(ProductProgramPath(std::string(244, 'w')).value_or("").size(), 259u);
  EXPECT_EQ(ProductProgramPath(std::string(245, 'w')), std::nullopt);
}

struct Branch {
  VersionFlags flags;
  std::vector<expected::CommandLine> (*lines)(const std::string& product);
};

// Around the buffer's limit every command is either whole or not run at all.
TEST(FirewallCommandsTest, CommandsThatDoNotFitAreNotRunAndTheOthersStayWhole) {
  const Branch branches[] = {{kXp, expected::XpCommands},
                             {kVista, expected::VistaCommands},
                             {kWindows7, expected::Windows7Commands},
                             {kWindows8, expected::XpCommands}};
  for (const Branch& branch : branches) {
    for (size_t length = 150; length <= 200; ++length) {
      const std::string product(length, 'p');
      const std::vector<ExternalCommand> commands = FirewallCommands(branch.flags, product);
      const std::vector<expected::CommandLine> lines = branch.lines(product);
      ASSERT_EQ(commands.size(), lines.size());
      for (size_t i = 0; i < lines.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "path length " << length << ", command " << i);
        EXPECT_EQ(commands[i].program, lines[i].first);
        if (lines[i].second.size() < 260) {
          EXPECT_EQ(commands[i].parameters, lines[i].second);
        } else {
          EXPECT_EQ(commands[i].parameters, std::nullopt);
        }
      }
    }
  }
}

}  // namespace
}  // namespace launcher
