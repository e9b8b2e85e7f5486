// SPDX-License-Identifier: MIT
// Turning template.htm's bytes into the report's lines.
#include "engine/template_loader.h"

#include <gtest/gtest.h>

#include <string>

#include "support/temp_dir.h"

namespace {

std::string Lines(std::string_view bytes) {
    std::string text;
    AppendTemplateLines(bytes, text);
    return text;
}

TEST(TemplateLines, EndEveryKeptLineWithCrLf) {
    EXPECT_EQ(Lines("one\ntwo\r\nthree"), "one\r\ntwo\r\nthree\r\n");
    EXPECT_EQ(Lines(""), "");
    EXPECT_EQ(Lines("\n\r\n\n"), "");
    EXPECT_EQ(Lines("a\n\n\nb\n"), "a\r\nb\r\n");
    EXPECT_EQ(Lines("   \n"), "   \r\n");
}

TEST(TemplateLines, KeepEveryCarriageReturnButTheOneBeforeALineFeed) {
    EXPECT_EQ(Lines("a\rb\n"), "a\rb\r\n");
    EXPECT_EQ(Lines("a\r\r\n"), "a\r\r\n");
    EXPECT_EQ(Lines("\r"), "\r\r\n");
    EXPECT_EQ(Lines("end\r"), "end\r\r\n");
}

TEST(TemplateLines, NulEndsTheLineAndCtrlZEndsTheFile) {
    EXPECT_EQ(Lines(std::string_view("ab\0cd\nef\n", 9)), "ab\r\nef\r\n");
    EXPECT_EQ(Lines(std::string_view("\0lost\nkept\n", 11)), "kept\r\n");
    EXPECT_EQ(Lines("before\nhalf\x1A"
                    "after\nmore\n"),
              "before\r\nhalf\r\n");
    EXPECT_EQ(Lines("\x1A"
                    "all lost\n"),
              "");
    EXPECT_EQ(Lines("high bytes \x80\xFF\n"), "high bytes \x80\xFF\r\n");
}

TEST(TemplateLines, LongLinesStayWhole) {
    // A tag across the 4094-byte mark must survive in one piece.
    const std::string line = std::string(4090, 'x') + "<%PATCHNAME_000%>" + std::string(5000, 'y');
    EXPECT_EQ(Lines(line + "\n"), line + "\r\n");
    EXPECT_EQ(Lines(std::string(4094, 'z') + "\nnext\n"), std::string(4094, 'z') + "\r\nnext\r\n");
    const std::string huge(100 * 1024 * 1024, 'h');
    EXPECT_EQ(Lines(huge), huge + "\r\n");
}

TEST(LoadTemplateText, ReadsTheFileOrSaysItCannot) {
    support::TempDir dir;
    EXPECT_EQ(LoadTemplateText(dir.Write("t.htm", "<p>\n\n</p>")), "<p>\r\n</p>\r\n");
    EXPECT_EQ(LoadTemplateText(dir.Write("empty.htm", "")), "");
    EXPECT_EQ(LoadTemplateText(dir.Path("absent.htm")), std::nullopt);
    EXPECT_EQ(LoadTemplateText(dir.path()), std::nullopt);
    const std::string big(300000, 'b');
    EXPECT_EQ(LoadTemplateText(dir.Write("big.htm", big + "\n" + big)),
              big + "\r\n" + big + "\r\n");
}

}  // namespace

namespace {

TEST(LoadTemplateText, LinesAcrossReadBlocksComeOutAsFromOnePiece) {
    // The file is read in 1 MiB blocks; put every line rule right on a block's edge.
    constexpr std::size_t kBlock = 1 << 20;
    support::TempDir dir;
    const std::string filler(kBlock - 1, 'a');
    const std::string cases[] = {
        filler + "\r\nnext\n",       // CR ends one block, its LF starts the next
        filler + "\r" + "\rnext\n",  // a CR on the edge that no LF follows
        filler + std::string(1, '\0') + "lost\nkept\n",  // NUL on the edge
        std::string(kBlock - 2, 'b') + std::string("\0\r\n\n", 4) + "c\n",
        filler + "\x1A" + "never\n",       // Ctrl-Z on the edge
        std::string(kBlock, '\n') + "x",   // a block of empty lines
        std::string(3 * kBlock + 7, 'z'),  // one line over several blocks, no LF
    };
    for (const std::string& bytes : cases) {
        std::string expected;
        AppendTemplateLines(bytes, expected);
        const auto loaded = LoadTemplateText(dir.Write("edge.htm", bytes));
        ASSERT_TRUE(loaded);
        EXPECT_TRUE(*loaded == expected) << "case starting at byte " << bytes.size() - 8;
    }
}

}  // namespace
