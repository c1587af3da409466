// Times saving and loading a full layout (112 programmed keys, 16scan) through the editor's
// writer and reader, the way File > Save and File > Open do it.
// Usage: layout-file-bench DIRECTORY [ROUNDS]

#include "core/files/LayoutFileEditor.h"
#include "core/model/Layout.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

class SilentPrompts : public zr4700::UserPrompts {
  public:
    bool AskYesNo(int, const std::vector<std::string>&) override { return false; }
    void ShowError(int id, const std::vector<std::string>&) override {
        std::fprintf(stderr, "layout-file-bench: error %d\n", id);
        std::exit(1);
    }
    void ShowWarningDetail(int id, const std::vector<std::string>& args,
                           const std::string&) override {
        ShowError(id, args);
    }
};

void fillLayout(zr4700::Layout& layout) {
    layout.keyCount = 112;
    for (int k = 1; k <= zr4700::kMaxKeys; ++k) {
        auto& key = layout.key(k);
        for (int slot = 0; slot < zr4700::kCodeSlots; ++slot)
            key.codes[static_cast<size_t>(slot)] = 100 + (k + slot) % 156;
        key.setName("Programmed key number " + std::to_string(k));
        key.groupNumber = k % 200;
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: layout-file-bench DIRECTORY [ROUNDS]\n");
        return 2;
    }
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 200;
    SilentPrompts prompts;
    zr4700::Layout layout;
    fillLayout(layout);
    layout.fileName = std::string(argv[1]) + "/bench-layout.txt";

    using Clock = std::chrono::steady_clock;
    auto save = Clock::duration::zero();
    auto load = Clock::duration::zero();
    for (int i = 0; i < rounds; ++i) {
        const auto t0 = Clock::now();
        zr4700::WriteLayoutFile(layout, zr4700::FileVariant::Save, prompts);
        const auto t1 = Clock::now();
        zr4700::Layout loaded;
        loaded.fileName = layout.fileName;
        zr4700::ReadLayoutFile(loaded, prompts);
        const auto t2 = Clock::now();
        save += t1 - t0;
        load += t2 - t1;
    }
    const auto ms = [rounds](Clock::duration total) {
        return std::chrono::duration<double, std::milli>(total).count() / rounds;
    };
    std::printf("save (written, synced, renamed): %.3f ms per layout\n", ms(save));
    std::printf("load (read and parsed):          %.3f ms per layout\n", ms(load));
    std::remove(layout.fileName.c_str());
    return 0;
}
