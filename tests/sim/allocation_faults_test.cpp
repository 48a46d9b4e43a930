#include "sim/allocation_faults.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <string>

#include "host/host_string.h"

namespace ostrel::sim {
namespace {

// The allocations below land in volatile pointers so that the compiler keeps every one of them.
struct Attempts {
  bool new_threw[3] = {false, false, false};
  bool malloc_null[3] = {false, false, false};
};

Attempts allocateThreeOfEach() {
  Attempts a;
  for (int i = 0; i < 3; ++i) {
    try {
      int* volatile block = new int(i);
      delete block;
    } catch (const std::bad_alloc&) {
      a.new_threw[i] = true;
    }
    void* volatile block = std::malloc(16);
    a.malloc_null[i] = block == nullptr;
    std::free(block);
  }
  return a;
}

class AllocationFaults : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!allocationHooksInstalled()) GTEST_SKIP() << "no allocation hooks in this build";
  }
  void TearDown() override { endAllocationSession(); }
};

TEST_F(AllocationFaults, CountsOnlyInsideTheStudysCalls) {
  startAllocationSession(/*fail_at=*/0);
  (void)allocateThreeOfEach();  // before any call: the simulator's own
  {
    const StudyCallScope study;
    (void)allocateThreeOfEach();
    {
      const HostCallScope host;
      (void)allocateThreeOfEach();  // a host operation inside the call
    }
  }
  const AllocationReport report = endAllocationSession();
  EXPECT_EQ(report.allocations, 6u);
  EXPECT_FALSE(report.failed);
  EXPECT_EQ(report.failed_call, -1);
  {
    const StudyCallScope study;  // no session: nothing counts
    (void)allocateThreeOfEach();
  }
  EXPECT_EQ(allocationReport().allocations, 0u);
}

// The Nth allocation fails the way it fails when memory runs out: operator new throws, the C
// heap answers null. Only that one: the ones before and after succeed.
TEST_F(AllocationFaults, FailsExactlyTheNthAllocation) {
  struct Case {
    std::uint64_t n;
    int new_failing;     // index of the `new` that throws, -1: none
    int malloc_failing;  // index of the malloc that answers null, -1: none
  };
  const Case cases[] = {{1, 0, -1}, {2, -1, 0}, {3, 1, -1}, {6, -1, 2}, {7, -1, -1}};
  for (const Case& c : cases) {
    startAllocationSession(c.n);
    setAllocationCall(4);
    Attempts a;
    {
      const StudyCallScope study;
      a = allocateThreeOfEach();
    }
    const AllocationReport report = endAllocationSession();
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(a.new_threw[i], i == c.new_failing) << "N " << c.n << ", new " << i;
      EXPECT_EQ(a.malloc_null[i], i == c.malloc_failing) << "N " << c.n << ", malloc " << i;
    }
    EXPECT_EQ(report.allocations, 6u) << "N " << c.n;
    EXPECT_EQ(report.failed, c.n <= 6) << "N " << c.n;
    EXPECT_EQ(report.failed_call, c.n <= 6 ? 4 : -1) << "N " << c.n;
  }
}

// calloc, realloc and the host-string heap are C allocations too; a realloc that frees is not.
TEST_F(AllocationFaults, CountsEveryCAllocationAndTheHostStringHeap) {
  startAllocationSession(/*fail_at=*/4);
  bool calloc_ok = false;
  bool realloc_ok = false;
  bool host_ok = false;
  bool text_empty = false;
  {
    const StudyCallScope study;
    void* volatile zeroed = std::calloc(2, 8);
    calloc_ok = zeroed != nullptr;
    void* volatile grown = std::realloc(zeroed, 64);
    realloc_ok = grown != nullptr;
    void* volatile freed = std::realloc(grown, 0);  // frees: not counted
    std::free(freed);
    void* volatile host = hostAllocate(8);
    host_ok = host != nullptr;
    hostFree(host);
    HostString text("out of memory here");
    text_empty = text.empty() && std::string(text.c_str()).empty();
  }
  const AllocationReport report = endAllocationSession();
  EXPECT_TRUE(calloc_ok);
  EXPECT_TRUE(realloc_ok);
  EXPECT_TRUE(host_ok);
  EXPECT_TRUE(text_empty) << "a HostString whose allocation fails is empty";
  EXPECT_EQ(report.allocations, 4u);
}

}  // namespace
}  // namespace ostrel::sim
