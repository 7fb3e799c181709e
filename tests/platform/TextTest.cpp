#include "platform/Text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace {

// Runs the body with the character type of the named locale, then restores the test's own.
template <typename Body>
void WithCharacterLocale(const char* name, Body body) {
  const std::string saved = std::setlocale(LC_CTYPE, nullptr);
  ASSERT_NE(std::setlocale(LC_CTYPE, name), nullptr) << name;
  body();
  std::setlocale(LC_CTYPE, saved.c_str());
}

TEST(TextTest, Utf8LocaleRoundTripsChineseText) {
  WithCharacterLocale("C.UTF-8", [] {
    const std::wstring title = L"《露摩游戏中心安装程序》";
    EXPECT_EQ(platform::WideToMultiByte(title), platform::WideToUtf8(title));
    EXPECT_EQ(platform::MultiByteToWide(platform::WideToMultiByte(title)), title);
    // A lone surrogate is no character in any encoding.
    EXPECT_EQ(platform::WideToMultiByte(std::wstring(L"a") + wchar_t(0xD800) + L"b"), "a?b");
  });
}

TEST(TextTest, CharactersOutsideTheEncodingBecomeQuestionMarks) {
  WithCharacterLocale("C", [] { EXPECT_EQ(platform::WideToMultiByte(L"D:/游戏/lumogame"), "D:/?\?/lumogame"); });
}

TEST(TextTest, CharacterBoundaryNeverSplitsACharacter) {
  WithCharacterLocale("C.UTF-8", [] {
    const std::string text =
        "ab\xe4\xb8\xad"
        "c";  // a, b, one three-byte character, c
    EXPECT_EQ(platform::MultiByteCharacterBoundary(text, 2), 2u);
    EXPECT_EQ(platform::MultiByteCharacterBoundary(text, 3), 2u);
    EXPECT_EQ(platform::MultiByteCharacterBoundary(text, 4), 2u);
    EXPECT_EQ(platform::MultiByteCharacterBoundary(text, 5), 5u);
    EXPECT_EQ(platform::MultiByteCharacterBoundary(text, 99), text.size());
    // An incomplete character at the end is cut off; an invalid byte counts as one character.
    EXPECT_EQ(platform::MultiByteCharacterBoundary("ab\xe4\xb8", 4), 2u);
    EXPECT_EQ(platform::MultiByteCharacterBoundary("a\xff"
                                                   "b",
                                                   3),
              3u);
  });
}

TEST(TextTest, Utf8RejectsOverlongAndSurrogateForms) {
  EXPECT_EQ(platform::Utf8ToWideText("\xc0\xaf"), L"\uFFFD\uFFFD");
  EXPECT_EQ(platform::Utf8ToWideText("\xed\xa0\x80"), L"\uFFFD\uFFFD\uFFFD");
  EXPECT_EQ(platform::WideToUtf8(L"\u00e9\u4e2d\U0001F3AE"), "\xc3\xa9\xe4\xb8\xad\xf0\x9f\x8e\xae");
}

}  // namespace
