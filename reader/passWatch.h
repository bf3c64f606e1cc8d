// What the thread that starts a pass learns of it, and may ask of it, while the workers
// read: how many of the pass's bytes they have read, and that they stop at their next
// block. The workers only count and look; the waiting thread alone does the rest.
#ifndef SKERROW_READER_PASSWATCH_H
#define SKERROW_READER_PASSWATCH_H

#include <atomic>
#include <functional>

struct PassWatch {
    std::atomic<unsigned long long> bytesRead{0};
    unsigned long long bytesToRead = 0;  // of the pass now running
    unsigned passes = 0;                 // begun so far
    std::atomic<bool> stopAsked{false};
    // Called on the thread that started the pass, every kWatchInterval while its workers
    // run (every worker then runs on a thread of its own), and once before they start.
    std::function<void(const PassWatch&)> whileWaiting;
};

// Starts counting a pass of bytes bytes afresh.
inline void beginWatchedPass(PassWatch* watch, unsigned long long bytes) {
    if (!watch) return;
    watch->bytesRead = 0;
    watch->bytesToRead = bytes;
    ++watch->passes;
}

// The watch asks the pass to stop.
inline bool stopAsked(const PassWatch* watch) { return watch && watch->stopAsked.load(std::memory_order_relaxed); }

#endif
