#include "platform/CommandLine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Text.h"

namespace {

using Words = std::vector<std::wstring>;

struct SplitCase {
  const wchar_t* line;
  Words words;
};

std::string Printable(const std::wstring& text) {
  return platform::WideToUtf8(text);
}

std::string Printable(const Words& words) {
  std::string out = "{";
  for (const auto& word : words) out += "[" + Printable(word) + "]";
  return out + "}";
}

TEST(CommandLineTest, SplitsByTheWindowsRules) {
  const SplitCase cases[] = {
      {L"", {}},
      {L" \t  ", {}},
      {L"prog", {L"prog"}},
      {L"  prog   a\tb  ", {L"prog", L"a", L"b"}},
      // The program name: quotes group and go, backslashes stay as they are.
      {L"\"C:\\Program Files\\x.exe\" /S", {L"C:\\Program Files\\x.exe", L"/S"}},
      {L"\"C:\\dir\\\\\" x", {L"C:\\dir\\\\", L"x"}},
      {L"\"C:\\dir\\\" x", {L"C:\\dir\\", L"x"}},
      {L"C:\\a\"b c\"d.exe e", {L"C:\\ab cd.exe", L"e"}},
      // Arguments: the documented examples of the Windows C runtime.
      {L"p \"abc\" d e", {L"p", L"abc", L"d", L"e"}},
      {L"p a\\\\b d\"e f\"g h", {L"p", L"a\\\\b", L"de fg", L"h"}},
      {L"p a\\\\\\\"b c d", {L"p", L"a\\\"b", L"c", L"d"}},
      {L"p a\\\\\\\\\"b c\" d e", {L"p", L"a\\\\b c", L"d", L"e"}},
      {L"p a\"b\"\" c d", {L"p", L"ab\" c d"}},
      // Backslashes before a quote: even keep the quote's meaning, odd make it literal.
      {L"p \"a\\\\\" b", {L"p", L"a\\", L"b"}},
      {L"p \\\"quoted\\\"", {L"p", L"\"quoted\""}},
      {L"p \"/D=C:\\G\\\" /S", {L"p", L"/D=C:\\G\" /S"}},
      {L"p a\\b\\c\\", {L"p", L"a\\b\\c\\"}},
      // Empty and unfinished quoted arguments.
      {L"p \"\" \"\"", {L"p", L"", L""}},
      {L"p \"unterminated arg", {L"p", L"unterminated arg"}},
      {L"p \"a b\"c", {L"p", L"a bc"}},
      // The package command line: the package path quoted, then /S and the quoted /D= argument, with
      // spaces and other scripts in both paths.
      {L"C:\\T\\temp\\pkg.exe /S \"/D=D:\\G\\lumogame\"", {L"C:\\T\\temp\\pkg.exe", L"/S", L"/D=D:\\G\\lumogame"}},
      {L"\"/home/u/.cache/my cache/lumogame-updater/temp/setup 1.0.bin\" /S \"/D=/home/u/My Games/游戏/lumogame\"",
       {L"/home/u/.cache/my cache/lumogame-updater/temp/setup 1.0.bin", L"/S", L"/D=/home/u/My Games/游戏/lumogame"}},
      // Unquoted, a package path with a space names another program: why the path is quoted.
      {L"/tmp/my cache/pkg.bin /S \"/D=/x y\"", {L"/tmp/my", L"cache/pkg.bin", L"/S", L"/D=/x y"}},
  };
  for (const auto& [line, words] : cases) {
    EXPECT_EQ(platform::SplitCommandLine(line), words)
        << "line: " << Printable(line) << "\n  got: " << Printable(platform::SplitCommandLine(line))
        << "\n want: " << Printable(words);
  }
}

TEST(CommandLineTest, SplitsParametersWithoutAProgramName) {
  const SplitCase cases[] = {
      {L"", {}},
      {L"one \"two words\"", {L"one", L"two words"}},
      {L"\"C:\\a b\\\" c", {L"C:\\a b\" c"}},
      {L"  a\\\\\"b c\"  ", {L"a\\b c"}},
  };
  for (const auto& [line, words] : cases) {
    EXPECT_EQ(platform::SplitArguments(line), words)
        << "parameters: " << Printable(line) << "\n  got: " << Printable(platform::SplitArguments(line));
  }
}

}  // namespace
