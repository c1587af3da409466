#pragma once
// What the fuzz targets share: a check that stops the run with a message when a property does not
// hold (libFuzzer records the input that broke it as a crash), and prompts that answer nothing.

#include "core/document/UserPrompts.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace zr4700::fuzz {

inline void Check(bool holds, const char* what, int key = 0) {
    if (holds)
        return;
    if (key != 0)
        std::fprintf(stderr, "\nproperty broken: %s (key %d)\n", what, key);
    else
        std::fprintf(stderr, "\nproperty broken: %s\n", what);
    std::abort();
}

// A fuzz run has no user: questions are answered No, errors are dropped.
class SilentPrompts final : public UserPrompts {
  public:
    bool AskYesNo(int, const std::vector<std::string>& = {}) override { return false; }
    void ShowError(int, const std::vector<std::string>& = {}) override {}
    void ShowWarningDetail(int, const std::vector<std::string>&, const std::string&) override {}
};

} // namespace zr4700::fuzz
