// Recorded answers: a directory of files, one per request path, served instead of the model.
//
// The path /v2/sierra/SPX/classic/full is answered from DIR/v2/sierra/SPX/classic/full.json (or
// the same name without ".json"); the query string plays no part. Paths holding ".." or a
// backslash are never looked up. Files are read on each request, so they can change under a
// running service.
#pragma once

#include <string>

namespace ostrel::mock {

class RecordedAnswers {
 public:
  explicit RecordedAnswers(std::string directory) : directory_(std::move(directory)) {}

  bool enabled() const noexcept { return !directory_.empty(); }
  // True and the file's bytes when a recorded answer exists for the path.
  bool find(const std::string& path, std::string& body) const;

 private:
  std::string directory_;
};

}  // namespace ostrel::mock
