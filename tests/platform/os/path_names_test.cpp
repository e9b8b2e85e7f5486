// SPDX-License-Identifier: MIT
#include "platform/os/path_names.h"

#include <gtest/gtest.h>

namespace {

TEST(DirectoryAndFileName, SplitAtTheLastSlash) {
    EXPECT_EQ(os::DirectoryOf("/usr/lib/tabulon/tabulon"), "/usr/lib/tabulon/");
    EXPECT_EQ(os::FileNameOf("/usr/lib/tabulon/tabulon"), "tabulon");
    EXPECT_EQ(os::DirectoryOf("name"), "");
    EXPECT_EQ(os::FileNameOf("name"), "name");
    EXPECT_EQ(os::DirectoryOf("/name"), "/");
    EXPECT_EQ(os::DirectoryOf("a//b"), "a//");
    EXPECT_EQ(os::FileNameOf("a//b"), "b");
    // A path that ends in '/' names no file.
    EXPECT_EQ(os::DirectoryOf("banks/"), "banks/");
    EXPECT_EQ(os::FileNameOf("banks/"), "");
    EXPECT_EQ(os::DirectoryOf(""), "");
    EXPECT_EQ(os::FileNameOf(".."), "..");
}

TEST(StemOf, DropsFoldersAndTheFileNamesExtension) {
    EXPECT_EQ(os::StemOf("/usr/lib/tabulon/tabulon"), "tabulon");
    EXPECT_EQ(os::StemOf("/opt/Tabulon.exe"), "Tabulon");
    EXPECT_EQ(os::StemOf("/opt/tabulon.tar.gz"), "tabulon.tar");
    // A "." in a folder name is not the file's extension.
    EXPECT_EQ(os::StemOf("/home/me/my.tools/tabulon"), "tabulon");
    EXPECT_EQ(os::StemOf("/home/me/.local/.tabulon"), ".tabulon");
    EXPECT_EQ(os::StemOf("tabulon"), "tabulon");
    // Only a leading "." is kept: ".." ends in an empty extension.
    EXPECT_EQ(os::StemOf(".."), ".");
}

TEST(HasExtension, ADotThatDoesNotLeadTheFileName) {
    EXPECT_FALSE(os::HasExtension("/a.b/c"));
    EXPECT_TRUE(os::HasExtension("c.d"));
    EXPECT_TRUE(os::HasExtension("/tmp/notes."));
    EXPECT_FALSE(os::HasExtension("/tmp/.profile"));
    EXPECT_FALSE(os::HasExtension("a.b/"));
}

TEST(WithExtension, ReplacesOrAppends) {
    EXPECT_EQ(os::WithExtension("/usr/lib/tabulon/tabulon", ".HLP"),
              "/usr/lib/tabulon/tabulon.HLP");
    EXPECT_EQ(os::WithExtension("/opt/Tabulon.exe", ".HLP"), "/opt/Tabulon.HLP");
    EXPECT_EQ(os::WithExtension("/my.tools/tabulon", ".HLP"), "/my.tools/tabulon.HLP");
    EXPECT_EQ(os::WithExtension("BANK.PCG", ".htm"), "BANK.htm");
    EXPECT_EQ(os::WithExtension(".tabulon", ".INI"), ".tabulon.INI");
}

}  // namespace
