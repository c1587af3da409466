// Measures the undo history: resident memory after 1000 edits, and the time to undo and redo
// "Clear All" on a full 112-key layout. Run by scripts/bench.
#include "core/document/Document.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

namespace {

class YesPrompts final : public zr4700::UserPrompts {
  public:
    bool AskYesNo(int, const std::vector<std::string>&) override { return true; }
    void ShowError(int, const std::vector<std::string>&) override {}
    void ShowWarningDetail(int, const std::vector<std::string>&, const std::string&) override {}
};

// Resident memory in kB, from /proc (0 where there is none).
long ResidentKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    }
    return 0;
}

void ProgramAllKeys(zr4700::Document& document) {
    // The 112-key model, as the settings dialog sets it.
    document.ApplySettings(document.layout().settings, zr4700::kMaxKeys);
    for (int k = 1; k <= zr4700::kMaxKeys; ++k) {
        document.SelectKey(k);
        zr4700::KeyCodes codes{};
        for (int slot = 0; slot < zr4700::kCodeSlots; ++slot)
            codes[static_cast<size_t>(slot)] = 0x1C + slot;
        document.ApplyCapturedCodes(codes, {});
        document.RenameKey("Cash drawer " + std::to_string(k));
    }
}

} // namespace

int main() {
    using Clock = std::chrono::steady_clock;
    YesPrompts prompts;

    {
        zr4700::Document document(prompts);
        ProgramAllKeys(document);
        const long before = ResidentKb();
        for (int i = 0; i < 1000; ++i) {
            document.SelectKey(1 + i % zr4700::kMaxKeys);
            document.EndTyping();
            if (i % 2 == 0)
                document.RenameKey("Edit " + std::to_string(i));
            else
                document.SetMode(i % 3);
        }
        const long after = ResidentKb();
        std::printf(
            "undo: 1000 edits in the history (%zu kept) take %.2f MB resident (goal < 10 MB)\n",
            document.history().count(), (after - before) / 1024.0);
    }

    zr4700::Document document(prompts);
    ProgramAllKeys(document);
    document.ClearAll();
    document.Undo();
    const bool restored = document.layout().key(zr4700::kMaxKeys).programmed();
    document.Redo();
    if (!restored || document.layout().key(zr4700::kMaxKeys).programmed()) {
        std::fprintf(stderr, "undo-bench: Clear All is not undone and redone\n");
        return 1;
    }
    const int rounds = 50;
    Clock::duration undo{}, redo{};
    for (int i = 0; i < rounds; ++i) {
        const auto t0 = Clock::now();
        document.Undo();
        const auto t1 = Clock::now();
        document.Redo();
        const auto t2 = Clock::now();
        undo += t1 - t0;
        redo += t2 - t1;
    }
    const auto ms = [rounds](Clock::duration d) {
        return std::chrono::duration<double, std::milli>(d).count() / rounds;
    };
    std::printf("undo: Clear All of a full 112-key layout undone in %.3f ms, redone in %.3f ms "
                "(goal < 5 ms each)\n",
                ms(undo), ms(redo));
    return 0;
}
