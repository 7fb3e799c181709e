#include "app/StartupSettings.h"

#include <gio/gdesktopappinfo.h>
#include <glib.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/Text.h"
#include "platform/posix/DesktopEntryExec.h"
#include "tests/support/TempHome.h"

namespace fs = std::filesystem;

namespace {

// What GLib's desktop-entry reading makes of an autostart entry.
struct DesktopEntry {
  bool loadsAsApplication = false;  // GDesktopAppInfo accepts it: valid, and its program exists
  std::string type;
  std::vector<std::string> command;  // Exec split as the desktop launches it
  bool hidden = false;
};

std::optional<DesktopEntry> ReadDesktopEntry(const fs::path& path) {
  GKeyFile* file = g_key_file_new();
  if (!g_key_file_load_from_file(file, path.c_str(), G_KEY_FILE_NONE, nullptr)) {
    g_key_file_free(file);
    return std::nullopt;
  }
  DesktopEntry entry;
  if (GDesktopAppInfo* info = g_desktop_app_info_new_from_keyfile(file)) {
    entry.loadsAsApplication = true;
    entry.hidden = g_desktop_app_info_get_is_hidden(info);
    g_object_unref(info);
  }
  gchar* type = g_key_file_get_string(file, "Desktop Entry", "Type", nullptr);
  entry.type = type ? type : "";
  g_free(type);
  gchar* exec = g_key_file_get_string(file, "Desktop Entry", "Exec", nullptr);
  gchar** argv = nullptr;
  if (exec && g_shell_parse_argv(exec, nullptr, &argv, nullptr)) {
    for (gchar** word = argv; *word; ++word) entry.command.emplace_back(*word);
    g_strfreev(argv);
  }
  g_free(exec);
  g_key_file_free(file);
  return entry;
}

std::optional<std::string> IniValue(const fs::path& path, const char* group, const char* key) {
  GKeyFile* file = g_key_file_new();
  std::optional<std::string> value;
  if (g_key_file_load_from_file(file, path.c_str(), G_KEY_FILE_NONE, nullptr)) {
    if (gchar* text = g_key_file_get_value(file, group, key, nullptr)) {
      value = text;
      g_free(text);
    }
  }
  g_key_file_free(file);
  return value;
}

std::vector<std::string> NonBlankLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t begin = 0;
  for (auto end = text.find('\n'); end != std::string::npos; end = text.find('\n', begin)) {
    if (end > begin) lines.push_back(text.substr(begin, end - begin));
    begin = end + 1;
  }
  return lines;
}

std::wstring Wide(const fs::path& path) {
  return platform::PathFromNative(path.string());
}

class StartupSettingsTest : public testing::Test {
 protected:
  StartupSettingsTest() {
    // The programs exist, as after an installation, so that the desktop accepts the entries.
    for (const auto& program : {Launcher(), Updater()}) {
      test::WriteFile(program, "#!/bin/true\n");
      fs::permissions(program, fs::perms::owner_all);
    }
  }
  ~StartupSettingsTest() override {
    EXPECT_FALSE(fs::exists(home_.config() / "lumogame" / "setupLogs")) << "nothing is logged";
  }

  fs::path InstallFolder() const { return home_.root() / "My Games" / "游戏 $HOME \"x\"" / "lumogame"; }
  fs::path Launcher() const { return InstallFolder() / "lumogc_launcher.exe"; }
  fs::path Updater() const { return InstallFolder() / "agent" / "lgc_auto_updater.exe"; }
  fs::path Autostart() const { return home_.config() / "autostart"; }
  fs::path LauncherEntry() const { return Autostart() / "lumogame.desktop"; }
  fs::path UpdaterEntry() const { return Autostart() / "lgc_updater.desktop"; }
  fs::path Ini() const { return home_.config() / "lumogame" / "setup_config.ini"; }

  // The Exec line's text for a program path: quoted as the desktop-entry rules ask (checked on its
  // own), with the key file's escape for backslashes.
  static std::string Exec(const fs::path& program) {
    std::string line;
    for (const char c : platform::posix::ExecOfProgram(program.string()))
      line += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return line;
  }

  static std::string EntryText(const std::string& exec, const std::string& extra = "") {
    return "[Desktop Entry]\nType=Application\nName=lumogame\nExec=" + exec + "\n" + extra;
  }

  test::TempHome home_;
};

TEST_F(StartupSettingsTest, OnWritesEntriesTheDesktopRunsAndTheFlag) {
  SetRunAtStartup(true, Wide(Launcher()));
  SetQuietUpdate(true, Wide(Updater()));

  for (const auto& [entryPath, program] :
       {std::pair{LauncherEntry(), Launcher()}, std::pair{UpdaterEntry(), Updater()}}) {
    const auto entry = ReadDesktopEntry(entryPath);
    ASSERT_TRUE(entry) << entryPath;
    EXPECT_TRUE(entry->loadsAsApplication) << test::ReadFile(entryPath);
    EXPECT_FALSE(entry->hidden);
    EXPECT_EQ(entry->type, "Application");
    EXPECT_EQ(entry->command, std::vector<std::string>{program.string()}) << test::ReadFile(entryPath);
  }
  EXPECT_EQ(IniValue(Ini(), "CONFIG", "updaterAutoStart"), "1");
}

TEST_F(StartupSettingsTest, IdenticalEntryIsNotRewrittenButACaseDifferenceIs) {
  SetRunAtStartup(true, Wide(Launcher()));
  // Our own entry with a mark that a rewrite would lose.
  const std::string written = test::ReadFile(LauncherEntry()) + "# kept\n";
  test::WriteFile(LauncherEntry(), written);
  SetRunAtStartup(true, Wide(Launcher()));
  EXPECT_EQ(test::ReadFile(LauncherEntry()), written);

  std::string upper = Launcher().filename().string();
  for (auto& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  test::WriteFile(LauncherEntry(), EntryText(Exec(Launcher().parent_path() / upper), "# other case\n"));
  SetRunAtStartup(true, Wide(Launcher()));
  const auto entry = ReadDesktopEntry(LauncherEntry());
  EXPECT_EQ(entry->command, std::vector<std::string>{Launcher().string()});
  EXPECT_EQ(test::ReadFile(LauncherEntry()).find("# other case"), std::string::npos);
}

TEST_F(StartupSettingsTest, OffRemovesOurEntryAndWritesZero) {
  SetRunAtStartup(true, Wide(Launcher()));
  SetQuietUpdate(true, Wide(Updater()));
  SetRunAtStartup(false, Wide(Launcher()));
  SetQuietUpdate(false, Wide(Updater()));
  EXPECT_FALSE(fs::exists(LauncherEntry()));
  EXPECT_FALSE(fs::exists(UpdaterEntry()));
  EXPECT_EQ(IniValue(Ini(), "CONFIG", "updaterAutoStart"), "0");
}

TEST_F(StartupSettingsTest, OffWithNoEntryChangesNothing) {
  SetRunAtStartup(false, Wide(Launcher()));
  SetQuietUpdate(false, Wide(Updater()));
  EXPECT_TRUE(fs::is_empty(Autostart()));
  EXPECT_EQ(IniValue(Ini(), "CONFIG", "updaterAutoStart"), "0");
}

// Entries that are not in the plain form count as values of another type: they cannot be read,
// so "off" leaves them and "on" overwrites them.
TEST_F(StartupSettingsTest, EntryNotInThePlainFormIsOverwrittenWhenOnAndLeftWhenOff) {
  const std::string quoted = Exec(Launcher());
  const std::string others[] = {
      EntryText(quoted + " --minimized"),
      EntryText(quoted, "Hidden=true\n"),
      EntryText(quoted, "X-GNOME-Autostart-enabled=false\n"),
      "[Desktop Entry]\nType=Link\nName=lumogame\nURL=file:///x\nExec=" + quoted + "\n",
      "not a desktop entry at all\n",
      EntryText(""),
  };
  for (const auto& other : others) {
    test::WriteFile(LauncherEntry(), other);
    SetRunAtStartup(false, Wide(Launcher()));
    EXPECT_EQ(test::ReadFile(LauncherEntry()), other) << "off left it in place";

    SetRunAtStartup(true, Wide(Launcher()));
    const auto entry = ReadDesktopEntry(LauncherEntry());
    ASSERT_TRUE(entry) << other;
    EXPECT_TRUE(entry->loadsAsApplication) << other;
    EXPECT_FALSE(entry->hidden) << other;
    EXPECT_EQ(entry->command, std::vector<std::string>{Launcher().string()}) << other;
  }
}

TEST_F(StartupSettingsTest, FlagIsWrittenWhenTheAutostartFolderCannotBeUsed) {
  fs::create_directories(home_.config());
  test::WriteFile(Autostart(), "a file where the folder should be");
  SetRunAtStartup(true, Wide(Launcher()));
  SetQuietUpdate(false, Wide(Updater()));
  EXPECT_EQ(test::ReadFile(Autostart()), "a file where the folder should be");
  EXPECT_EQ(IniValue(Ini(), "CONFIG", "updaterAutoStart"), "0");
  SetQuietUpdate(true, Wide(Updater()));
  EXPECT_EQ(IniValue(Ini(), "CONFIG", "updaterAutoStart"), "1");
}

TEST_F(StartupSettingsTest, SettingsFileKeepsItsOtherContent) {
  const std::string before =
      "# settings of the game center\n"
      "[CONFIG]\n"
      "channel=stable\n"
      "updaterAutoStart=1\n"
      "\n"
      "# the window\n"
      "[WINDOW]\n"
      "x=10\n"
      "title[zh_CN]=露摩\n";
  test::WriteFile(Ini(), before);
  ::chmod(Ini().c_str(), 0600);
  SetQuietUpdate(false, Wide(Updater()));
  const std::string after = test::ReadFile(Ini());
  // Every line stays, in its order; the key file only sets a blank line after a section's comment.
  std::string expected = before;
  expected.replace(expected.find("updaterAutoStart=1"), 18, "updaterAutoStart=0");
  EXPECT_EQ(NonBlankLines(after), NonBlankLines(expected)) << after;
  EXPECT_EQ(fs::status(Ini()).permissions(), fs::perms::owner_read | fs::perms::owner_write);
  SetQuietUpdate(false, Wide(Updater()));
  EXPECT_EQ(test::ReadFile(Ini()), after) << "a second write changes nothing";
}

TEST_F(StartupSettingsTest, SettingsFileThatIsNoIniFileIsLeftAsItWas) {
  const std::string unreadable = "this line is no key and no section\n[CONFIG]\nupdaterAutoStart=1\n";
  test::WriteFile(Ini(), unreadable);
  SetQuietUpdate(false, Wide(Updater()));
  EXPECT_EQ(test::ReadFile(Ini()), unreadable);
}

}  // namespace
