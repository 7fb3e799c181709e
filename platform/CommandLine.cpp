#include "platform/CommandLine.h"

namespace platform {
namespace {

bool IsBlank(wchar_t c) {
  return c == L' ' || c == L'\t';
}

void SkipBlanks(std::wstring_view text, std::size_t& at) {
  while (at < text.size() && IsBlank(text[at])) ++at;
}

std::wstring ReadProgramName(std::wstring_view text, std::size_t& at) {
  std::wstring name;
  bool quoted = false;
  for (; at < text.size(); ++at) {
    const wchar_t c = text[at];
    if (c == L'"') {
      quoted = !quoted;
      continue;
    }
    if (!quoted && IsBlank(c)) break;
    name += c;
  }
  return name;
}

std::wstring ReadArgument(std::wstring_view text, std::size_t& at) {
  std::wstring argument;
  bool quoted = false;
  while (at < text.size()) {
    const wchar_t c = text[at];
    if (c == L'\\') {
      std::size_t backslashes = 0;
      while (at < text.size() && text[at] == L'\\') {
        ++backslashes;
        ++at;
      }
      if (at < text.size() && text[at] == L'"') {
        argument.append(backslashes / 2, L'\\');
        if (backslashes % 2 == 1) {
          argument += L'"';
          ++at;
        }
      } else {
        argument.append(backslashes, L'\\');
      }
      continue;
    }
    if (c == L'"') {
      if (quoted && at + 1 < text.size() && text[at + 1] == L'"') {
        argument += L'"';
        at += 2;
        continue;
      }
      quoted = !quoted;
      ++at;
      continue;
    }
    if (!quoted && IsBlank(c)) break;
    argument += c;
    ++at;
  }
  return argument;
}

void AppendArguments(std::wstring_view text, std::size_t at, std::vector<std::wstring>& words) {
  for (SkipBlanks(text, at); at < text.size(); SkipBlanks(text, at)) words.push_back(ReadArgument(text, at));
}

}  // namespace

std::vector<std::wstring> SplitCommandLine(std::wstring_view commandLine) {
  std::vector<std::wstring> words;
  std::size_t at = 0;
  SkipBlanks(commandLine, at);
  if (at == commandLine.size()) return words;
  words.push_back(ReadProgramName(commandLine, at));
  AppendArguments(commandLine, at, words);
  return words;
}

std::vector<std::wstring> SplitArguments(std::wstring_view arguments) {
  std::vector<std::wstring> words;
  AppendArguments(arguments, 0, words);
  return words;
}

}  // namespace platform
