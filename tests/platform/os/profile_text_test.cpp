// SPDX-License-Identifier: MIT
// The INI text rules, checked on text alone: what a read finds and the exact bytes a write
// leaves.
#include "platform/os/profile_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using os::FindProfileValue;
using os::WithProfileValue;

std::string Find(std::string_view text, std::string_view section, std::string_view key) {
    return std::string(FindProfileValue(text, section, key).value_or("<missing>"));
}

// --- reading ------------------------------------------------------------------------------

TEST(ProfileTextRead, NamesIgnoreAsciiCaseAndSurroundingWhiteSpace) {
    const std::string text = "[Mru]\r\nPCG=a.pcg\r\n  [ Other ]  \r\n\t Report \t=\t r.htm \t\r\n";
    EXPECT_EQ(Find(text, "MRU", "pcg"), "a.pcg");
    EXPECT_EQ(Find(text, "mru", "Pcg"), "a.pcg");
    EXPECT_EQ(Find(text, "other", "REPORT"), "r.htm");
    EXPECT_EQ(Find(text, " other ", " report "), "r.htm");
    // Only ASCII letters fold: bytes above 127 must match exactly.
    EXPECT_EQ(Find("[\xC4]\nk=v\n", "\xE4", "k"), "<missing>");
    EXPECT_EQ(Find("[\xC4]\nk=v\n", "\xC4", "K"), "v");
}

TEST(ProfileTextRead, StripsOneMatchingPairOfQuotes) {
    const std::string text =
        "[s]\n"
        "double=\" spaced \"\n"
        "single='x'\n"
        "twice=\"\"x\"\"\n"
        "mixed=\"x'\n"
        "open=\"x\n"
        "lone=\"\n"
        "empty=\"\"\n"
        "inner=a \"b\" c\n";
    EXPECT_EQ(Find(text, "s", "double"), " spaced ");
    EXPECT_EQ(Find(text, "s", "single"), "x");
    EXPECT_EQ(Find(text, "s", "twice"), "\"x\"");
    EXPECT_EQ(Find(text, "s", "mixed"), "\"x'");
    EXPECT_EQ(Find(text, "s", "open"), "\"x");
    EXPECT_EQ(Find(text, "s", "lone"), "\"");
    EXPECT_EQ(Find(text, "s", "empty"), "");
    EXPECT_EQ(Find(text, "s", "inner"), "a \"b\" c");
}

TEST(ProfileTextRead, LineKinds) {
    const std::string text =
        "orphan=before any section\n"
        "[s]\n"
        ";commented=1\n"
        "   ; indented=2\n"
        "noequals\n"
        "[unclosed=3\n"
        "equals=a=b\n"
        "trailing=x ; not a comment\n"
        "emptyvalue=\n"
        "[t] text after the header\n"
        "k=v";
    EXPECT_EQ(Find(text, "s", "orphan"), "<missing>");
    EXPECT_EQ(Find(text, "s", "commented"), "<missing>");
    EXPECT_EQ(Find(text, "s", ";commented"), "<missing>");
    EXPECT_EQ(Find(text, "s", "indented"), "<missing>");
    EXPECT_EQ(Find(text, "s", "noequals"), "<missing>");
    EXPECT_EQ(Find(text, "s", "[unclosed"), "3");
    EXPECT_EQ(Find(text, "s", "equals"), "a=b");
    EXPECT_EQ(Find(text, "s", "trailing"), "x ; not a comment");
    EXPECT_EQ(Find(text, "s", "emptyvalue"), "");
    EXPECT_EQ(Find(text, "t", "k"), "v");
    EXPECT_EQ(Find(text, "", "k"), "<missing>");
    EXPECT_EQ(Find(text, "t", ""), "<missing>");
}

TEST(ProfileTextRead, FirstSectionAndFirstKeyWin) {
    const std::string text = "[MRU]\nreport=first\nREPORT=second\n[mru]\nreport=third\npcg=p\n";
    EXPECT_EQ(Find(text, "MRU", "report"), "first");
    // The second section of the same name is never looked at.
    EXPECT_EQ(Find(text, "MRU", "pcg"), "<missing>");
}

TEST(ProfileTextRead, LineEndsByteOrderMarkAndNulBytes) {
    EXPECT_EQ(Find("[s]\r\nk=v\r\n", "s", "k"), "v");
    EXPECT_EQ(Find("[s]\nk=v", "s", "k"), "v");
    EXPECT_EQ(Find("[s]\r\r\nk=v\r\r\n", "s", "k"), "v");
    EXPECT_EQ(Find("\xEF\xBB\xBF[s]\nk=v\n", "s", "k"), "v");
    const std::string withNul("[s]\nk=a\0b\n", 10);
    EXPECT_EQ(Find(withNul, "s", "k"), std::string("a\0b", 3));
}

// --- writing: exact bytes -----------------------------------------------------------------

TEST(ProfileTextWrite, AddsAKeyAfterTheSectionsLastKeyLine) {
    const std::string text =
        "[MRU]\r\n; remembered paths\r\nreport=r.htm\r\n\r\n; next: other\r\n[Other]\r\nx=1\r\n";
    EXPECT_EQ(WithProfileValue(text, "mru", "pcg", "a.pcg"),
              "[MRU]\r\n; remembered paths\r\nreport=r.htm\r\npcg=a.pcg\r\n\r\n; next: other\r\n"
              "[Other]\r\nx=1\r\n");
    // A section with no keys takes the key right under its header.
    EXPECT_EQ(WithProfileValue("[MRU]\n\n[Other]\n", "MRU", "pcg", "a"),
              "[MRU]\npcg=a\r\n\n[Other]\n");
    // Lines without '=' belong to the section's body too.
    EXPECT_EQ(WithProfileValue("[MRU]\nstray\n\n", "MRU", "pcg", "a"), "[MRU]\nstray\npcg=a\r\n\n");
    // The first of two sections of the same name takes it.
    EXPECT_EQ(WithProfileValue("[MRU]\nx=1\n[MRU]\ny=2\n", "MRU", "pcg", "a"),
              "[MRU]\nx=1\npcg=a\r\n[MRU]\ny=2\n");
}

TEST(ProfileTextWrite, EndsAnUnfinishedLastLineBeforeAddingToIt) {
    EXPECT_EQ(WithProfileValue("[Other]\r\nx=1", "MRU", "pcg", "a"),
              "[Other]\r\nx=1\r\n[MRU]\r\npcg=a\r\n");
    EXPECT_EQ(WithProfileValue("[MRU]\r\nreport=r", "MRU", "pcg", "a"),
              "[MRU]\r\nreport=r\r\npcg=a\r\n");
    EXPECT_EQ(WithProfileValue("[MRU]", "MRU", "pcg", "a"), "[MRU]\r\npcg=a\r\n");
    EXPECT_EQ(WithProfileValue("[Other]\n", "MRU", "pcg", "a"), "[Other]\n[MRU]\r\npcg=a\r\n");
}

TEST(ProfileTextWrite, ReplacesOnlyTheValue) {
    const std::string text = "; mine\n[mru]\r\n  Report = old value \t\r\npcg=p\nreport=dup\n";
    EXPECT_EQ(WithProfileValue(text, "MRU", "report", "new"),
              "; mine\n[mru]\r\n  Report = new \t\r\npcg=p\nreport=dup\n");
    EXPECT_EQ(WithProfileValue("[MRU]\nreport=\npcg=p", "MRU", "report", "r"),
              "[MRU]\nreport=r\npcg=p");
    EXPECT_EQ(WithProfileValue("[MRU]\nreport=  \npcg=p", "MRU", "pcg", ""),
              "[MRU]\nreport=  \npcg=");
    // An empty value goes in before the white space that ends its line, the CR of CR LF too.
    EXPECT_EQ(WithProfileValue("[MRU]\r\nreport=\r\npcg= \t\r\n", "MRU", "pcg", "p"),
              "[MRU]\r\nreport=\r\npcg=p \t\r\n");
}

TEST(ProfileTextWrite, QuotesValuesThatWouldNotReadBackWhole) {
    EXPECT_EQ(WithProfileValue("", "s", "k", " lead"), "[s]\r\nk=\" lead\"\r\n");
    EXPECT_EQ(WithProfileValue("", "s", "k", "trail\t"), "[s]\r\nk=\"trail\t\"\r\n");
    EXPECT_EQ(WithProfileValue("", "s", "k", "'q'"), "[s]\r\nk=\"'q'\"\r\n");
    EXPECT_EQ(WithProfileValue("", "s", "k", "in side"), "[s]\r\nk=in side\r\n");
    EXPECT_EQ(WithProfileValue("", "s", "k", "\"open"), "[s]\r\nk=\"open\r\n");
    for (const std::string value :
         {" lead", "trail ", "\"q\"", "'q'", "\"", "''", "\"open", " \" ", "", "a=b;c"}) {
        EXPECT_EQ(Find(WithProfileValue("[s]\nk=old\n", "s", "k", value), "s", "k"), value);
    }
}

TEST(ProfileTextWrite, RefusesWhatCannotReadBack) {
    EXPECT_TRUE(os::CanStoreInProfile("MRU", "report", "/a b/c.htm"));
    EXPECT_TRUE(os::CanStoreInProfile("a]b", "k;[", "v=;[]"));
    EXPECT_FALSE(os::CanStoreInProfile("MRU", "report", "two\nlines"));
    EXPECT_FALSE(os::CanStoreInProfile("MRU", "report", "cr\r"));
    EXPECT_FALSE(os::CanStoreInProfile("MRU", "report", std::string("n\0l", 3)));
    EXPECT_FALSE(os::CanStoreInProfile("M\nRU", "report", "v"));
    EXPECT_FALSE(os::CanStoreInProfile("MRU", "re\nport", "v"));
    EXPECT_FALSE(os::CanStoreInProfile(" ", "report", "v"));
    EXPECT_FALSE(os::CanStoreInProfile("MRU", "", "v"));
    EXPECT_FALSE(os::CanStoreInProfile("MRU", "a=b", "v"));
    EXPECT_FALSE(os::CanStoreInProfile("MRU", " ;key", "v"));
    EXPECT_FALSE(os::CanStoreInProfile("MRU", "[key]", "v"));
    // Names that pass read back: ']' inside a section name, since its header ends at the last.
    EXPECT_EQ(Find(WithProfileValue("", "a]b", "k;[", "v"), "A]B", "K;["), "v");
}

}  // namespace
