#include "platform/gui/data/Clipboard.h"
#include "platform/gui/data/OleDataObject.h"
#include "platform/gui/data/OleDataSource.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

HGLOBAL BlockOf(const std::string& bytes) {
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE | GMEM_ZEROINIT, bytes.size());
    std::memcpy(GlobalLock(mem), bytes.data(), bytes.size());
    GlobalUnlock(mem);
    return mem;
}

std::string BytesOf(HGLOBAL mem) {
    const char* bytes = static_cast<const char*>(GlobalLock(mem));
    std::string text(bytes ? bytes : "", bytes ? GlobalSize(mem) : 0);
    GlobalUnlock(mem);
    return text;
}

std::string ClipboardBlock() {
    COleDataObject data;
    data.AttachClipboard();
    HGLOBAL mem = data.GetGlobalData(CF_TEXT);
    std::string bytes = mem ? BytesOf(mem) : std::string("<none>");
    GlobalFree(mem);
    return bytes;
}

} // namespace

// "墙\t1\r\nA\tB" in GBK with its zero byte, as a grid copies two rows.
const std::string kCells("\xC7\xBD\t1\r\nA\tB\0", 10);

TEST(Clipboard, GbkTextGoesRoundTheClipboardByteForByteAndReachesOtherProgramsAsUnicode) {
    auto* source = new COleDataSource;
    source->CacheGlobalData(CF_TEXT, BlockOf(kCells));
    source->SetClipboard(); // the clipboard owns the source from here on

    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_EQ(ClipboardBlock(), kCells);
    EXPECT_EQ(QApplication::clipboard()->text(), QString::fromUtf8("\xE5\xA2\x99\t1\r\nA\tB"));

    // A second copy replaces (and frees) the first source.
    auto* next = new COleDataSource;
    next->CacheGlobalData(CF_TEXT, BlockOf(std::string("x\0", 2)));
    next->SetClipboard();
    EXPECT_EQ(ClipboardBlock(), std::string("x\0", 2));
}

TEST(Clipboard, BytesThatAreNotGbkStayExactForThisProgram) {
    const std::string odd("a\xFF"
                          "b\0",
                          4);
    auto* source = new COleDataSource;
    source->CacheGlobalData(CF_TEXT, BlockOf(odd));
    source->SetClipboard();
    EXPECT_EQ(ClipboardBlock(), odd);
    EXPECT_EQ(QApplication::clipboard()->text(), QString::fromUtf8("a\xEF\xBF\xBD"
                                                                   "b"));
}

TEST(Clipboard, TextFromAnotherProgramArrivesAsGbkWithWhatGbkCannotCarryReplaced) {
    QApplication::clipboard()->setText(QString::fromUtf8("\xE5\xA2\x99 \xF0\x9F\x98\x80!"));
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_EQ(ClipboardBlock(), std::string("\xC7\xBD ?!\0", 6));
}

TEST(Clipboard, AnEmptyClipboardOffersNoText) {
    QApplication::clipboard()->clear();
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
    COleDataObject data;
    data.AttachClipboard();
    EXPECT_FALSE(data.IsDataAvailable(CF_TEXT));
    EXPECT_EQ(data.GetGlobalData(CF_TEXT), nullptr);
    EXPECT_FALSE(IsClipboardFormatAvailable(2)); // a bitmap: never offered
}

namespace {

class CountedSource : public COleDataSource {
public:
    explicit CountedSource(bool* deleted) : m_deleted(deleted) {}
    ~CountedSource() override { *m_deleted = true; }
    bool* m_deleted;
};

} // namespace

TEST(Clipboard, FlushingFreesTheSourceAndLeavesItsTextOnTheClipboard) {
    bool deleted = false;
    auto* source = new CountedSource(&deleted);
    source->CacheGlobalData(CF_TEXT, BlockOf(std::string("1\t2\r\n3\t4\0", 9)));
    source->SetClipboard();
    EXPECT_EQ(COleDataSource::GetClipboardOwner(), source);

    COleDataSource::FlushClipboard();
    EXPECT_TRUE(deleted);
    EXPECT_EQ(COleDataSource::GetClipboardOwner(), nullptr);
    EXPECT_EQ(ClipboardBlock(), std::string("1\t2\r\n3\t4\0", 9));
    COleDataSource::FlushClipboard(); // nothing left to flush
}

TEST(Clipboard, AnotherProgramsCopyEndsTheOwnership) {
    bool deleted = false;
    auto* source = new CountedSource(&deleted);
    source->CacheGlobalData(CF_TEXT, BlockOf(std::string("x\0", 2)));
    source->SetClipboard();
    QApplication::clipboard()->setText("from elsewhere");
    EXPECT_EQ(COleDataSource::GetClipboardOwner(), nullptr);
    EXPECT_TRUE(deleted);
    EXPECT_EQ(ClipboardBlock(), std::string("from elsewhere\0", 15));
}
