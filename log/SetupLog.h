#pragma once

// The setup log: one file per day in "lumogame/setupLogs/" under the roaming application-data
// folder, the newest seven kept. It opens itself on the first write; a log that cannot be opened
// drops its lines and is tried again on the next write. Safe to call from any thread: every line
// reaches the file whole.
//
// Messages begin with "[file:line]" by convention; LGC_LOG and LGC_LOGW below add it.

// printf-style. A message longer than 4095 bytes is cut at a character boundary.
void WriteLog(const char* format, ...) __attribute__((format(printf, 1, 2)));

// wprintf-style (on this platform "%s" takes a narrow text and "%ls" a wide one). The message is
// written in the system's multibyte encoding; a message longer than 4095 characters is cut.
void WriteLogW(const wchar_t* format, ...);

// Closes the log. A later write opens it again, rotating the folder once more.
void CloseLog();

// Writes a log line prefixed with "[source:line]", where source is the calling file's
// kLogSource (for example "main" or "DlgMain") and line its line number.
#define LGC_LOG(format, ...) ::WriteLog("[%s:%d]" format, kLogSource, __LINE__ __VA_OPT__(, ) __VA_ARGS__)
#define LGC_LOGW(format, ...) ::WriteLogW(L"[%s:%d]" format, kLogSource, __LINE__ __VA_OPT__(, ) __VA_ARGS__)
