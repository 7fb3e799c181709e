#include "diag/EventReport.h"

#include <cstdio>
#include <memory>

#include "log/SetupLog.h"
#include "lumo/BuildSettings.h"
#include "net/http/HttpClient.h"

namespace {

constexpr char kEventFormat[] = "cid=%s&unid=0&appid=S0503&event=%s&sid=0&ver=1.0.0&user=0&ext=%s";

const char* OrEmpty(const char* text) {
  return text != nullptr ? text : "";
}

}  // namespace

std::string MakeEventForm(const std::string& clientId, const char* event, const char* ext) {
  char form[kEventFormCapacity];
  const int length = std::snprintf(form, sizeof form, kEventFormat, clientId.c_str(), OrEmpty(event), OrEmpty(ext));
  if (length < 0) return {};
  return form;
}

void EventReport(const InstallContext& context, const char* event, const char* ext) {
  EventReportTo(lumo::build::kTelemetryUrl, context, event, ext);
}

void EventReportTo(const std::string& telemetryUrl, const InstallContext& context, const char* event, const char* ext) {
  auto request = std::make_unique<nbt::HttpRequest>();
  request->method = nbt::HttpMethod::HTTP_POST;
  request->url = telemetryUrl;
  request->body = MakeEventForm(context.clientId, event, ext);
  request->callback = [](nbt::HttpResponse*) {};
  nbt::HttpClient::Instance()->Send(std::move(request));
  WriteLog("EventReport:%s", OrEmpty(event));
}
