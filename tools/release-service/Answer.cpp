#include "tools/release-service/Answer.h"

#include <algorithm>
#include <fstream>
#include <memory>

#include "tools/release-service/Connection.h"

namespace release_service {
namespace {

constexpr std::int64_t kChunkSize = 64 * 1024;
constexpr std::chrono::minutes kHoldLimit{10};

// Reads the body in chunks, from memory or from the file.
class BodySource {
 public:
  explicit BodySource(const Answer& answer) : bytes_(answer.bytes), offset_(answer.offset) {
    if (!answer.file.empty()) file_ = std::make_shared<std::ifstream>(answer.file, std::ios::binary);
  }

  std::string Read(std::int64_t at, std::int64_t count) const {
    if (!file_) return bytes_.substr(static_cast<std::size_t>(at), static_cast<std::size_t>(count));
    std::string chunk(static_cast<std::size_t>(count), '\0');
    file_->clear();
    file_->seekg(offset_ + at);
    file_->read(chunk.data(), count);
    chunk.resize(static_cast<std::size_t>(std::max<std::streamsize>(0, file_->gcount())));
    return chunk;
  }

 private:
  std::string bytes_;
  std::int64_t offset_;
  std::shared_ptr<std::ifstream> file_;
};

std::int64_t BodyLength(const Answer& answer) {
  return answer.file.empty() ? static_cast<std::int64_t>(answer.bytes.size()) : answer.length;
}

enum class Ending { Complete, Stall, Reset, Cut };

Ending EndingOf(const AppliedFaults& faults) {
  if (faults.Has(Fault::Reset)) return Ending::Reset;
  if (faults.Has(Fault::Cut)) return Ending::Cut;
  if (faults.Has(Fault::Stall)) return Ending::Stall;
  return Ending::Complete;
}

std::int64_t BytesBeforeEnding(const AppliedFaults& faults, Ending ending, std::int64_t length) {
  const Fault fault = ending == Ending::Reset ? Fault::Reset : ending == Ending::Cut ? Fault::Cut : Fault::Stall;
  return std::clamp<std::int64_t>(faults.Number(fault, length / 2), 0, length);
}

// The provider sends the body's first `sent` bytes and then ends the transfer as the fault says.
httplib::ContentProvider MakeProvider(const httplib::Request& request, BodySource source, std::int64_t sent,
                                      Ending ending, const StopSignal& stop) {
  return [&request, source, sent, ending, &stop](std::size_t offset, std::size_t, httplib::DataSink& sink) {
    const auto at = static_cast<std::int64_t>(offset);
    if (at < sent) {
      const std::string chunk = source.Read(at, std::min(kChunkSize, sent - at));
      return !chunk.empty() && sink.write(chunk.data(), chunk.size());
    }
    if (ending == Ending::Complete) return false;
    const int socket = ConnectionSocket(request);
    switch (ending) {
      case Ending::Reset:
        WaitUntilDelivered(socket, stop);
        ResetNow(socket);
        break;
      case Ending::Cut:
        CloseNow(socket);
        break;
      case Ending::Stall:
        HoldWhileClientWaits(socket, stop, kHoldLimit);
        break;
      case Ending::Complete:
        break;
    }
    return false;
  };
}

}  // namespace

Answer Answer::Text(int status, std::string text, std::string contentType) {
  Answer answer;
  answer.status = status;
  answer.contentType = std::move(contentType);
  answer.bytes = std::move(text);
  return answer;
}

int SendAnswer(const httplib::Request& request, httplib::Response& response, const Answer& answer,
               const AppliedFaults& faults, const StopSignal& stop) {
  response.status = answer.status;
  for (const auto& [name, value] : answer.headers) response.set_header(name, value);
  const std::int64_t length = BodyLength(answer);

  if (request.method == "HEAD" && faults.Has(Fault::HeadNoLength)) {
    response.set_content_provider(answer.contentType, [](std::size_t, httplib::DataSink&) { return false; });
    return answer.status;
  }
  if (request.method == "HEAD" && faults.Has(Fault::HeadLength)) {
    const auto announced = static_cast<std::size_t>(faults.Number(Fault::HeadLength, 0));
    response.set_content_provider(announced, answer.contentType,
                                  [](std::size_t, std::size_t, httplib::DataSink&) { return false; });
    return answer.status;
  }
  if (length == 0) {
    response.set_content("", answer.contentType);
    return answer.status;
  }

  const Ending ending = EndingOf(faults);
  const std::int64_t sent = ending == Ending::Complete ? length : BytesBeforeEnding(faults, ending, length);
  response.set_content_provider(static_cast<std::size_t>(length), answer.contentType,
                                MakeProvider(request, BodySource(answer), sent, ending, stop));
  return answer.status;
}

}  // namespace release_service
