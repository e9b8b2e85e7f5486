// SPDX-License-Identifier: MIT
#include "engine/pcg_reading.h"

#include <cerrno>

#include "engine/pcg_tree_reader.h"

namespace {

void Read(os::InputFile& file, const PcgReadRequest& request, PcgReading& reading) {
    reading.names.errorText[0] = '\0';
    if (request.rules == PcgRules::WholeFile) {
        reading.status = ReadPcgTree(file, reading.contents, {request.programsWanted, request.sounds});
        return;
    }
    reading.status = ReadClassicNames(file, reading.names, request.names);
    if (reading.status == PcgReadStatus::Read && request.wholeFile) {
        file.Rewind();
        ReadPcgTree(file, reading.contents, {request.programsWanted, request.sounds});
    }
}

}  // namespace

PcgReading ReadPcg(const std::string& pcgPath, const PcgReadRequest& request) {
    PcgReading reading;
    os::InputFile file;
    if (!file.Open(pcgPath)) {
        reading.error = errno;
        reading.status = PcgReadStatus::CannotOpen;
        return reading;
    }
    Read(file, request, reading);
    return reading;
}

PcgReading ReadPcgBytes(std::string_view bytes, const PcgReadRequest& request) {
    PcgReading reading;
    os::InputFile file;
    file.OpenBytes(bytes);
    Read(file, request, reading);
    return reading;
}
