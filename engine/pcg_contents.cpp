// SPDX-License-Identifier: MIT
#include "engine/pcg_contents.h"

std::string ShortfallText(const PcgShortfall& shortfall) {
    switch (shortfall.kind) {
        case PcgShortfall::Kind::EndsEarly:
            return "the file ends at byte " + std::to_string(shortfall.fileEnd) +
                   ", its chunks say " + std::to_string(shortfall.chunksEnd);
        case PcgShortfall::Kind::TooManySlots:
            return "the file holds more than " + std::to_string(kMaxPcgSlots) + " slots";
        case PcgShortfall::Kind::TooManyBanks:
            return "the file holds more than " + std::to_string(kMaxPcgBanks) + " banks";
        case PcgShortfall::Kind::TooManyChunks:
            return "the file holds more than " + std::to_string(kMaxPcgChunks) + " chunks";
        case PcgShortfall::Kind::None:
            break;
    }
    return {};
}
