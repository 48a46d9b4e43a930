#include "sim/zone_cache.h"

#include <cstring>
#include <utility>

namespace ostrel::sim {

bool ZoneCache::setHostZone(const char* zone) {
  ZoneRule rule;
  if (!parseZoneRule(zone, rule)) return false;
  host_ = rule;
  host_memo_.reset();
  return true;
}

ZoneCache::Entry* ZoneCache::find(const char* zone) {
  if (last_ < entries_.size() && std::strcmp(entries_[last_].text.c_str(), zone) == 0) {
    return &entries_[last_];
  }
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (std::strcmp(entries_[i].text.c_str(), zone) == 0) {
      last_ = i;
      return &entries_[i];
    }
  }
  if (entries_.size() >= kLimit) entries_.clear();
  Entry entry;
  entry.text = zone;
  entry.valid = parseZoneRule(zone, entry.rule);
  entries_.push_back(std::move(entry));
  last_ = entries_.size() - 1;
  return &entries_.back();
}

bool ZoneCache::convert(std::int64_t& t, const char* zone, bool to_zone) {
  if (zone == nullptr || zone[0] == '\0') return true;
  Entry* entry = find(zone);
  if (!entry->valid) return false;
  if (to_zone) {
    t = utcToLocal(entry->rule, localToUtc(host_, t, host_memo_), entry->memo);
  } else {
    t = utcToLocal(host_, localToUtc(entry->rule, t, entry->memo), host_memo_);
  }
  return true;
}

}  // namespace ostrel::sim
