// The threads a pass runs on. Each worker reads and parses a range of the file of its own
// with a reader of its own; the results are merged in the file's order by the thread that
// started them, which alone touches the window.
#ifndef SKERROW_READER_WORKERS_H
#define SKERROW_READER_WORKERS_H

#include <thread>
#include <vector>

// How many workers the passes run: SKERROW_THREADS when it is set to a number from 1
// to 64, otherwise the processor's cores (std::thread::hardware_concurrency), 1 at least.
int workerCount();

// Runs work(0) to work(count - 1) at once, work(0) on the calling thread, and returns
// when every one has ended; nothing when count is below 1.
template <class Work>
void runWorkers(int count, Work&& work) {
    if (count < 1) return;
    std::vector<std::thread> others;
    others.reserve(count > 1 ? static_cast<size_t>(count - 1) : 0);
    for (int i = 1; i < count; ++i) others.emplace_back([&work, i] { work(i); });
    work(0);
    for (std::thread& other : others) other.join();
}

#endif
