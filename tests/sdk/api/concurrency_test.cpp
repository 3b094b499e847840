// Connections used from several threads at once: each thread opens, talks to and closes its
// own reader while the others do the same, so the registry and the handle pools are shared.
#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>

#include "emulated_reader.h"
#include "kxlf.h"
#include "sdk_app.h"

namespace kxlf {
namespace {

using testing::EmulatedReader;

TEST(Concurrency, ThreadsOnDifferentConnectionsDoNotDisturbEachOther) {
  constexpr int kThreads = 4;
  constexpr int kRounds = 10;
  std::vector<std::unique_ptr<EmulatedReader>> readers;
  for (int i = 0; i < kThreads; ++i)
    readers.push_back(std::make_unique<EmulatedReader>());

  std::atomic<int> failures{0};
  std::vector<std::thread> threads;
  for (int i = 0; i < kThreads; ++i) {
    threads.emplace_back([&, i] {
      for (int round = 0; round < kRounds; ++round) {
        const int handle = KxLfOpen(readers[i]->device.c_str(), 19200, 0, 500);
        if (handle <= 0) {
          ++failures;
          continue;
        }
        unsigned char version[4];
        for (int exchange = 0; exchange < 5; ++exchange) {
          if (KxLfGetVersion(handle, version, 4, nullptr, 0) != 4)
            ++failures;
        }
        if (KxLfClose(handle) != 0)
          ++failures;
      }
    });
  }
  // Meanwhile another thread keeps walking the registry with handles nobody owns.
  std::atomic<bool> done{false};
  std::thread walker([&] {
    while (!done)
      KxLfGetLastError(9999);
  });
  for (std::thread& thread : threads)
    thread.join();
  done = true;
  walker.join();

  EXPECT_EQ(failures.load(), 0);
  EXPECT_EQ(CKX_LF_SDKApp::Instance().ConnectionCount(), 0u);
}

TEST(Concurrency, HandlesStayUniqueUnderParallelOpens) {
  constexpr int kThreads = 4;
  std::vector<std::unique_ptr<EmulatedReader>> readers;
  for (int i = 0; i < kThreads; ++i)
    readers.push_back(std::make_unique<EmulatedReader>());
  std::vector<int> handles(kThreads);
  std::vector<std::thread> threads;
  for (int i = 0; i < kThreads; ++i)
    threads.emplace_back(
        [&, i] { handles[i] = KxLfOpen(readers[i]->device.c_str(), 19200, 0, 500); });
  for (std::thread& thread : threads)
    thread.join();
  EXPECT_EQ(std::set<int>(handles.begin(), handles.end()), (std::set<int>{1, 2, 3, 4}));
  for (int handle : handles)
    EXPECT_EQ(KxLfClose(handle), 0);
}

}  // namespace
}  // namespace kxlf
