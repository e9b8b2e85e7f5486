// SPDX-License-Identifier: MIT
// Shows the About box on its own, for looking at it (screenshots); not a test.
#include "app/about_dlg.h"
#include "platform/ui/win_app.h"

namespace {

class ShowAboutBoxApp : public CWinApp {
public:
    ShowAboutBoxApp() : CWinApp("Tabulon") {}

    bool InitInstance() override {
        CAboutDlg about;
        about.DoModal();
        return false;
    }
};

}  // namespace

int main(int argc, char** argv) {
    ShowAboutBoxApp app;
    return app.Run(argc, argv);
}
