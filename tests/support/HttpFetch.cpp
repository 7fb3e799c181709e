#include "tests/support/HttpFetch.h"

#include <algorithm>
#include <cctype>
#include <sstream>

namespace test {
namespace {

std::size_t Append(char* data, std::size_t size, std::size_t count, void* target) {
  static_cast<std::string*>(target)->append(data, size * count);
  return size * count;
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

std::string Trim(const std::string& text) {
  const auto begin = text.find_first_not_of(" \t\r\n");
  if (begin == std::string::npos) return "";
  return text.substr(begin, text.find_last_not_of(" \t\r\n") - begin + 1);
}

// The header lines of the last answer: those after the last status line.
std::vector<std::string> LastAnswerLines(const std::string& headers) {
  std::vector<std::string> lines;
  std::istringstream in(headers);
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with("HTTP/")) lines.clear();
    lines.push_back(Trim(line));
  }
  return lines;
}

}  // namespace

std::optional<std::string> FetchResult::Header(const std::string& name) const {
  const std::string wanted = Lower(name) + ":";
  for (const auto& line : LastAnswerLines(headers)) {
    if (Lower(line).starts_with(wanted)) return Trim(line.substr(wanted.size()));
  }
  return std::nullopt;
}

int FetchResult::CountStatus(long wanted) const {
  int count = 0;
  std::istringstream in(headers);
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with("HTTP/") && line.find(" " + std::to_string(wanted) + " ") != std::string::npos) ++count;
  }
  return count;
}

FetchResult Fetch(const FetchRequest& request) {
  FetchResult result;
  CURL* curl = curl_easy_init();
  if (curl == nullptr) {
    result.code = CURLE_FAILED_INIT;
    return result;
  }
  curl_easy_setopt(curl, CURLOPT_URL, request.url.c_str());
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Append);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &result.body);
  curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, Append);
  curl_easy_setopt(curl, CURLOPT_HEADERDATA, &result.headers);
  if (!request.caFile.empty()) curl_easy_setopt(curl, CURLOPT_CAINFO, request.caFile.c_str());
  if (request.method == "HEAD") curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
  if (request.method == "POST") {
    curl_easy_setopt(curl, CURLOPT_POST, 1L);
    curl_easy_setopt(curl, CURLOPT_POSTFIELDS, request.body.c_str());
    curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE, static_cast<long>(request.body.size()));
  }
  if (!request.range.empty()) curl_easy_setopt(curl, CURLOPT_RANGE, request.range.c_str());
  if (request.maxRedirects > 0) {
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, request.maxRedirects);
  }
  if (request.timeout) curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, static_cast<long>(request.timeout->count()));

  result.code = curl_easy_perform(curl);
  curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &result.status);
  curl_easy_getinfo(curl, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &result.contentLength);
  curl_easy_cleanup(curl);
  return result;
}

}  // namespace test
