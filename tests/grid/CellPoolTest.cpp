#include "grid/CellPool.h"
#include "grid/GridCell.h"

#include "GridTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <vector>

TEST(CellPool, HandsOutDistinctBlocksAndReusesFreedOnes) {
    CCellPool pool(64, 4);
    std::vector<void*> blocks;
    for (int i = 0; i < 10; i++) { // spans three chunks
        void* block = pool.Allocate();
        std::memset(block, 0xA5, 64); // the whole block is usable
        blocks.push_back(block);
    }
    EXPECT_EQ(std::set<void*>(blocks.begin(), blocks.end()).size(), 10u);
    EXPECT_EQ(pool.ChunkCount(), 3u);

    pool.Free(blocks[3]);
    EXPECT_EQ(pool.Allocate(), blocks[3]);
    EXPECT_EQ(pool.ChunkCount(), 3u);
    EXPECT_EQ(pool.BlocksInUse(), 10u);

    for (void* block : blocks)
        pool.Free(block);
    EXPECT_EQ(pool.BlocksInUse(), 0u);
    EXPECT_EQ(pool.ChunkCount(), 0u); // everything went back

    void* again = pool.Allocate(); // and the pool starts over
    EXPECT_NE(again, nullptr);
    pool.Free(again);
}

TEST(CellPool, RoundsBlocksUpSoEveryBlockIsAligned) {
    CCellPool pool(20, 8);
    EXPECT_EQ(pool.BlockSize() % alignof(std::max_align_t), 0u);
    void* a = pool.Allocate();
    void* b = pool.Allocate();
    EXPECT_EQ(reinterpret_cast<uintptr_t>(a) % alignof(std::max_align_t), 0u);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(b) % alignof(std::max_align_t), 0u);
    pool.Free(a);
    pool.Free(b);
}

TEST(CellMemory, ATextCellCostsItsObjectAndOnePointer) {
    TestGrid grid(0, 50);
    StartCountingBytes();
    grid.SetRowCount(2000);
    for (int row = 0; row < 2000; row++)
        for (int col = 0; col < 50; col++)
            grid.SetItemText(row, col, "r1999c49"); // short texts live inside the cell
    const AllocationCount count = StopCountingBytes();
    const double perCell = static_cast<double>(count.bytes) / (2000.0 * 50.0);
    EXPECT_LE(perCell, 60.0);
#if !defined(__SANITIZE_ADDRESS__) // the sanitizer build gives every cell an allocation of its own
    // One allocation per row and one per pool chunk, none per cell.
    EXPECT_LT(count.calls, 2000u + 2000u * 50u / 100u);
#endif
}

TEST(CellMemory, RareValuesTakeRoomOnlyOnceSet) {
    CGridCell cell;
    StartCountingBytes();
    cell.SetData(0);
    cell.SetImage(-1);
    cell.SetTextClr(CLR_DEFAULT);
    cell.SetBackClr(CLR_DEFAULT);
    cell.SetFont(nullptr);
    cell.SetMargin(static_cast<UINT>(-1));
    cell.OnEndEdit();
    EXPECT_EQ(StopCountingBytes().calls, 0u);

    cell.SetData(42);
    cell.SetImage(3);
    EXPECT_EQ(cell.GetData(), 42);
    EXPECT_EQ(cell.GetImage(), 3);
    cell.SetData(0); // back to the default keeps working once the block exists
    EXPECT_EQ(cell.GetData(), 0);
    EXPECT_EQ(cell.GetImage(), 3);
}

TEST(CellPool, TheChunkListGrowsByDoublingNotByOneEntryAtATime) {
    CCellPool pool(16, 1); // one block per chunk: as many chunks as blocks
    constexpr size_t kBlocks = 4096;
    std::vector<void*> blocks;
    blocks.reserve(kBlocks);
    StartCountingBytes();
    for (size_t i = 0; i < kBlocks; i++)
        blocks.push_back(pool.Allocate());
    const AllocationCount count = StopCountingBytes();
    EXPECT_EQ(pool.ChunkCount(), kBlocks);
    // Each chunk is one allocation; the list of chunks takes a handful more, and its copies stay within a few
    // times its final size (growing one entry at a time copies it kBlocks / 2 times on average).
    EXPECT_LE(count.calls, kBlocks + 16);
    EXPECT_LE(count.bytes, kBlocks * pool.BlockSize() + 4 * kBlocks * sizeof(void*));
    for (void* block : blocks)
        pool.Free(block);
}
