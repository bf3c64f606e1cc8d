// The threads a pass runs on. Each worker reads and parses a range of the file of its own
// with a reader of its own; the results are merged in the file's order by the thread that
// started them, which alone touches the window.
#ifndef SKERROW_READER_WORKERS_H
#define SKERROW_READER_WORKERS_H

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "reader/passWatch.h"

// How many workers the passes run: SKERROW_THREADS when it is set to a number from 1
// to 64, otherwise the processor's cores (std::thread::hardware_concurrency), 1 at least.
int workerCount();

// How often a watched pass's starting thread looks up from waiting.
constexpr std::chrono::milliseconds kWatchInterval{50};

// Runs work(0) to work(count - 1) at once and returns when every one has ended; nothing
// when count is below 1. Unwatched, work(0) runs on the calling thread; watched, every
// worker runs on a thread of its own while the calling thread waits, calling the watch's
// whileWaiting once at the start and every kWatchInterval.
template <class Work>
void runWorkers(int count, Work&& work, PassWatch* watch = nullptr) {
    if (count < 1) return;
    const bool watched = watch && watch->whileWaiting;
    const int first = watched ? 0 : 1;
    std::mutex mutex;
    std::condition_variable ended;
    int running = count - first;
    std::vector<std::thread> others;
    others.reserve(static_cast<size_t>(running));
    for (int i = first; i < count; ++i)
        others.emplace_back([&, i] {
            work(i);
            std::lock_guard<std::mutex> lock(mutex);
            if (--running == 0) ended.notify_all();
        });
    if (watched) {
        watch->whileWaiting(*watch);
        std::unique_lock<std::mutex> lock(mutex);
        while (!ended.wait_for(lock, kWatchInterval, [&] { return running == 0; })) {
            lock.unlock();
            watch->whileWaiting(*watch);
            lock.lock();
        }
    } else {
        work(0);
    }
    for (std::thread& other : others) other.join();
}

#endif
