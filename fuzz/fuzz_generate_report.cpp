// SPDX-License-Identifier: MIT
// Report generation end to end on arbitrary PCG bytes with a fixed template, every outcome and
// every report byte checked.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "engine/report_generation.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/memory_file.h"
#include "fuzz/pcg_model.h"

namespace {

constexpr std::size_t kReportedNames = 128;
constexpr std::string_view kUntouched = "report not written yet\n";

constexpr std::string_view kSucceeded = "Successfully generated report";
constexpr std::string_view kMissingFile = "Error : The named PCG file does not exist !.";
constexpr std::string_view kBadHeaders =
    "Error : Failed to read the PCG file, it does not appear to be valid (headers)..";
constexpr std::string_view kNoPatches =
    "I couldn't find any patches in that PCG, so I can't generate a report !";
constexpr std::string_view kReportNotCreated =
    "I could not create the report file, please check the file name is valid.";

std::string Key(std::size_t j) {
    char key[16];
    std::snprintf(key, sizeof key, "PATCHNAME_%03zu", j);
    return key;
}

// Each key on a line of its own, CR LF and LF line ends mixed, keys the engine never fills.
std::string TemplateText() {
    std::string text = "<table>\r\n\n";
    for (std::size_t j = 0; j < kReportedNames; ++j) {
        text += "<tr><td>" + std::to_string(j) + "</td><td><%" + Key(j) + "%></td></tr>";
        text += j % 2 ? "\n" : "\r\n";
    }
    return text + "<%PATCHNAME_128%><%patchname_000%><% PATCHNAME_000%>|</table>";
}

// Escaped first, then trimmed: the order a reader of the report would expect to describe it.
std::string Value(std::string_view name) {
    std::string value;
    for (const char c : name) {
        if (c == '<') {
            value += "&lt;";
        } else if (c == '>') {
            value += "&gt;";
        } else {
            value += c;
        }
    }
    constexpr const char* kWhiteSpace = " \t\n\v\f\r";
    const auto first = value.find_first_not_of(kWhiteSpace);
    if (first == std::string::npos) {
        return {};
    }
    return value.substr(first, value.find_last_not_of(kWhiteSpace) - first + 1);
}

std::string ExpectedReport(const std::vector<std::string>& names) {
    std::string report = "<table>\r\n";
    for (std::size_t j = 0; j < kReportedNames; ++j) {
        report += "<tr><td>" + std::to_string(j) + "</td><td>" + Value(names[j]) + "</td></tr>\r\n";
    }
    return report + "|</table>\r\n";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const fuzz::MemoryFile templateFile("template.htm", TemplateText());
    static fuzz::MemoryFile pcg("fuzz.pcg");
    static fuzz::MemoryFile report("report.htm");

    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    pcg.Assign(bytes);
    report.Assign(kUntouched);

    const GenerateOutcome outcome =
        GenerateReportFromTemplate({templateFile.path(), false}, pcg.path(), report.path());

    const std::string_view message = outcome.message;
    FUZZ_CHECK(message == kSucceeded || message == kMissingFile || message == kBadHeaders ||
               message == kNoPatches || message == kReportNotCreated);
    FUZZ_CHECK(outcome.succeeded == (message == kSucceeded));
    FUZZ_CHECK(outcome.icon ==
               (outcome.succeeded ? OutcomeIcon::Information : OutcomeIcon::Warning));
    // The status says what the message says.
    const GenerateOutcome derived = OutcomeOf(outcome.status);
    FUZZ_CHECK(derived.message == message && derived.succeeded == outcome.succeeded);

    const fuzz::PcgModel model = fuzz::ModelPcg(bytes, kReportedNames);
    switch (model.outcome) {
        case fuzz::PcgModel::Outcome::BadHeaders:
            FUZZ_CHECK(message == kBadHeaders);
            break;
        case fuzz::PcgModel::Outcome::NoBanks:
            FUZZ_CHECK(message == kNoPatches);
            break;
        case fuzz::PcgModel::Outcome::Read:
            FUZZ_CHECK(message == kSucceeded);
            break;
    }
    FUZZ_CHECK(pcg.Content() == bytes);
    FUZZ_CHECK(report.Content() == (outcome.succeeded ? ExpectedReport(model.names) : kUntouched));
    return 0;
}
