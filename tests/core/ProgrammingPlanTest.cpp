// What programming a layout into the keyboard found comes to, before anything is sent.
#include "core/files/ProgrammingFile.h"

#include "core/LayoutTestSupport.h"
#include "engine/EngineResults.h"

#include <gtest/gtest.h>

namespace zr4700 {
namespace {

using Verdict = ProgrammingPlan::Verdict;

TEST(ProgrammingPlan, FitsTheFileToTheKeyboardFound) {
    struct Case {
        const char* name;
        int keyCount;
        int codesOnKey5;
        int detected;
        Verdict verdict;
        FileVariant variant;
        int engineResult;
    };
    const Case cases[] = {
        {"56 keys, type 0", 56, 7, 0, Verdict::Go, FileVariant::Scan7, 0},
        {"56 keys, type 0, 8 codes", 56, 8, 0, Verdict::LosesCodes, FileVariant::Scan7, 0},
        {"112 keys, type 0, 4 codes", 112, 4, 0, Verdict::LosesCodes, FileVariant::Scan7, 0},
        {"112 keys, type 0, 3 codes", 112, 3, 0, Verdict::Go, FileVariant::Scan7, 0},
        {"56 keys, type 1", 56, 16, 1, Verdict::Go, FileVariant::Save, 0},
        {"112 keys, type 2", 112, 16, 2, Verdict::Go, FileVariant::Save, 0},
        {"56 keys, type 2", 56, 1, 2, Verdict::Mismatch, FileVariant::Save, 0},
        {"112 keys, type 1", 112, 1, 1, Verdict::Mismatch, FileVariant::Save, 0},
        {"type above 2", 56, 1, -1, Verdict::DetectFailed, FileVariant::Save,
         kResultInvalidTypeDetected},
        {"no device", 56, 1, -2, Verdict::DetectFailed, FileVariant::Save, kResultDriverError},
        {"no answer", 56, 1, -3, Verdict::DetectFailed, FileVariant::Save, kResultDetectingError},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Layout layout;
        layout.keyCount = c.keyCount;
        for (int slot = 0; slot < c.codesOnKey5; ++slot)
            layout.key(5).codes[static_cast<size_t>(slot)] = 0x1C;
        const ProgrammingPlan plan = PlanProgramming(layout, c.detected);
        EXPECT_EQ(plan.verdict, c.verdict);
        if (c.verdict == Verdict::Go || c.verdict == Verdict::LosesCodes) {
            EXPECT_EQ(plan.variant, c.variant);
            EXPECT_EQ(plan.keyboardType, c.detected);
        }
        EXPECT_EQ(plan.engineResult, c.engineResult);
    }
}

} // namespace
} // namespace zr4700
