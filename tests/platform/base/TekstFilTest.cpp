#include "platform/base/TekstFil.h"

#include "support/TestSupport.h"

using rigel::test::FileBytes;

TEST(TekstFil, WritesAtomicallyAndReadsLinesBack) {
    const rigel::test::TempFolder dir;
    const std::string path = dir.Path("table.txt");
    {
        TekstFil out(path);
        ASSERT_EQ(out.LukkOpp("wt"), 1);
        out.LeggTilLinje("first\n");
        out.LeggTilLinje("second\r\n\nno end");
        EXPECT_EQ(out.Finnes(), 0) << "nothing at the target before the file is closed";
        ASSERT_EQ(out.LukkIgjen(), 1);
    }
    EXPECT_EQ(FileBytes(path), "first\nsecond\r\n\nno end") << "text written unchanged";

    TekstFil in(path);
    EXPECT_EQ(in.Finnes(), 1);
    StrengListe lines;
    ASSERT_EQ(in.InitListe(lines), 1);
    ASSERT_EQ(lines.Antall(), 4);
    EXPECT_EQ(lines.Tekst(1)->str(), "second");
    EXPECT_EQ(lines.Tekst(2)->str(), "");
    EXPECT_EQ(lines.Tekst(3)->str(), "no end");

    // A write that is abandoned leaves the previous file as it was.
    {
        TekstFil again(path);
        ASSERT_EQ(again.LukkOpp("wt"), 1);
        again.LeggTilLinje("half a table");
    }
    EXPECT_EQ(FileBytes(path), "first\nsecond\r\n\nno end");

    TekstFil missing(dir.Path("none/x.txt"));
    EXPECT_EQ(missing.LukkOpp("rt"), 0);
    EXPECT_THAT(missing.ErrorText(), HasSubstr("none/x.txt"));
    EXPECT_EQ(missing.LukkOpp("wt"), 0) << "no folder is created";
    StrengListe none;
    EXPECT_EQ(missing.InitListe(none), 0);
}

TEST(TekstFil, ReadsLongLinesAcrossItsBufferAndBytesAsBytes) {
    const rigel::test::TempFolder dir;
    const std::string path = dir.Path("long.txt");
    const std::string longLine(200000, 'x');
    dir.Write("long.txt", longLine + "\r\n" + std::string("a\0b\xFF", 4) + "\n");
    TekstFil in(path);
    ASSERT_EQ(in.LukkOpp("rt"), 1);
    Streng line;
    ASSERT_EQ(in.LesNesteLinje(line), 1);
    EXPECT_EQ(line.str(), longLine);
    ASSERT_EQ(in.LesNesteLinje(line), 1);
    EXPECT_EQ(line.str(), std::string("a\0b\xFF", 4));
    EXPECT_EQ(in.LesNesteLinje(line), 0);
}
