#include "net/curl/CurlOptionTable.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "net/curl/AppendToString.h"
#include "net/curl/CurlGlobal.h"

namespace {

using nbt::HttpMethod;
using nbt::OptionNeed;

struct Names {
  CURLoption option;
  const char* name;
};

std::string NameOf(CURLoption option) {
  static const Names kNames[] = {
      {CURLOPT_ERRORBUFFER, "ERRORBUFFER"},
      {CURLOPT_TIMEOUT, "TIMEOUT"},
      {CURLOPT_CONNECTTIMEOUT, "CONNECTTIMEOUT"},
      {CURLOPT_NOSIGNAL, "NOSIGNAL"},
      {CURLOPT_HTTPHEADER, "HTTPHEADER"},
      {CURLOPT_FOLLOWLOCATION, "FOLLOWLOCATION"},
      {CURLOPT_MAXREDIRS, "MAXREDIRS"},
      {CURLOPT_SSL_VERIFYPEER, "SSL_VERIFYPEER"},
      {CURLOPT_SSL_VERIFYHOST, "SSL_VERIFYHOST"},
      {CURLOPT_CAINFO, "CAINFO"},
      {CURLOPT_RESOLVE, "RESOLVE"},
      {CURLOPT_URL, "URL"},
      {CURLOPT_WRITEFUNCTION, "WRITEFUNCTION"},
      {CURLOPT_WRITEDATA, "WRITEDATA"},
      {CURLOPT_HEADERFUNCTION, "HEADERFUNCTION"},
      {CURLOPT_HEADERDATA, "HEADERDATA"},
      {CURLOPT_POST, "POST"},
      {CURLOPT_POSTFIELDS, "POSTFIELDS"},
      {CURLOPT_POSTFIELDSIZE, "POSTFIELDSIZE"},
      {CURLOPT_CUSTOMREQUEST, "CUSTOMREQUEST"},
  };
  for (const auto& entry : kNames) {
    if (entry.option == option) return entry.name;
  }
  return "option " + std::to_string(option);
}

// "NAME" for a required option, "name?" for an optional one.
std::vector<std::string> Describe(const std::vector<nbt::CurlOption>& table) {
  std::vector<std::string> names;
  for (const auto& entry : table) {
    std::string name = NameOf(entry.option);
    if (entry.need == OptionNeed::Optional) name += "?";
    names.push_back(name);
  }
  return names;
}

struct Fixture {
  nbt::HttpRequest request;
  char errorBuffer[CURL_ERROR_SIZE] = {};
  std::string body;
  std::string headers;
  curl_slist* headerLines = nullptr;
  curl_slist* pins = nullptr;
  const char* caBundle = "";

  nbt::AttemptOptions Options() {
    nbt::AttemptOptions options;
    options.request = &request;
    options.transferTimeoutSeconds = 10;
    options.connectTimeoutSeconds = 5;
    options.errorBuffer = errorBuffer;
    options.headerLines = headerLines;
    options.pinnedAddresses = pins;
    options.caBundle = caBundle;
    options.body = &body;
    options.headers = &headers;
    return options;
  }
};

const std::vector<std::string> kCommonHead = {"ERRORBUFFER", "TIMEOUT", "CONNECTTIMEOUT", "NOSIGNAL?"};
const std::vector<std::string> kCommonTail = {"URL", "WRITEFUNCTION", "WRITEDATA", "HEADERFUNCTION", "HEADERDATA"};

std::vector<std::string> Join(std::vector<std::vector<std::string>> parts) {
  std::vector<std::string> all;
  for (auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

struct MethodCase {
  HttpMethod method;
  std::vector<std::string> methodOptions;
};

TEST(CurlOptionTableTest, CommonOptionsComeInOrderThenTheMethodsOwn) {
  const MethodCase cases[] = {
      {HttpMethod::HTTP_GET, {}},
      {HttpMethod::HTTP_POST, {"POST", "POSTFIELDS", "POSTFIELDSIZE"}},
      {HttpMethod::HTTP_PUT, {"CUSTOMREQUEST", "POSTFIELDS", "POSTFIELDSIZE"}},
      {HttpMethod::HTTP_DELETE, {"CUSTOMREQUEST"}},
  };
  for (const auto& testCase : cases) {
    SCOPED_TRACE(static_cast<int>(testCase.method));
    Fixture fixture;
    fixture.request.method = testCase.method;
    fixture.request.url = "http://127.0.0.1/";
    const auto expected = Join({kCommonHead,
                                {"FOLLOWLOCATION?", "MAXREDIRS?", "SSL_VERIFYPEER", "SSL_VERIFYHOST"},
                                kCommonTail,
                                testCase.methodOptions});
    EXPECT_EQ(Describe(nbt::BuildOptionTable(fixture.Options())), expected);
  }
}

TEST(CurlOptionTableTest, HeaderLinesBundleAndPinsTakeTheirPlaces) {
  Fixture fixture;
  fixture.request.method = HttpMethod::HTTP_GET;
  curl_slist one{const_cast<char*>("X-One: 1"), nullptr};
  curl_slist pin{const_cast<char*>("example.test:443:127.0.0.1"), nullptr};
  fixture.headerLines = &one;
  fixture.pins = &pin;
  fixture.caBundle = "/ca.pem";
  const auto expected =
      Join({kCommonHead,
            {"HTTPHEADER", "FOLLOWLOCATION?", "MAXREDIRS?", "SSL_VERIFYPEER", "SSL_VERIFYHOST", "CAINFO", "RESOLVE"},
            kCommonTail});
  EXPECT_EQ(Describe(nbt::BuildOptionTable(fixture.Options())), expected);
}

long LongOf(const std::vector<nbt::CurlOption>& table, CURLoption option) {
  for (const auto& entry : table) {
    if (entry.option == option) return std::get<long>(entry.value);
  }
  ADD_FAILURE() << NameOf(option) << " missing";
  return -1;
}

const char* TextOf(const std::vector<nbt::CurlOption>& table, CURLoption option) {
  for (const auto& entry : table) {
    if (entry.option == option) return std::get<const char*>(entry.value);
  }
  ADD_FAILURE() << NameOf(option) << " missing";
  return nullptr;
}

TEST(CurlOptionTableTest, ValuesAreTheRequestsAndTheLimits) {
  Fixture fixture;
  fixture.request.url = "https://example.test/api";
  fixture.request.body = "a=1";
  const auto table = nbt::BuildOptionTable(fixture.Options());
  EXPECT_EQ(LongOf(table, CURLOPT_TIMEOUT), 10);
  EXPECT_EQ(LongOf(table, CURLOPT_CONNECTTIMEOUT), 5);
  EXPECT_EQ(LongOf(table, CURLOPT_MAXREDIRS), 5);
  EXPECT_EQ(LongOf(table, CURLOPT_SSL_VERIFYPEER), 1);
  EXPECT_EQ(LongOf(table, CURLOPT_SSL_VERIFYHOST), 2);
  EXPECT_STREQ(TextOf(table, CURLOPT_URL), "https://example.test/api");
  EXPECT_STREQ(TextOf(table, CURLOPT_POSTFIELDS), "a=1");
  EXPECT_EQ(LongOf(table, CURLOPT_POSTFIELDSIZE), 3);
}

TEST(CurlOptionTableTest, EmptyBodyPostsNothingWithSizeZero) {
  Fixture fixture;
  const auto table = nbt::BuildOptionTable(fixture.Options());
  EXPECT_EQ(TextOf(table, CURLOPT_POSTFIELDS), nullptr);
  EXPECT_EQ(LongOf(table, CURLOPT_POSTFIELDSIZE), 0);
}

TEST(CurlOptionTableTest, ARefusedRequiredOptionStopsTheRest) {
  Fixture fixture;
  const auto table = nbt::BuildOptionTable(fixture.Options());
  struct Case {
    CURLoption refused;
    bool stops;
  };
  for (const Case testCase : {Case{CURLOPT_URL, true}, Case{CURLOPT_NOSIGNAL, false}, Case{CURLOPT_MAXREDIRS, false},
                              Case{CURLOPT_POSTFIELDSIZE, true}}) {
    SCOPED_TRACE(NameOf(testCase.refused));
    std::vector<CURLoption> set;
    const auto rejected = nbt::ApplyOptionTable(table, [&](const nbt::CurlOption& entry) {
      set.push_back(entry.option);
      return entry.option == testCase.refused ? CURLE_UNKNOWN_OPTION : CURLE_OK;
    });
    EXPECT_EQ(rejected.has_value(), testCase.stops);
    if (testCase.stops) {
      EXPECT_EQ(rejected->option, testCase.refused);
      EXPECT_EQ(rejected->code, CURLE_UNKNOWN_OPTION);
      EXPECT_EQ(set.back(), testCase.refused);
    } else {
      EXPECT_EQ(set.size(), table.size());
    }
  }
}

TEST(CurlOptionTableTest, EveryEntryIsAcceptedByLibcurl) {
  nbt::EnsureCurlGlobalInit();
  Fixture fixture;
  fixture.caBundle = "/nonexistent/ca.pem";
  curl_slist pin{const_cast<char*>("example.test:80:127.0.0.1"), nullptr};
  fixture.pins = &pin;
  for (const HttpMethod method :
       {HttpMethod::HTTP_GET, HttpMethod::HTTP_POST, HttpMethod::HTTP_PUT, HttpMethod::HTTP_DELETE}) {
    fixture.request.method = method;
    CURL* handle = curl_easy_init();
    ASSERT_NE(handle, nullptr);
    const auto rejected = nbt::ApplyOptionTable(nbt::BuildOptionTable(fixture.Options()), [&](const auto& entry) {
      const CURLcode code = nbt::SetCurlOption(handle, entry);
      EXPECT_EQ(code, CURLE_OK) << NameOf(entry.option);
      return code;
    });
    EXPECT_FALSE(rejected);
    curl_easy_cleanup(handle);
  }
}

}  // namespace
