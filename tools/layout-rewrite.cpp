// zr4700-layout-rewrite OUTDIR FILE...: reads each layout file with the editor's reader and
// writes it back with the editor's writer in every variant, as OUTDIR/NAME.VARIANT.txt
// (VARIANT: 7scan, 16scan, left, right). Built for Linux and for Windows, so that
// scripts/check-windows can hold the two builds' files against each other byte for byte.
// Exit status 0 when every file was read and every variant written, 1 otherwise.

#include "core/files/LayoutFileEditor.h"
#include "core/model/Layout.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

// The writer's messages go to stderr; a layout without programmed keys is still written.
class StderrPrompts : public zr4700::UserPrompts {
  public:
    bool AskYesNo(int id, const std::vector<std::string>&) override {
        std::fprintf(stderr, "zr4700-layout-rewrite: question %d answered No\n", id);
        return false;
    }
    void ShowError(int id, const std::vector<std::string>&) override {
        if (id == zr4700::kStrNoProgrammedKey) {
            return; // a side without programmed keys, written all the same
        }
        std::fprintf(stderr, "zr4700-layout-rewrite: message %d\n", id);
        failed = true;
    }
    void ShowWarningDetail(int id, const std::vector<std::string>& args,
                           const std::string&) override {
        ShowError(id, args);
    }
    bool failed = false;
};

struct NamedVariant {
    zr4700::FileVariant variant;
    const char* name;
};

constexpr NamedVariant kVariants[] = {{zr4700::FileVariant::Scan7, "7scan"},
                                      {zr4700::FileVariant::Scan16, "16scan"},
                                      {zr4700::FileVariant::LeftSide, "left"},
                                      {zr4700::FileVariant::RightSide, "right"}};

// The file name without its folders and its extension ("/a/b/shop.txt" gives "shop").
std::string Stem(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fputs("usage: zr4700-layout-rewrite OUTDIR FILE...\n", stderr);
        return 2;
    }
    // Both systems take '/' between folders.
    const std::string outDir = std::string(argv[1]) + "/";
    StderrPrompts prompts;
    for (int i = 2; i < argc; ++i) {
        zr4700::Layout layout;
        layout.fileName = argv[i];
        std::string reason;
        if (zr4700::ReadLayoutFile(layout, nullptr, reason) != zr4700::ReadResult::Read) {
            std::fprintf(stderr, "zr4700-layout-rewrite: %s: %s\n", argv[i], reason.c_str());
            prompts.failed = true;
            continue;
        }
        const std::string stem = Stem(argv[i]);
        for (const NamedVariant& named : kVariants) {
            layout.fileName = outDir + stem + "." + named.name + ".txt";
            if (zr4700::WriteLayoutFile(layout, named.variant, prompts) ==
                zr4700::WriteResult::Failed) {
                prompts.failed = true;
            }
        }
    }
    return prompts.failed ? 1 : 0;
}
