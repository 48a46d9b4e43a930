#include "model/json_document.h"

#include <cstring>

#include "host/host_string.h"
#include "model/json_number_guard.h"

namespace ostrel::json {

JsonDocument::JsonDocument() noexcept = default;
JsonDocument::~JsonDocument() = default;

bool JsonDocument::parse(const char* text) noexcept {
  document_.reset();
  if (text == nullptr) text = "";
  if (checkJsonText(text, HostString::kMaxLength) != TextVerdict::ok) return false;
  try {
    auto document = std::make_unique<Document>();
    document->Parse<rapidjson::kParseIterativeFlag>(text);
    if (document->HasParseError()) return false;
    document_ = std::move(document);
    return true;
  } catch (...) {
    // std::bad_alloc from our allocator or from RapidJSON's own operator new.
    return false;
  }
}

const Value& JsonDocument::root() const noexcept {
  return document_ != nullptr ? *document_ : null_value_;
}

const Value* findMember(const Value* object, const char* name) noexcept {
  if (object == nullptr || !object->IsObject() || name == nullptr) return nullptr;
  const auto member = object->FindMember(name);
  return member != object->MemberEnd() ? &member->value : nullptr;
}

const char* readString(const Value* value) noexcept {
  return value != nullptr && value->IsString() ? value->GetString() : nullptr;
}

bool stringEquals(const Value* value, const char* expected) noexcept {
  if (value == nullptr || !value->IsString() || expected == nullptr) return false;
  const std::size_t length = std::strlen(expected);
  return value->GetStringLength() == length &&
         std::memcmp(value->GetString(), expected, length) == 0;
}

bool isNonEmptyObject(const Value* value) noexcept {
  return value != nullptr && value->IsObject() && value->MemberCount() > 0;
}

}  // namespace ostrel::json
