// SPDX-License-Identifier: MIT
#include "platform/os/executable_name.h"

#include <gtest/gtest.h>

namespace {

TEST(ExecutableName, DropsFoldersAndTheFileNamesExtension) {
    EXPECT_EQ(os::ExecutableName("/usr/lib/tabulon/tabulon"), "tabulon");
    EXPECT_EQ(os::ExecutableName("/opt/Tabulon.exe"), "Tabulon");
    EXPECT_EQ(os::ExecutableName("/opt/tabulon.tar.gz"), "tabulon.tar");
    // A "." in a folder name is not the file's extension.
    EXPECT_EQ(os::ExecutableName("/home/me/my.tools/tabulon"), "tabulon");
    EXPECT_EQ(os::ExecutableName("/home/me/.local/.tabulon"), ".tabulon");
    EXPECT_EQ(os::ExecutableName("tabulon"), "tabulon");
}

TEST(WithExtension, ReplacesOrAppends) {
    EXPECT_EQ(os::WithExtension("/usr/lib/tabulon/tabulon", ".HLP"),
              "/usr/lib/tabulon/tabulon.HLP");
    EXPECT_EQ(os::WithExtension("/opt/Tabulon.exe", ".HLP"), "/opt/Tabulon.HLP");
    EXPECT_EQ(os::WithExtension("/my.tools/tabulon", ".HLP"), "/my.tools/tabulon.HLP");
}

}  // namespace
