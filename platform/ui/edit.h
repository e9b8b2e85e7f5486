// SPDX-License-Identifier: MIT
// CEdit: a single-line edit control bound to a dialog's control.
#pragma once

#include <memory>
#include <string>

class QLineEdit;

class CEdit {
public:
    CEdit();
    ~CEdit();
    CEdit(const CEdit&) = delete;
    CEdit& operator=(const CEdit&) = delete;

    // The text as 8-bit bytes in the locale's encoding (file paths are bytes); empty while
    // unbound.
    std::string GetWindowText() const;
    void GetWindowText(std::string& text) const { text = GetWindowText(); }
    // Replaces the text; ignored while unbound.
    void SetWindowText(const std::string& text);

    // Binds to a control; the binding ends by itself when the control is destroyed.
    void Attach(QLineEdit* control);
    // The bound control, else nullptr.
    QLineEdit* Widget() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
