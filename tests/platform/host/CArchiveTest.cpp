#include "platform/host/CArchive.h"

#include "support/TestSupport.h"

namespace {

using rigel::test::FileBytes;
using rigel::test::TempFolder;
using Lines = std::vector<std::string>;

// Every line of bytes as ReadString(CString&) returns them, read through a buffer of bufferSize.
Lines ReadLines(const std::string& bytes, int bufferSize, std::size_t cap = 0,
                std::size_t* cuts = nullptr) {
    TempFolder dir;
    const std::string path = dir.Path("lines.txt");
    EXPECT_TRUE(rigel::WriteFileAtomically(path, bytes));
    CFile file(path.c_str(), CFile::modeRead);
    CArchive ar(&file, CArchive::load, bufferSize);
    if (cap > 0)
        ar.SetMaxLineLength(cap);
    Lines lines;
    CString line = "stale";
    while (ar.ReadString(line))
        lines.push_back(line.str());
    EXPECT_TRUE(line.IsEmpty());
    EXPECT_FALSE(ar.ReadString(line)); // stays at the end
    if (cuts)
        *cuts = ar.CutLineCount();
    return lines;
}

TEST(CArchiveReadString, LineEnds) {
    const std::string longLine(10000, 'q');
    const struct {
        std::string bytes;
        Lines lines;
    } cases[] = {
        {"", {}},
        {"a\rb\n\r", {"a\rb", "\r"}}, // a lone CR is data, also at the very end
        {"last line", {"last line"}},
        {"a\n\nb\r\n\r\n", {"a", "", "b", ""}},
        {"\r\r\n", {"\r"}},
        {std::string("n\0l\xff\n", 5), {std::string("n\0l\xff", 4)}},
        {std::string(15, 'x') + "\r\n" + "y", {std::string(15, 'x'), "y"}}, // CR ends a buffer
        {longLine + "\r\n" + longLine, {longLine, longLine}},
    };
    for (int bufferSize : {16, 17, 4096}) {
        for (const auto& c : cases)
            EXPECT_EQ(ReadLines(c.bytes, bufferSize), c.lines)
                << "buffer " << bufferSize << ", input of " << c.bytes.size() << " bytes";
    }
}

TEST(CArchiveReadString, LongLinesAreCutAtTheCapAndTheRestSkipped) {
    std::size_t cuts = 0;
    const std::string bytes = "0123456789\n"    // exactly the cap: kept whole
                              "0123456789\r\n"  // the cap plus its CRLF: kept whole
                              "012345678\r\r\n" // a data CR that reaches the cap
                              "0123456789ABCDEFGHIJ\r\n"
                              "next\n" +
                              std::string(100, 'z'); // cut also without a final line end
    const Lines expected = {"0123456789", "0123456789", "012345678\r",
                            "0123456789", "next",       std::string(10, 'z')};
    EXPECT_EQ(ReadLines(bytes, 16, 10, &cuts), expected);
    EXPECT_EQ(cuts, 2u);
}

TEST(CArchiveReadString, FixedBufferFormContinuesLongLines) {
    TempFolder dir;
    const std::string path = dir.Path("b.txt");
    ASSERT_TRUE(rigel::WriteFileAtomically(path, "abcdef\r\nxy\rz\nlast"));
    CFile file(path.c_str(), CFile::modeRead);
    CArchive ar(&file, CArchive::load);
    char buf[5];
    Lines got;
    while (ar.ReadString(buf, 4) != nullptr)
        got.emplace_back(buf);
    // As in MFC, a piece that fills the buffer exactly leaves its line end for the next call.
    EXPECT_EQ(got, (Lines{"abcd", "ef", "xy\rz", "", "last"}));
}

TEST(CArchiveStore, WritesBytesUnchangedThroughTheBuffer) {
    TempFolder dir;
    const std::string path = dir.Path("out.txt");
    const std::string big(5000, 'b');
    CFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite);
    {
        CArchive ar(&file, CArchive::store, 16);
        ar.WriteString("line 1\r\n");
        ar.WriteString("no end");
        ar.WriteString(big);
        ar.Write("\0\n", 2);
        EXPECT_THROW(ar.Read(nullptr, 0), std::logic_error);
        ar.Close();
        EXPECT_EQ(ar.GetFile(), nullptr);
        EXPECT_TRUE(file.IsOpen()); // the archive does not close its file
    }
    file.Close();
    EXPECT_EQ(FileBytes(path), "line 1\r\nno end" + big + std::string("\0\n", 2));

    // Destroying an archive flushes what it holds.
    CFile again(path.c_str(), CFile::modeCreate | CFile::modeWrite);
    { CArchive(&again, CArchive::store).WriteString("flushed"); }
    again.Close();
    EXPECT_EQ(FileBytes(path), "flushed");
}

TEST(CArchive, BoundToNoFile) {
    CArchive in(nullptr, CArchive::load);
    CString line;
    EXPECT_FALSE(in.ReadString(line));
    EXPECT_THROW(in.WriteString("x"), std::logic_error);

    CArchive out(nullptr, CArchive::store | CArchive::bNoFlushOnDelete);
    out.WriteString("x");
    EXPECT_THROW(out.Flush(), std::logic_error);
    EXPECT_THROW(out.ReadString(line), std::logic_error);
}

} // namespace
