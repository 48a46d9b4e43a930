#include "model/json_document.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include <rapidjson/reader.h>

#include "host/host_string.h"
#include "model/json_number_guard.h"

namespace ostrel::json {
namespace {

// The document as the reader's event handler, with a nesting count: the parse stops, as if the
// handler had refused the value, when an object or array would open one level too deep. The
// recursive reader then never goes deeper than kRecursiveParseDepth frames.
class DepthLimitedHandler {
 public:
  explicit DepthLimitedHandler(Document& document) noexcept : document_(document) {}

  bool Null() { return document_.Null(); }
  bool Bool(bool b) { return document_.Bool(b); }
  bool Int(int i) { return document_.Int(i); }
  bool Uint(unsigned u) { return document_.Uint(u); }
  bool Int64(std::int64_t i) { return document_.Int64(i); }
  bool Uint64(std::uint64_t u) { return document_.Uint64(u); }
  bool Double(double d) { return document_.Double(d); }
  bool RawNumber(const char* text, rapidjson::SizeType length, bool copy) {
    return document_.RawNumber(text, length, copy);
  }
  bool String(const char* text, rapidjson::SizeType length, bool copy) {
    return document_.String(text, length, copy);
  }
  bool Key(const char* text, rapidjson::SizeType length, bool copy) {
    return document_.Key(text, length, copy);
  }
  bool StartObject() { return open() && document_.StartObject(); }
  bool EndObject(rapidjson::SizeType members) {
    --depth_;
    return document_.EndObject(members);
  }
  bool StartArray() { return open() && document_.StartArray(); }
  bool EndArray(rapidjson::SizeType elements) {
    --depth_;
    return document_.EndArray(elements);
  }

  bool tooDeep() const noexcept { return too_deep_; }

 private:
  bool open() noexcept {
    if (depth_ == kRecursiveParseDepth) {
      too_deep_ = true;
      return false;
    }
    ++depth_;
    return true;
  }

  Document& document_;
  std::size_t depth_ = 0;
  bool too_deep_ = false;
};

// Document::Populate's generator: one recursive parse of `text` (the default flags) into the
// document, which keeps the value only when the parse succeeds.
struct RecursiveParse {
  const char* text;
  bool parsed = false;
  bool too_deep = false;

  bool operator()(Document& document) {
    // Handed in, so that the reader's stack does not allocate an allocator object of its own.
    ThrowingAllocator stack_allocator;
    rapidjson::GenericReader<rapidjson::UTF8<>, rapidjson::UTF8<>, ThrowingAllocator> reader(
        &stack_allocator);
    DepthLimitedHandler handler(document);
    rapidjson::StringStream stream(text);
    parsed = !reader.Parse<rapidjson::kParseDefaultFlags>(stream, handler).IsError();
    too_deep = handler.tooDeep();
    return parsed;
  }
};

}  // namespace

JsonDocument::JsonDocument() noexcept = default;
JsonDocument::~JsonDocument() = default;

bool JsonDocument::parse(const char* text) {
  document_.reset();
  if (text == nullptr) text = "";
  const TextVerdict verdict = checkJsonText(text, HostString::kMaxLength);
  if (verdict == TextVerdict::too_long || verdict == TextVerdict::unsafe_number) return false;
  try {
    // Rare: numbers below the reader's exponent arithmetic are read from a copy in which they
    // are written as the zeros they are.
    std::string rewritten;
    if (verdict == TextVerdict::zero_numbers) {
      rewritten.assign(text);
      rewriteZeroNumbers(&rewritten[0]);
      text = rewritten.c_str();
    }
    auto document = std::make_unique<Document>();
    RecursiveParse recursive{text};
    document->Populate(recursive);
    if (recursive.too_deep) {
      // Deeper than the stack allows: the iterative reader, which accepts exactly the same texts.
      document.reset();  // the partial document's pool goes first
      document = std::make_unique<Document>();
      document->Parse<rapidjson::kParseIterativeFlag>(text);
      if (document->HasParseError()) return false;
    } else if (!recursive.parsed) {
      return false;
    }
    document_ = std::move(document);
    return true;
  } catch (const std::bad_alloc&) {
    // From our allocator or from RapidJSON's own operator new: the caller's step gives up.
    throw;
  } catch (...) {
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
