#pragma once

#include <cstddef>
#include <string>

#include "base/InstallContext.h"

// Telemetry: one short form per milestone or failure of a run, posted to a plain-HTTP receiver
// through the HTTP client and forgotten. Nobody waits for a report; its answer is ignored, and a
// report that cannot be delivered is lost. Every report leaves the setup-log line
// "EventReport:<event>".

// The form body's buffer, terminator included: a body is at most 511 characters.
inline constexpr std::size_t kEventFormCapacity = 512;

// "cid=%s&unid=0&appid=S0503&event=%s&sid=0&ver=1.0.0&user=0&ext=%s" with the values inserted as
// they are (no URL encoding), cut to 511 characters. A null text counts as empty.
std::string MakeEventForm(const std::string& clientId, const char* event, const char* ext);

// Reports the event to the telemetry endpoint built into the program. Returns at once; safe to call
// from the UI thread and from the thread that drains the deferred task queue.
void EventReport(const InstallContext& context, const char* event, const char* ext);

// The same, to the given telemetry URL.
void EventReportTo(const std::string& telemetryUrl, const InstallContext& context, const char* event, const char* ext);
