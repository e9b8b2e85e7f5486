// SPDX-License-Identifier: MIT
// What screen readers say for controls whose own text says too little, such as a "..." button.
#pragma once

namespace res {

struct AccessibleText {
    int dialogId;
    int controlId;
    const char* name;         // replaces the control's text as its name
    const char* description;  // what the control is for
};

// The entry for control `controlId` of dialog `dialogId`, or nullptr when there is none.
const AccessibleText* FindAccessibleText(int dialogId, int controlId);

}  // namespace res
