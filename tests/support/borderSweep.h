// How finely the worker tests sweep the borders between the workers' parts over a file.
#ifndef SKERROW_TESTS_SUPPORT_BORDERSWEEP_H
#define SKERROW_TESTS_SUPPORT_BORDERSWEEP_H

// Characters of padding between two border positions. Under a sanitizer, every third
// position of the sweeps: the workers' reading is as much exercised, at a third of the cost.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr int kSweepStep = 6;
#else
constexpr int kSweepStep = 2;
#endif

#endif
