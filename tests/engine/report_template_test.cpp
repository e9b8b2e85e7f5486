// SPDX-License-Identifier: MIT
// Parsing and rendering "<%key%>" templates.
#include "engine/report_template.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string Render(const std::string& text,
                   const std::vector<std::pair<std::string, std::string>>& values = {}) {
    CReportTemplate reportTemplate;
    reportTemplate.SetTemplate(text);
    for (const auto& [key, value] : values) {
        reportTemplate.SetValue(key, value);
    }
    std::string out = "stale";
    reportTemplate.Render(out);
    return out;
}

std::vector<std::pair<bool, std::string>> Chunks(const std::string& text) {
    CReportTemplate reportTemplate;
    reportTemplate.SetTemplate(text);
    std::vector<std::pair<bool, std::string>> chunks;
    for (const auto& chunk : reportTemplate.Chunks()) {
        chunks.emplace_back(chunk.isTag, chunk.text);
    }
    return chunks;
}

using Chunk = std::pair<bool, std::string>;
using ChunkList = std::vector<Chunk>;

TEST(ReportTemplate, ReplacesTagsByTheirValues) {
    EXPECT_EQ(Render("<b><%X%></b>", {{"X", "value"}}), "<b>value</b>");
    EXPECT_EQ(Render("<b><%X%></b>"), "<b></b>");
    EXPECT_EQ(Render("<%X%>,<%X%>,<%Y%>", {{"X", "1"}, {"Y", "2"}}), "1,1,2");
    EXPECT_EQ(Render(""), "");
    EXPECT_EQ(Render("no tags at all"), "no tags at all");
}

TEST(ReportTemplate, KeysAreExactBytes) {
    EXPECT_EQ(Render("[<% X %>]", {{"X", "v"}}), "[]");
    EXPECT_EQ(Render("[<% X %>]", {{" X ", "v"}}), "[v]");
    EXPECT_EQ(Render("[<%NAME%>]", {{"name", "v"}}), "[]");
    EXPECT_EQ(Render("[<%a\r\nb%>]", {{"a\r\nb", "v"}}), "[v]");
}

TEST(ReportTemplate, MarkersDoNotNest) {
    EXPECT_EQ(Render("100%> done"), "100%> done");
    EXPECT_EQ(Chunks("<%<%K%>"), (ChunkList{{false, ""}, {true, "<%K"}}));
    EXPECT_EQ(Render("<%<%K%>", {{"<%K", "v"}}), "v");
}

TEST(ReportTemplate, UnclosedAndTrailingMarkers) {
    EXPECT_EQ(Chunks("text<%KEY"), (ChunkList{{false, "text"}, {true, "KEY"}}));
    EXPECT_EQ(Render("text<%KEY", {{"KEY", "v"}}), "textv");
    EXPECT_EQ(Chunks("text<%"), (ChunkList{{false, "text"}}));
    EXPECT_EQ(Render("text<%"), "text");
    EXPECT_EQ(Chunks("a<%K%>"), (ChunkList{{false, "a"}, {true, "K"}}));
    EXPECT_EQ(Chunks("<%%>"), (ChunkList{{false, ""}, {true, ""}}));
    EXPECT_EQ(Render("<%%>", {{"", "empty key"}}), "empty key");
}

TEST(ReportTemplate, SetTemplateForgetsEarlierValuesAndChunks) {
    CReportTemplate reportTemplate;
    reportTemplate.SetTemplate("first <%X%>");
    reportTemplate.SetValue("X", "old");
    reportTemplate.SetValue("X", "new");
    std::string out;
    reportTemplate.Render(out);
    EXPECT_EQ(out, "first new");
    reportTemplate.SetTemplate("second <%X%>");
    reportTemplate.Render(out);
    EXPECT_EQ(out, "second ");
}

TEST(ReportTemplate, HandlesAMillionMarkers) {
    std::string text;
    for (int i = 0; i < 1000000; ++i) {
        text += "<%";
    }
    // Alternating opens: every second "<%" is text inside a tag.
    CReportTemplate reportTemplate;
    reportTemplate.SetTemplate(text);
    reportTemplate.SetValue("<%", "!");
    std::string out;
    reportTemplate.Render(out);
    EXPECT_EQ(out, "");
    EXPECT_EQ(reportTemplate.Chunks().size(), 2u);
}

}  // namespace
