// SPDX-License-Identifier: MIT
// Collects the patch names of a PCG file's bank chunks.
#pragma once

#include <string>

#include "engine/patch_table.h"
#include "platform/os/input_file.h"

// The reader's two error texts.
inline constexpr char kPcgMissingText[] = "The named PCG file does not exist !";
inline constexpr char kPcgBadHeadersText[] =
    "Failed to read the PCG file, it does not appear to be valid (headers).";

enum class ReadOutcome {
    Read,     // at least one bank chunk was accepted; the names are in the table
    NoBanks,  // the header was valid but no "PBK1" or "MBK1" chunk followed it
    Failed,   // the table's error text says why
};

enum class PcgReadStatus {
    Read,        // at least one bank chunk was accepted
    NoBanks,     // the headers are valid but no bank chunk follows them
    CannotOpen,  // the path cannot be opened as a regular file
    BadHeaders,  // the file is too short or its headers are wrong
};

// Reads the names of the records of the "PBK1" and "MBK1" chunks that directly follow the
// "PRG1" chunk header, in file order, into `table` (whose error text must be empty), stopping
// at the first chunk of any other kind or at the end of the file. The "PRG1" chunk header is
// at offset 24 (32-byte file header), or, in later models' files, behind the "DIV1" and "INI1"
// blocks that begin the "PCG1" chunk there instead; they are skipped by their sizes.
//
// Failed, with the error text:
//   "The named PCG file does not exist !"  the path cannot be opened, or is not a regular file;
//   "Failed to read the PCG file, it does not appear to be valid (headers)."  the file is
//       shorter than 32 bytes, its "KORG" or "PCG1" magic differs, or no "PRG1" chunk
//       header stands at offset 24 or right behind the "DIV1"/"INI1" blocks found there.
//
// A name is the first 16 bytes of its record, cut at the first NUL, made only of bytes the
// record really holds (a shorter record or one cut off by the end of the file gives fewer).
// Records that the header counts but the file no longer holds still count and keep empty
// names. The work done is bounded by the file's length, never by the counts in its headers,
// and records beyond the names wanted are passed over unread.
ReadOutcome ReadPatchNames(const std::string& pcgPath, CPatchTable& table);

// The same reading of `file` from its first byte, filling only the first `namesWanted`
// entries (the rest stay empty): reading ends once they are in, so a caller that shows 128
// names reads no further into the file. A BadHeaders reading fills the error text; the caller
// opens the file, and tells a file it cannot open itself.
PcgReadStatus ReadClassicNames(os::InputFile& file, CPatchTable& table, std::size_t namesWanted);
