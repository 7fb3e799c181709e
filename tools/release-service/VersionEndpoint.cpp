#include "tools/release-service/VersionEndpoint.h"

#include <cstdio>

namespace release_service {
namespace {

std::string JsonString(const std::string& text) {
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(static_cast<unsigned char>(c)));
      quoted += escaped;
    } else {
      quoted += c;
    }
  }
  return quoted + "\"";
}

std::string Member(const std::string& name, const std::string& value) {
  return JsonString(name) + ":" + value;
}

std::string UrlValue(const std::string& url, const AppliedFaults& faults) {
  if (faults.Has(Fault::NullUrl)) return "null";
  if (faults.Has(Fault::UrlArray)) return "[" + JsonString(url) + "]";
  if (faults.Has(Fault::UrlObject)) return "{" + Member("href", JsonString(url)) + "}";
  return JsonString(url);
}

std::string DataValue(const std::string& version, const std::string& url, const AppliedFaults& faults) {
  if (faults.Has(Fault::DataNotObject)) return JsonString(url);
  std::string members;
  auto add = [&](const std::string& member) { members += (members.empty() ? "" : ",") + member; };
  if (!faults.Has(Fault::NoRelVer))
    add(Member("rel_ver", faults.Has(Fault::NullRelVer) ? "null" : JsonString(version)));
  if (!faults.Has(Fault::NoUrl)) add(Member("url", UrlValue(url, faults)));
  return "{" + members + "}";
}

}  // namespace

Answer VersionAnswer(const std::string& releaseVersion, const std::string& releaseBase, const AppliedFaults& faults) {
  const std::string version = faults.Has(Fault::RelVerText) ? faults.Text(Fault::RelVerText) : releaseVersion;
  const std::string url = faults.Has(Fault::UrlText) ? faults.Text(Fault::UrlText) : releaseBase;
  const std::string head = "{" + Member("code", "0") + "," + Member("msg", JsonString("ok")) + ",";

  std::string body;
  if (faults.Has(Fault::EmptyBody)) {
    body = "";
  } else if (faults.Has(Fault::InvalidJson)) {
    body = head + "\"data\":{\"rel_ver\":" + JsonString(version) + ",\"url\":";
  } else {
    body = head + Member("data", DataValue(version, url, faults)) + "}";
    if (faults.Has(Fault::RootNotObject)) body = "[" + body + "]";
  }
  return Answer::Text(200, body, "application/json");
}

}  // namespace release_service
