// The program's own resource set as the Windows build compiles it from resources/.

#include "win32/Resources.h"

#include <gtest/gtest.h>

namespace {

namespace Resources = win32::Resources;

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    GetObjectW(bitmap, sizeof info, &info);
    return {info.bmWidth, info.bmHeight};
}

TEST(Resources, StringsByNumberAndByName) {
    EXPECT_EQ(Resources::String(32788), L"untitled");
    EXPECT_EQ(Resources::String("edit.undo"), L"&Undo");
    EXPECT_EQ(Resources::Format("status.rate", {"11"}), L"Keys rate: 11");
    // Neither set has these.
    EXPECT_EQ(Resources::String(101), L"");
    EXPECT_EQ(Resources::NamedStringId("no.such.string"), 0u);
}

TEST(Resources, BitmapsAtTheirSizeAndAtFourTimesIt) {
    struct Case {
        int id;
        SIZE size;
    };
    const Case cases[] = {{108, {240, 60}}, {152, {39, 39}}, {155, {39, 78}}, {157, {78, 78}}};
    for (const Case& c : cases) {
        HBITMAP plain = Resources::LoadBitmap(c.id);
        ASSERT_NE(plain, nullptr) << c.id;
        EXPECT_EQ(BitmapSize(plain).cx, c.size.cx) << c.id;
        EXPECT_EQ(BitmapSize(plain).cy, c.size.cy) << c.id;
        DeleteObject(plain);
        if (c.id == 108)
            continue; // the About picture has no high-density variant
        HBITMAP dense = Resources::LoadHighDensityBitmap(c.id);
        ASSERT_NE(dense, nullptr) << c.id;
        EXPECT_EQ(BitmapSize(dense).cx, 4 * c.size.cx) << c.id;
        DeleteObject(dense);
    }
    EXPECT_EQ(Resources::LoadHighDensityBitmap(108), nullptr);
}

TEST(Resources, TheIconHasASmallAndALargePicture) {
    for (int size : {16, 32, 48, 256}) {
        HICON icon = Resources::LoadIcon(102, size);
        ASSERT_NE(icon, nullptr) << size;
        DestroyIcon(icon);
    }
}

} // namespace
