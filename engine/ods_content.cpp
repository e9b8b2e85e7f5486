// SPDX-License-Identifier: MIT
#include "engine/ods_content.h"

#include <algorithm>
#include <cstdio>

#include "engine/text_encoding.h"

namespace {

constexpr char kXmlHead[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
constexpr char kNamespaces[] =
    " xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\""
    " xmlns:style=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\""
    " xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\""
    " xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\""
    " xmlns:fo=\"urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0\""
    " xmlns:config=\"urn:oasis:names:tc:opendocument:xmlns:config:1.0\""
    " office:version=\"1.2\"";

// Characters in the width of the widest a name holds ("M"), and room either side, in inches.
constexpr double kInchesPerCharacter = 0.12;
constexpr double kInchesBeside = 0.2;

std::size_t CharactersIn(std::string_view text) {
    std::size_t count = 0;
    ForEachUtf8Character(text, [&count](char32_t) { ++count; });
    return count;
}

void AppendEscaped(std::string_view text, std::string& out) {
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
}

// A cell's text as a paragraph's: a control character as a space, and every space that a
// reader would fold away (more than one, or at either end) written as the space element.
void AppendParagraph(std::string_view cell, std::string& out) {
    std::string text;
    ForEachUtf8Character(cell, [&text](char32_t c) { AppendUtf8(IsControlCharacter(c) ? ' ' : c, text); });
    out += "<text:p>";
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t spaces = text.find_first_not_of(' ', at);
        const std::size_t run = (spaces == std::string::npos ? text.size() : spaces) - at;
        if (run == 0) {
            const std::size_t next = std::min(text.find(' ', at), text.size());
            AppendEscaped(std::string_view(text).substr(at, next - at), out);
            at = next;
            continue;
        }
        const bool inside = at > 0 && at + run < text.size();
        if (inside && run == 1) {
            out += ' ';
        } else {
            out += "<text:s text:c=\"" + std::to_string(run) + "\"/>";
        }
        at += run;
    }
    out += "</text:p>";
}

std::string Content(const std::vector<OdsSheet>& sheets) {
    std::string styles;
    std::string body;
    int widths = 0;
    for (const OdsSheet& sheet : sheets) {
        body += "<table:table table:name=\"";
        AppendEscaped(sheet.name, body);
        body += "\">\n";
        const std::size_t columns = sheet.rows.empty() ? 0 : sheet.rows.front().size();
        for (std::size_t c = 0; c < columns; ++c) {
            std::size_t longest = 0;
            for (const auto& row : sheet.rows) {
                longest = std::max(longest, c < row.size() ? CharactersIn(row[c]) : 0);
            }
            char width[32];
            std::snprintf(width, sizeof width, "%.2fin",
                          static_cast<double>(longest) * kInchesPerCharacter + kInchesBeside);
            const std::string style = "co" + std::to_string(++widths);
            styles += "<style:style style:name=\"" + style +
                      "\" style:family=\"table-column\"><style:table-column-properties "
                      "style:column-width=\"" +
                      width + "\"/></style:style>\n";
            body += "<table:table-column table:style-name=\"" + style + "\"/>\n";
        }
        for (std::size_t r = 0; r < sheet.rows.size(); ++r) {
            body += r == 0 ? "<table:table-header-rows><table:table-row>" : "<table:table-row>";
            for (const std::string& cell : sheet.rows[r]) {
                if (cell.empty()) {
                    body += "<table:table-cell/>";
                    continue;
                }
                body += r == 0 ? "<table:table-cell table:style-name=\"header\" "
                                 "office:value-type=\"string\">"
                               : "<table:table-cell office:value-type=\"string\">";
                AppendParagraph(cell, body);
                body += "</table:table-cell>";
            }
            body += r == 0 ? "</table:table-row></table:table-header-rows>\n"
                           : "</table:table-row>\n";
        }
        body += "</table:table>\n";
    }
    return std::string(kXmlHead) + "<office:document-content" + kNamespaces +
           ">\n<office:automatic-styles>\n" + styles +
           "<style:style style:name=\"header\" style:family=\"table-cell\">"
           "<style:text-properties fo:font-weight=\"bold\"/></style:style>\n"
           "</office:automatic-styles>\n<office:body><office:spreadsheet>\n" +
           body + "</office:spreadsheet></office:body></office:document-content>\n";
}

// Each sheet's first row frozen, so that the columns' names stay in view.
std::string Settings(const std::vector<OdsSheet>& sheets) {
    std::string tables;
    for (const OdsSheet& sheet : sheets) {
        tables += "<config:config-item-map-entry config:name=\"";
        AppendEscaped(sheet.name, tables);
        tables +=
            "\">"
            "<config:config-item config:name=\"HorizontalSplitMode\" config:type=\"short\">0"
            "</config:config-item>"
            "<config:config-item config:name=\"VerticalSplitMode\" config:type=\"short\">2"
            "</config:config-item>"
            "<config:config-item config:name=\"VerticalSplitPosition\" config:type=\"int\">1"
            "</config:config-item>"
            "<config:config-item config:name=\"ActiveSplitRange\" config:type=\"short\">2"
            "</config:config-item>"
            "<config:config-item config:name=\"PositionTop\" config:type=\"int\">0"
            "</config:config-item>"
            "<config:config-item config:name=\"PositionBottom\" config:type=\"int\">1"
            "</config:config-item>"
            "</config:config-item-map-entry>\n";
    }
    return std::string(kXmlHead) + "<office:document-settings" + kNamespaces +
           ">\n<office:settings><config:config-item-set config:name=\"ooo:view-settings\">"
           "<config:config-item-map-indexed config:name=\"Views\"><config:config-item-map-entry>"
           "<config:config-item config:name=\"ViewId\" config:type=\"string\">view1"
           "</config:config-item><config:config-item-map-named config:name=\"Tables\">\n" +
           tables +
           "</config:config-item-map-named></config:config-item-map-entry>"
           "</config:config-item-map-indexed></config:config-item-set></office:settings>"
           "</office:document-settings>\n";
}

}  // namespace

std::vector<PackageFile> OdsFiles(const std::vector<OdsSheet>& sheets) {
    const std::string manifest =
        std::string(kXmlHead) +
        "<manifest:manifest xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\" "
        "manifest:version=\"1.2\">\n"
        "<manifest:file-entry manifest:full-path=\"/\" manifest:version=\"1.2\" "
        "manifest:media-type=\"application/vnd.oasis.opendocument.spreadsheet\"/>\n"
        "<manifest:file-entry manifest:full-path=\"content.xml\" manifest:media-type=\"text/xml\"/>\n"
        "<manifest:file-entry manifest:full-path=\"settings.xml\" "
        "manifest:media-type=\"text/xml\"/>\n"
        "</manifest:manifest>\n";
    return {
        {"mimetype", "application/vnd.oasis.opendocument.spreadsheet", true},
        {"META-INF/manifest.xml", manifest, false},
        {"content.xml", Content(sheets), false},
        {"settings.xml", Settings(sheets), false},
    };
}
