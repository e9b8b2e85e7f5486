// SPDX-License-Identifier: MIT
// CComboBox: a drop-down list bound to a dialog's control.
#pragma once

#include <memory>
#include <string>

class QComboBox;

class CComboBox {
public:
    CComboBox();
    ~CComboBox();
    CComboBox(const CComboBox&) = delete;
    CComboBox& operator=(const CComboBox&) = delete;

    // Adds an item (8-bit text in the locale's encoding) at the end; returns its index, or -1
    // while unbound.
    int AddString(const std::string& text);
    // Empties the list.
    void ResetContent();
    // The number of items.
    int GetCount() const;
    // The chosen item's index, or -1 when none is chosen (or while unbound).
    int GetCurSel() const;
    // Chooses item `index`; -1 chooses none. False for an index out of range.
    bool SetCurSel(int index);
    // The text of item `index`; empty out of range.
    std::string GetLBText(int index) const;

    // Binds to a control; the binding ends by itself when the control is destroyed.
    void Attach(QComboBox* control);
    // The bound control, else nullptr.
    QComboBox* Widget() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
