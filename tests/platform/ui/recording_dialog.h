// SPDX-License-Identifier: MIT
// A CDialog that records the commands it gets, for tests of the framework.
#pragma once

#include <functional>
#include <vector>

#include "platform/ui/dialog.h"
#include "platform/ui/edit.h"

class RecordingDialog : public CDialog {
public:
    explicit RecordingDialog(int templateId, CDialog* owner = nullptr)
        : CDialog(templateId, owner) {}

    std::vector<int> commands;
    std::vector<unsigned> sysCommands;
    int okCount = 0;
    bool keepOpenOnOK = false;  // like a dialog whose OK runs a command and stays open
    std::function<void(RecordingDialog&)> onInit;
    CEdit pcgField;
    CEdit reportField;

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        if (TemplateId() == IDD_REPORT_DIALOG) {
            DDX_Control(pDX, IDC_PCG_FILE, pcgField);
            DDX_Control(pDX, IDC_REPORT_FILE, reportField);
        }
    }

    bool OnInitDialog() override {
        const bool focusFirst = CDialog::OnInitDialog();
        if (onInit) {
            onInit(*this);
        }
        return focusFirst;
    }

    bool OnCommand(int id) override {
        commands.push_back(id);
        if (id == IDC_EXIT) {
            EndDialog(IDOK);
            return true;
        }
        return CDialog::OnCommand(id);
    }

    void OnSysCommand(unsigned id, long param) override {
        sysCommands.push_back(id);
        CDialog::OnSysCommand(id, param);
    }

    void OnOK() override {
        ++okCount;
        if (!keepOpenOnOK) {
            CDialog::OnOK();
        }
    }
};
