#include "platform/os/GlobalMemory.h"
#include "platform/os/SharedFile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

TEST(GlobalMemory, BlocksStartZeroedAndKeepTheirBytesWhenResized) {
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, 4);
    ASSERT_NE(mem, nullptr);
    EXPECT_EQ(GlobalSize(mem), 4u);
    char* bytes = static_cast<char*>(GlobalLock(mem));
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(std::string(bytes, 4), std::string(4, '\0'));
    std::memcpy(bytes, "abcd", 4);
    EXPECT_FALSE(GlobalUnlock(mem));

    EXPECT_EQ(GlobalReAlloc(mem, 6, GMEM_MOVEABLE), mem);
    bytes = static_cast<char*>(GlobalLock(mem));
    EXPECT_EQ(std::string(bytes, 6), std::string("abcd\0\0", 6));
    GlobalUnlock(mem);

    EXPECT_EQ(GlobalReAlloc(mem, 2, GMEM_MOVEABLE), mem);
    EXPECT_EQ(GlobalSize(mem), 2u);
    EXPECT_EQ(GlobalFree(mem), nullptr);
}

TEST(GlobalMemory, CallsOnAFreedOrForeignHandleFailWithoutTouchingMemory) {
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, 8);
    ASSERT_EQ(GlobalFree(mem), nullptr);
    EXPECT_EQ(GlobalSize(mem), 0u);
    EXPECT_EQ(GlobalLock(mem), nullptr);
    EXPECT_EQ(GlobalReAlloc(mem, 16, GMEM_MOVEABLE), nullptr);
    EXPECT_EQ(GlobalFree(mem), mem);

    int local = 0;
    EXPECT_EQ(GlobalSize(&local), 0u);
    EXPECT_EQ(GlobalFree(&local), static_cast<HGLOBAL>(&local));
}

TEST(GlobalMemory, AnEmptyBlockCannotBeLocked) {
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, 0);
    ASSERT_NE(mem, nullptr);
    EXPECT_EQ(GlobalLock(mem), nullptr);
    GlobalFree(mem);
}

TEST(SharedFile, GrowsInStepsAndHandsItsBlockOverOnDetach) {
    CSharedFile file(GMEM_MOVEABLE | GMEM_DDESHARE | GMEM_ZEROINIT, 16);
    file.Write("ab\tcd", 5);
    file.Write("\r\n", 2);
    EXPECT_EQ(file.GetLength(), 7u);

    HGLOBAL mem = file.Detach();
    ASSERT_NE(mem, nullptr);
    EXPECT_EQ(GlobalSize(mem), 16u); // the grow step, not the written length
    EXPECT_EQ(std::string(static_cast<const char*>(GlobalLock(mem)), 7), "ab\tcd\r\n");
    GlobalUnlock(mem);
    EXPECT_EQ(file.GetLength(), 0u);

    CSharedFile reader;
    reader.SetHandle(mem, FALSE);
    char buffer[32] = {};
    EXPECT_EQ(reader.Read(buffer, sizeof buffer), 16u);
    EXPECT_STREQ(buffer, "ab\tcd\r\n");
    EXPECT_EQ(reader.Read(buffer, sizeof buffer), 0u);
    // The reader owns the block now and frees it.
}

TEST(SharedFile, AFileThatMayNotGrowRefusesToWritePastItsBlock) {
    CSharedFile file;
    file.SetHandle(GlobalAlloc(GMEM_MOVEABLE, 4), FALSE);
    EXPECT_THROW(file.Write("12345", 5), std::bad_alloc);
    EXPECT_NO_THROW(file.Write("1234", 4));
}
