#include "mock/recorded_answers.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace ostrel::mock {

namespace {
bool readFile(const std::string& name, std::string& body) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(name, error)) return false;
  std::ifstream in(name, std::ios::binary);
  if (!in) return false;
  std::ostringstream text;
  text << in.rdbuf();
  body = text.str();
  return true;
}
}  // namespace

bool RecordedAnswers::find(const std::string& path, std::string& body) const {
  if (!enabled() || path.empty() || path[0] != '/') return false;
  if (path.find("..") != std::string::npos || path.find('\\') != std::string::npos) return false;
  const std::string base = directory_ + path;
  return readFile(base + ".json", body) || readFile(base, body);
}

}  // namespace ostrel::mock
