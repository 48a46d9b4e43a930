#include "service/profile_records.h"

#include <new>

#include "host/host_calls.h"
#include "study/state_keys.h"

namespace ostrel {

GexData* gexRecord(StudyHost& host) {
  return static_cast<GexData*>(host::storedPointer(host, key::p_gex_data));
}

GreekData* greekRecord(StudyHost& host) {
  return static_cast<GreekData*>(host::storedPointer(host, key::p_greek_data));
}

bool ensureProfileRecords(StudyHost& host) {
  bool created = true;
  if (gexRecord(host) == nullptr) {
    if (GexData* record = new (std::nothrow) GexData()) {
      host::setStoredPointer(host, key::p_gex_data, record);
      // A host without pointer storage would lose the record on every call.
      if (gexRecord(host) != record) delete record;
    } else {
      created = false;
    }
  }
  if (greekRecord(host) == nullptr) {
    if (GreekData* record = new (std::nothrow) GreekData()) {
      host::setStoredPointer(host, key::p_greek_data, record);
      if (greekRecord(host) != record) delete record;
    } else {
      created = false;
    }
  }
  return created;
}

void clearProfileRecords(StudyHost& host) {
  if (GexData* gex = gexRecord(host)) gex->clear();
  if (GreekData* greek = greekRecord(host)) greek->clear();
}

void releaseProfileRecords(StudyHost& host) {
  if (GexData* gex = gexRecord(host)) {
    delete gex;
    host::setStoredPointer(host, key::p_gex_data, nullptr);
  }
  if (GreekData* greek = greekRecord(host)) {
    delete greek;
    host::setStoredPointer(host, key::p_greek_data, nullptr);
  }
}

}  // namespace ostrel
