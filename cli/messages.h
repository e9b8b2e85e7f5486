// SPDX-License-Identifier: MIT
// tabulon-cli's lines on standard error.
#pragma once

#include <string>

// "program: subject: why", the subject quoted where it would otherwise break the line or reach
// the terminal as a control sequence.
void Complain(const std::string& program, const std::string& subject, const std::string& why);

// "program: why".
void Tell(const std::string& program, const std::string& why);
