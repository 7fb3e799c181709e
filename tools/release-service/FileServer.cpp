#include "tools/release-service/FileServer.h"

#include <algorithm>

#include "tools/release-service/ByteRange.h"

namespace release_service {
namespace {

constexpr char kManifestName[] = "latest.yml";

std::string ContentTypeOf(const std::string& name) {
  return name == kManifestName ? "text/yaml" : "application/octet-stream";
}

Answer Slice(const ReleaseFolder::File& file, const std::string& name, std::int64_t offset, std::int64_t length) {
  Answer answer;
  answer.contentType = ContentTypeOf(name);
  answer.file = file.path;
  answer.offset = offset;
  answer.length = length;
  return answer;
}

std::string ContentRange(std::int64_t first, std::int64_t last, std::int64_t size) {
  return "bytes " + std::to_string(first) + "-" + std::to_string(last) + "/" + std::to_string(size);
}

}  // namespace

Answer FileAnswer(const ReleaseFolder& release, const std::string& name, const httplib::Request& request,
                  const AppliedFaults& faults) {
  const ReleaseFolder::File* file = release.Find(name);
  if (file == nullptr) return Answer::Text(404, "404 Not Found\n");

  const ByteRange range = request.has_header("Range") && !faults.Has(Fault::IgnoreRange)
                              ? ReadByteRange(request.get_header_value("Range"), file->size)
                              : ByteRange{};
  if (range.kind == ByteRange::Kind::Unsatisfiable) {
    Answer answer = Answer::Text(416, "416 Range Not Satisfiable\n");
    answer.headers.emplace_back("Content-Range", "bytes */" + std::to_string(file->size));
    return answer;
  }
  if (range.kind == ByteRange::Kind::Whole) {
    Answer answer = Slice(*file, name, 0, file->size);
    answer.headers.emplace_back("Accept-Ranges", faults.Has(Fault::IgnoreRange) ? "none" : "bytes");
    return answer;
  }

  std::int64_t length = range.Length();
  if (faults.Has(Fault::ShortRange))
    length = std::clamp<std::int64_t>(faults.Number(Fault::ShortRange, length / 2), 1, length);
  Answer answer = Slice(*file, name, range.first, length);
  answer.status = 206;
  answer.headers.emplace_back("Accept-Ranges", "bytes");
  answer.headers.emplace_back("Content-Range", ContentRange(range.first, range.first + length - 1, file->size));
  return answer;
}

}  // namespace release_service
