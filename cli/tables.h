// SPDX-License-Identifier: MIT
// tabulon-cli's tables of PCG files: listings, comparisons and duplicates.
#pragma once

#include <string>

#include "cli/command_line.h"

// Every slot of every file of `request`; a file that cannot be read is told and passed over,
// and so is one read in part. 0 when every file was listed whole, 1 otherwise.
int ListSlots(const std::string& program, const CliRequest& request);

// The slots that differ between the request's two files (ComparePcg). 0 when none does, 1 when
// some do, 2 when a file cannot be read whole (nothing is compared then) or the table cannot be
// written.
int CompareFiles(const std::string& program, const CliRequest& request);

// The groups of duplicates across the request's files (FindDuplicates), each file read once
// however it is named. 0 when there is none, 1 when there are, 2 as for CompareFiles.
int FindDuplicateSlots(const std::string& program, const CliRequest& request);
