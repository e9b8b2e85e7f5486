// SPDX-License-Identifier: MIT
// The main dialog: opening, Generate with its settings and messages, browsing, closing, keys.
#include "app/report_dlg.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <cstdio>
#include <memory>

#include "app/report_app.h"
#include "app/settings_store.h"
#include "platform/os/executable_path.h"
#include "platform/os/path_names.h"
#include "platform/ui/file_dialog.h"
#include "platform/ui/help_viewer.h"
#include "platform/ui/message_box.h"
#include "res/resource.h"
#include "support/drop.h"
#include "support/modal_driver.h"
#include "support/pcg_builder.h"
#include "support/qt_settings_folder.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace {

constexpr char kSettingsName[] = "app_report_dlg_tests.INI";

QLineEdit* Field(const CDialog& dialog, int id) {
    return qobject_cast<QLineEdit*>(dialog.ControlWidget(id));
}

}  // namespace

class ReportDlgTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { m_app = std::make_unique<CReportApp>(); }
    void init();
    void cleanup();

    void opensWithTheStoredPaths();
    void opensEmptyWithoutSettings();
    void generateStoresBothPathsAfterSuccess();
    void generateFailuresWarnAndStoreNothing_data();
    void generateFailuresWarnAndStoreNothing();
    void enterInEitherFieldRunsGenerate_data();
    void enterInEitherFieldRunsGenerate();
    void droppedFilesFillTheFieldsForGenerate();
    void browsingForThePcgFile();
    void browsingForTheReportFile();
    void browseDialogsOpenWhereTheFileIs();
    void theSaveDialogCompletesTypedNames_data();
    void theSaveDialogCompletesTypedNames();
    void closes_data();
    void closes();
    void tabOrderAndAccessKeys();
    void f1AsksForTopic0x20066();
    void systemCommandsOpenTheAboutBox_data();
    void systemCommandsOpenTheAboutBox();
    void aboutButtonOpensTheAboutBox();
    void isATaskBarWindowWithoutMinimiseOrMaximise();
    void startUpRunsTheDialogAndEnds();
    void survivesDamagedSettings_data();
    void survivesDamagedSettings();
    void layoutsAreOfferedChosenAndRemembered();
    void typedPathsAreMadeWhole();

private:
    support::ModalDriver& Drive() { return m_modals.Drive(); }
    std::string SettingsPath() const { return m_dir->Path("config/") + kSettingsName; }
    void StoreSettings(const std::string& bytes) const;
    // Runs the dialog, fills both fields, then runs `act` on it and closes it.
    void RunFilled(const std::string& pcg, const std::string& report,
                   const std::function<void(CReportDlg&)>& act);

    support::QtSettingsFolder m_qtSettings;  // first, so that it goes last
    std::unique_ptr<CReportApp> m_app;
    std::unique_ptr<support::TempDir> m_dir;
    std::unique_ptr<support::ScopedEnv> m_config;
    std::unique_ptr<support::ScopedEnv> m_data;
    std::string m_pcg;
    support::ModalTestScope m_modals;
};

void ReportDlgTest::init() {
    m_modals.Begin(this);
    m_dir = std::make_unique<support::TempDir>();
    m_config = std::make_unique<support::ScopedEnv>("XDG_CONFIG_HOME", m_dir->Path("config"));
    // No template of the user's own: the one beside the test program is used.
    m_data = std::make_unique<support::ScopedEnv>("XDG_DATA_HOME", m_dir->Path("data"));
    m_pcg =
        m_dir->Write("bank.pcg", support::PcgBuilder().Bank("PBK1", {"Piano", "<Pad>"}).bytes());
}

void ReportDlgTest::cleanup() {
    m_modals.End();
    m_data.reset();
    m_config.reset();
    m_dir.reset();
}

void ReportDlgTest::StoreSettings(const std::string& bytes) const {
    QVERIFY(QDir().mkpath(QString::fromStdString(m_dir->Path("config"))));
    m_dir->Write(std::string("config/") + kSettingsName, bytes);
}

void ReportDlgTest::RunFilled(const std::string& pcg, const std::string& report,
                              const std::function<void(CReportDlg&)>& act) {
    CReportDlg dialog;
    Drive().Then([&](QWidget* modal) {
        Field(dialog, IDC_PCG_FILE)->setText(QString::fromStdString(pcg));
        Field(dialog, IDC_REPORT_FILE)->setText(QString::fromStdString(report));
        act(dialog);
        modal->close();
    });
    dialog.DoModal();
}

void ReportDlgTest::opensWithTheStoredPaths() {
    StoreSettings("[MRU]\r\nreport=/home/me/list.htm\r\npcg=/home/me/ALL.PCG\r\n");
    CReportDlg dialog;
    QString pcg, report;
    bool focusInPcgField = false;
    Drive().Then([&](QWidget* modal) {
        pcg = Field(dialog, IDC_PCG_FILE)->text();
        report = Field(dialog, IDC_REPORT_FILE)->text();
        focusInPcgField = QApplication::focusWidget() == dialog.ControlWidget(IDC_PCG_FILE);
        modal->close();
    });
    dialog.DoModal();
    QCOMPARE(pcg, QString("/home/me/ALL.PCG"));
    QCOMPARE(report, QString("/home/me/list.htm"));
    QVERIFY(focusInPcgField);
}

void ReportDlgTest::opensEmptyWithoutSettings() {
    CReportDlg dialog;
    QString pcg = "unset", report = "unset";
    Drive().Then([&](QWidget* modal) {
        pcg = Field(dialog, IDC_PCG_FILE)->text();
        report = Field(dialog, IDC_REPORT_FILE)->text();
        modal->close();
    });
    dialog.DoModal();
    QVERIFY(pcg.isEmpty());
    QVERIFY(report.isEmpty());
    // Opening reads the settings; it never creates them.
    QVERIFY(!support::Exists(SettingsPath()));
}

void ReportDlgTest::generateStoresBothPathsAfterSuccess() {
    MessageBoxSeam::QueueAnswer(IDOK);
    const std::string report = m_dir->Path("list.htm");
    QWidget* window = nullptr;
    QString pcgAfter;
    RunFilled(m_pcg, report, [&](CReportDlg& dialog) {
        window = dialog.Window();
        QTest::mouseClick(dialog.ControlWidget(IDOK), Qt::LeftButton);
        // The dialog stays open, its fields as they were.
        QVERIFY(dialog.Window()->isVisible());
        pcgAfter = Field(dialog, IDC_PCG_FILE)->text();
    });
    QCOMPARE(MessageBoxSeam::Shown().size(), std::size_t(1));
    const ShownMessageBox& box = MessageBoxSeam::Shown().front();
    QCOMPARE(box.text, std::string("Successfully generated report"));
    QCOMPARE(box.caption, std::string("Tabulon"));
    QCOMPARE(box.type, MB_OK | MB_ICONINFORMATION);
    QVERIFY(box.owner == window);
    QCOMPARE(pcgAfter.toStdString(), m_pcg);
    QVERIFY(support::ReadFile(report).find("Piano") != std::string::npos);
    // The report first, then the PCG file, then the layout; the details say where it went.
    QCOMPARE(support::ReadFile(SettingsPath()),
             "[MRU]\r\nreport=" + report + "\r\npcg=" + m_pcg + "\r\nlayout=patch-list\r\n");
    QCOMPARE(box.details, report);
}

void ReportDlgTest::generateFailuresWarnAndStoreNothing_data() {
    QTest::addColumn<QString>("pcg");
    QTest::addColumn<QString>("report");
    QTest::addColumn<QString>("message");
    const QString names =
        "You need to enter the name of the PCG file to read, and the name for the report file, "
        "before I can generate anything ;-)";
    QTest::newRow("both empty") << ""
                                << "" << names;
    QTest::newRow("no report") << "PCG"
                               << "" << names;
    QTest::newRow("no PCG") << ""
                            << "REPORT" << names;
    QTest::newRow("missing PCG") << "MISSING"
                                 << "REPORT"
                                 << "Error : The named PCG file does not exist !.";
    QTest::newRow("bad header")
        << "BAD"
        << "REPORT"
        << "Error : Failed to read the PCG file, it does not appear to be valid (headers)..";
    QTest::newRow("no banks") << "EMPTY"
                              << "REPORT"
                              << "I couldn't find any patches in that PCG, so I can't generate "
                                 "a report !";
    QTest::newRow("report folder missing")
        << "PCG"
        << "NOWHERE"
        << "I could not create the report file, please check the file name is valid.";
}

void ReportDlgTest::generateFailuresWarnAndStoreNothing() {
    QFETCH(QString, pcg);
    QFETCH(QString, report);
    QFETCH(QString, message);
    const std::string earlier = "[MRU]\r\nreport=/old/list.htm\r\npcg=/old/ALL.PCG\r\n";
    StoreSettings(earlier);
    const std::map<QString, std::string> paths = {
        {"", ""},
        {"PCG", m_pcg},
        {"REPORT", m_dir->Path("list.htm")},
        {"MISSING", m_dir->Path("missing.pcg")},
        {"BAD", m_dir->Write("bad.pcg", "KORG")},
        {"EMPTY", m_dir->Write("empty.pcg", support::PcgBuilder().bytes())},
        {"NOWHERE", m_dir->Path("no/such/folder/list.htm")},
        {"FULL", "/dev/full"},
    };
    MessageBoxSeam::QueueAnswer(IDOK);
    RunFilled(paths.at(pcg), paths.at(report), [](CReportDlg& dialog) {
        QTest::mouseClick(dialog.ControlWidget(IDOK), Qt::LeftButton);
    });
    QCOMPARE(MessageBoxSeam::Shown().size(), std::size_t(1));
    QCOMPARE(QString::fromStdString(MessageBoxSeam::Shown().front().text), message);
    QCOMPARE(MessageBoxSeam::Shown().front().type, MB_OK | MB_ICONEXCLAMATION);
    QCOMPARE(support::ReadFile(SettingsPath()), earlier);
    QVERIFY(!support::Exists(m_dir->Path("list.htm")));
    // The system's reason, where it gave one, as the command line gives it.
    const std::map<QString, std::string> reasons = {
        {"MISSING", m_dir->Path("missing.pcg") + ": No such file or directory"},
        {"NOWHERE", m_dir->Path("no/such/folder/list.htm") + ": No such file or directory"},
        {"FULL", "/dev/full: No space left on device"},
    };
    const QString why = pcg == "MISSING" ? pcg : report;
    QCOMPARE(MessageBoxSeam::Shown().front().details,
             reasons.contains(why) ? reasons.at(why) : std::string());
}

void ReportDlgTest::enterInEitherFieldRunsGenerate_data() {
    QTest::addColumn<int>("field");
    QTest::newRow("PCG field") << IDC_PCG_FILE;
    QTest::newRow("report field") << IDC_REPORT_FILE;
}

void ReportDlgTest::enterInEitherFieldRunsGenerate() {
    QFETCH(int, field);
    MessageBoxSeam::QueueAnswer(IDOK);
    RunFilled(m_pcg, m_dir->Path("list.htm"), [&](CReportDlg& dialog) {
        dialog.ControlWidget(field)->setFocus();
        QTest::keyClick(dialog.ControlWidget(field), Qt::Key_Return);
    });
    QCOMPARE(MessageBoxSeam::Shown().size(), std::size_t(1));
    QCOMPARE(MessageBoxSeam::Shown().front().text, std::string("Successfully generated report"));
}

void ReportDlgTest::droppedFilesFillTheFieldsForGenerate() {
    MessageBoxSeam::QueueAnswer(IDOK);
    const std::string report = m_dir->Path("dropped list.htm");
    bool pcgTaken = false, reportTaken = false;
    RunFilled("typed.pcg", "typed.htm", [&](CReportDlg& dialog) {
        const QUrl pcgUrl = QUrl::fromLocalFile(QString::fromStdString(m_pcg));
        pcgTaken = support::DropOn(Field(dialog, IDC_PCG_FILE), {{pcgUrl}, pcgUrl.toString()});
        reportTaken = support::DropOn(Field(dialog, IDC_REPORT_FILE),
                                      {{QUrl::fromLocalFile(QString::fromStdString(report))}, {}});
        QTest::mouseClick(dialog.ControlWidget(IDOK), Qt::LeftButton);
    });
    QVERIFY(pcgTaken);
    QVERIFY(reportTaken);
    QCOMPARE(MessageBoxSeam::Shown().front().text, std::string("Successfully generated report"));
    QCOMPARE(ReadSetting("MRU", "pcg", ""), m_pcg);
    QCOMPARE(ReadSetting("MRU", "report", ""), report);
}

void ReportDlgTest::browsingForThePcgFile() {
    FileDialogSeam::QueueAnswer(IDOK, "/data/sounds/ALL.PCG");
    FileDialogSeam::QueueAnswer(IDCANCEL);
    QString afterConfirm, afterCancel;
    RunFilled("typed.pcg", "", [&](CReportDlg& dialog) {
        QTest::mouseClick(dialog.ControlWidget(IDC_BROWSE_PCG), Qt::LeftButton);
        afterConfirm = Field(dialog, IDC_PCG_FILE)->text();
        Field(dialog, IDC_PCG_FILE)->setText("typed again.pcg");
        QTest::mouseClick(dialog.ControlWidget(IDC_BROWSE_PCG), Qt::LeftButton);
        afterCancel = Field(dialog, IDC_PCG_FILE)->text();
    });
    QCOMPARE(afterConfirm, QString("/data/sounds/ALL.PCG"));
    QCOMPARE(afterCancel, QString("typed again.pcg"));
    const FileDialogRequest& request = FileDialogSeam::Requests().front();
    QVERIFY(request.open);
    QCOMPARE(request.defaultExtension, std::string(".PCG"));
    QVERIFY(request.fileName.empty());
    QCOMPARE(request.flags, OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST);
    QCOMPARE(request.filter, std::string("PCG Files (*.pcg)|*.pcg|All Files (*.*)|*.*||"));
    QCOMPARE(request.nameFilters, (std::vector<std::string>{"PCG Files (*.pcg)", "All Files (*)"}));
}

void ReportDlgTest::browsingForTheReportFile() {
    FileDialogSeam::QueueAnswer(IDOK, "/data/list.htm");
    FileDialogSeam::QueueAnswer(IDCANCEL);
    QString afterConfirm, afterCancel;
    RunFilled("", "typed.htm", [&](CReportDlg& dialog) {
        QTest::mouseClick(dialog.ControlWidget(IDC_BROWSE_REPORT), Qt::LeftButton);
        afterConfirm = Field(dialog, IDC_REPORT_FILE)->text();
        QTest::mouseClick(dialog.ControlWidget(IDC_BROWSE_REPORT), Qt::LeftButton);
        afterCancel = Field(dialog, IDC_REPORT_FILE)->text();
    });
    QCOMPARE(afterConfirm, QString("/data/list.htm"));
    QCOMPARE(afterCancel, QString("/data/list.htm"));
    const FileDialogRequest& request = FileDialogSeam::Requests().front();
    QVERIFY(!request.open);
    QCOMPARE(request.defaultExtension, std::string(".TXT"));
    QCOMPARE(request.flags, OFN_OVERWRITEPROMPT);
    QCOMPARE(request.filter, std::string("HTML Files (*.htm)|*.htm|All Files (*.*)|*.*||"));
    // Browsing creates nothing: only Generate writes the report.
    QVERIFY(!support::Exists("/data/list.htm"));
}

void ReportDlgTest::browseDialogsOpenWhereTheFileIs() {
    const std::string home = m_dir->Path("home"), banks = m_dir->Path("banks"),
                      reports = m_dir->Path("reports");
    for (const std::string& folder : {home, banks, reports}) {
        QVERIFY(QDir().mkpath(QString::fromStdString(folder)));
    }
    support::ScopedEnv homeFolder("HOME", home);
    FileDialogSeam::QueueAnswer(IDOK, banks + "/ALL.PCG");
    for (int i = 0; i < 3; ++i) {
        FileDialogSeam::QueueAnswer(IDCANCEL);
    }
    RunFilled("", m_dir->Path("gone/list.htm"), [&](CReportDlg& dialog) {
        // Nothing typed and nothing browsed yet: the home folder.
        QTest::mouseClick(dialog.ControlWidget(IDC_BROWSE_PCG), Qt::LeftButton);
        // A folder that does not exist: where the last dialog ended.
        QTest::mouseClick(dialog.ControlWidget(IDC_BROWSE_REPORT), Qt::LeftButton);
        Field(dialog, IDC_REPORT_FILE)->setText(QString::fromStdString(reports + "/list.htm"));
        QTest::mouseClick(dialog.ControlWidget(IDC_BROWSE_REPORT), Qt::LeftButton);
        // A bare name lies in the working folder, as Generate reads it.
        Field(dialog, IDC_PCG_FILE)->setText("ALL.PCG");
        QTest::mouseClick(dialog.ControlWidget(IDC_BROWSE_PCG), Qt::LeftButton);
    });
    std::vector<std::string> folders;
    for (const FileDialogRequest& request : FileDialogSeam::Requests()) {
        folders.push_back(request.initialFolder);
    }
    QCOMPARE(folders,
             (std::vector<std::string>{home, banks, reports, QDir::currentPath().toStdString()}));
}

void ReportDlgTest::theSaveDialogCompletesTypedNames_data() {
    QTest::addColumn<int>("filter");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("chosen");
    QTest::newRow("HTML selected") << 0 << "list"
                                   << "list.htm";
    QTest::newRow("All Files selected") << 1 << "list"
                                        << "list.TXT";
    QTest::newRow("own extension kept") << 0 << "list.html"
                                        << "list.html";
}

void ReportDlgTest::theSaveDialogCompletesTypedNames() {
    QFETCH(int, filter);
    QFETCH(QString, typed);
    QFETCH(QString, chosen);
    const QString folder = QString::fromStdString(m_dir->path());
    QString field;
    CReportDlg dialog;
    Drive()
        .Then([&](QWidget*) {
            QTest::mouseClick(dialog.ControlWidget(IDC_BROWSE_REPORT), Qt::LeftButton);
            field = Field(dialog, IDC_REPORT_FILE)->text();
        })
        .Then([&](QWidget* modal) {
            auto* files = qobject_cast<QFileDialog*>(modal);
            QVERIFY(files != nullptr);
            files->setDirectory(folder);
            files->selectNameFilter(files->nameFilters().at(filter));
            auto* name = files->findChild<QLineEdit*>("fileNameEdit");
            QVERIFY(name != nullptr);
            name->setText(typed);
            QTest::keyClick(name, Qt::Key_Return);
        })
        .Then([&](QWidget* modal) { modal->close(); });
    dialog.DoModal();
    QCOMPARE(field, folder + "/" + chosen);
}

void ReportDlgTest::closes_data() {
    QTest::addColumn<int>("how");
    QTest::addColumn<int>("result");
    QTest::newRow("Exit") << 0 << IDOK;
    QTest::newRow("Alt+X") << 1 << IDOK;
    QTest::newRow("Esc") << 2 << IDCANCEL;
    QTest::newRow("close box") << 3 << IDCANCEL;
}

void ReportDlgTest::closes() {
    QFETCH(int, how);
    QFETCH(int, result);
    CReportDlg dialog;
    Drive().Then([&](QWidget* modal) {
        Field(dialog, IDC_PCG_FILE)->setText(QString::fromStdString(m_pcg));
        Field(dialog, IDC_REPORT_FILE)->setText("typed.htm");
        switch (how) {
            case 0:
                QTest::mouseClick(dialog.ControlWidget(IDC_EXIT), Qt::LeftButton);
                break;
            case 1:
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_X, Qt::AltModifier);
                break;
            case 2:
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
                break;
            default:
                modal->close();
                break;
        }
    });
    QCOMPARE(dialog.DoModal(), result);
    // Closing never asks and never stores what was typed.
    QVERIFY(MessageBoxSeam::Shown().empty());
    QVERIFY(!support::Exists(SettingsPath()));
}

void ReportDlgTest::tabOrderAndAccessKeys() {
    CReportDlg dialog;
    QList<int> visited;
    int aboutBoxes = 0;
    MessageBoxSeam::QueueAnswer(IDOK);
    // Closes the About box when it shows, counting it.
    QTimer aboutWatch(m_modals.scope());
    connect(&aboutWatch, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->windowTitle() == "About") {
            ++aboutBoxes;
            modal->close();
        }
    });
    aboutWatch.start(10);
    Drive().Then([&](QWidget* modal) {
        for (int i = 0; i < 6; ++i) {
            for (int id : {IDC_PCG_FILE, IDC_REPORT_FILE, IDC_LAYOUT, IDOK, IDC_ABOUT, IDC_EXIT,
                           IDC_BROWSE_PCG, IDC_BROWSE_REPORT}) {
                if (QApplication::focusWidget() == dialog.ControlWidget(id)) {
                    visited << id;
                }
            }
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        // Access keys press their buttons the way a click does, a moment later.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_G, Qt::AltModifier);
        QTRY_COMPARE(MessageBoxSeam::Shown().size(), std::size_t(1));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::AltModifier);
        QTRY_COMPARE(aboutBoxes, 1);
        modal->close();
    });
    dialog.DoModal();
    QCOMPARE(visited,
             (QList<int>{IDC_PCG_FILE, IDC_REPORT_FILE, IDC_LAYOUT, IDOK, IDC_EXIT, IDC_PCG_FILE}));
    // Alt+G generated (with empty fields: the message that asks for both names).
    QVERIFY(MessageBoxSeam::Shown().front().text.starts_with("You need to enter"));
    QCOMPARE(aboutBoxes, 1);
}

void ReportDlgTest::f1AsksForTopic0x20066() {
    HelpSeam::QueueAnswer(true);
    CReportDlg dialog;
    Drive().Then([&](QWidget* modal) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
        // With a modifier, F1 is not the help key.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1, Qt::ShiftModifier);
        modal->close();
    });
    dialog.DoModal();
    QCOMPARE(HelpSeam::Requests().size(), std::size_t(1));
    QCOMPARE(HelpSeam::Requests().front().topic, 0x20066ul);
    QCOMPARE(HelpSeam::Requests().front().helpFile,
             os::DirectoryOf(os::ExecutablePath()) + "app_report_dlg_tests.HLP");
}

void ReportDlgTest::systemCommandsOpenTheAboutBox_data() {
    QTest::addColumn<unsigned>("command");
    QTest::addColumn<bool>("opensAbout");
    QTest::newRow("0x0010") << 0x0010u << true;
    QTest::newRow("0x0017") << 0x0017u << true;
    QTest::newRow("0x001F") << 0x001Fu << true;
    QTest::newRow("0x0020") << 0x0020u << false;
    QTest::newRow("SC_MOVE") << SC_MOVE << false;
}

void ReportDlgTest::systemCommandsOpenTheAboutBox() {
    QFETCH(unsigned, command);
    QFETCH(bool, opensAbout);
    CReportDlg dialog;
    QString opened;
    QWidget* owner = nullptr;
    QWidget* mainWindow = nullptr;
    Drive()
        .Then([&](QWidget* modal) {
            mainWindow = modal;
            dialog.SendSysCommand(command);
        })
        .Then([&](QWidget* modal) {
            if (modal != mainWindow) {
                opened = modal->windowTitle();
                owner = modal->parentWidget();
            }
            modal->close();
        })
        .Then([&](QWidget* modal) { modal->close(); });
    dialog.DoModal();
    QCOMPARE(opened, opensAbout ? QString("About") : QString());
    QVERIFY(owner == (opensAbout ? mainWindow : nullptr));
}

void ReportDlgTest::aboutButtonOpensTheAboutBox() {
    CReportDlg dialog;
    QString opened, pcgAfter;
    bool mainOpen = false;
    Drive()
        .Then([&](QWidget*) {
            Field(dialog, IDC_PCG_FILE)->setText("kept.pcg");
            QTest::mouseClick(dialog.ControlWidget(IDC_ABOUT), Qt::LeftButton);
            mainOpen = dialog.Window()->isVisible();
            pcgAfter = Field(dialog, IDC_PCG_FILE)->text();
        })
        .Then([&](QWidget* modal) {
            opened = modal->windowTitle();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        })
        .Then([&](QWidget* modal) { modal->close(); });
    dialog.DoModal();
    QCOMPARE(opened, QString("About"));
    QVERIFY(mainOpen);
    QCOMPARE(pcgAfter, QString("kept.pcg"));
}

void ReportDlgTest::isATaskBarWindowWithoutMinimiseOrMaximise() {
    CReportDlg dialog;
    Qt::WindowFlags flags;
    QWidget* parent = reinterpret_cast<QWidget*>(1);
    QSize minimum, maximum;
    Drive().Then([&](QWidget* modal) {
        flags = modal->windowFlags();
        parent = modal->parentWidget();
        minimum = modal->minimumSize();
        maximum = modal->maximumSize();
        modal->close();
    });
    dialog.DoModal();
    QVERIFY(parent == nullptr);
    QCOMPARE(flags & Qt::WindowType_Mask, Qt::Window);
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QCOMPARE(minimum, maximum);
}

void ReportDlgTest::startUpRunsTheDialogAndEnds() {
    StoreSettings("[MRU]\r\npcg=/stored.pcg\r\n");
    QString pcg;
    CDialog* mainDuringRun = nullptr;
    Drive().Then([&](QWidget* modal) {
        pcg = Field(*CDialog::FromWidget(modal), IDC_PCG_FILE)->text();
        mainDuringRun = m_app->GetMainWnd();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    });
    QCOMPARE(m_app->AppName(), std::string("Tabulon"));
    QVERIFY(!m_app->InitInstance());
    QCOMPARE(pcg, QString("/stored.pcg"));
    QVERIFY(mainDuringRun != nullptr);
    QVERIFY(m_app->GetMainWnd() == nullptr);
}

void ReportDlgTest::survivesDamagedSettings_data() {
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("pcgShown");
    QTest::addColumn<bool>("stored");
    QTest::newRow("settings file is a folder") << "folder"
                                               << "" << false;
    QTest::newRow("config folder is a file") << "file"
                                             << "" << false;
    QTest::newRow("binary garbage") << "garbage"
                                    << "" << true;
    QTest::newRow("10 MB value") << "huge" << QString(4095, 'x') << true;
}

void ReportDlgTest::survivesDamagedSettings() {
    QFETCH(QString, damage);
    QFETCH(QString, pcgShown);
    QFETCH(bool, stored);
    std::string garbage;
    for (int i = 0; i < 5000; ++i) {
        garbage += static_cast<char>((i * 131 + i / 7) % 256);
    }
    if (damage == "folder") {
        QVERIFY(QDir().mkpath(QString::fromStdString(SettingsPath())));
    } else if (damage == "file") {
        m_dir->Write("config", "not a folder");
    } else if (damage == "garbage") {
        StoreSettings(garbage);
    } else {
        StoreSettings("[MRU]\r\npcg=" + std::string(10 << 20, 'x') + "\r\n");
    }
    MessageBoxSeam::QueueAnswer(IDOK);
    const std::string report = m_dir->Path("list.htm");
    QString pcgOnOpening;
    CReportDlg dialog;
    Drive().Then([&](QWidget* modal) {
        pcgOnOpening = Field(dialog, IDC_PCG_FILE)->text();
        Field(dialog, IDC_PCG_FILE)->setText(QString::fromStdString(m_pcg));
        Field(dialog, IDC_REPORT_FILE)->setText(QString::fromStdString(report));
        QTest::mouseClick(dialog.ControlWidget(IDOK), Qt::LeftButton);
        modal->close();
    });
    dialog.DoModal();
    QCOMPARE(pcgOnOpening, pcgShown);
    QCOMPARE(MessageBoxSeam::Shown().front().text, std::string("Successfully generated report"));
    QCOMPARE(ReadSetting("MRU", "pcg", "") == m_pcg, stored);
    QCOMPARE(ReadSetting("MRU", "report", "") == report, stored);
}

// The shipped layouts by what they show, then the user's own; the choice made is the report's
// and is remembered with the paths, as far as the settings file can hold it.
void ReportDlgTest::layoutsAreOfferedChosenAndRemembered() {
    QVERIFY(QDir().mkpath(QString::fromStdString(m_dir->Path("data/tabulon/folder.htm"))));
    m_dir->Write("data/tabulon/mine.htm", "mine <%PATCHNAME_000%>\n");
    m_dir->Write("data/tabulon/all-banks.htm", "every bank, mine\n");  // in the shipped one's place
    m_dir->Write("data/tabulon/ spaced.htm", "spaced\n");
    m_dir->Write("data/tabulon/gone.htm", "gone\n");
    StoreSettings("[MRU]\r\nlayout=mine\r\n");
    const std::string report = m_dir->Path("list.htm");
    QStringList offered;
    QString chosen;
    std::vector<std::string> reports;
    std::vector<std::string> settings;
    MessageBoxSeam::Record();
    RunFilled(m_pcg, report, [&](CReportDlg& dialog) {
        auto* list = qobject_cast<QComboBox*>(dialog.ControlWidget(IDC_LAYOUT));
        for (int i = 0; i < list->count(); ++i) {
            offered << list->itemText(i);
        }
        chosen = list->currentText();
        for (const int item : {0, 1, 4, 6}) {  // the patch list, every bank, ' spaced', mine
            MessageBoxSeam::QueueAnswer(IDOK);
            list->setCurrentIndex(item);
            QTest::mouseClick(dialog.ControlWidget(IDOK), Qt::LeftButton);
            reports.push_back(support::ReadFile(report));
            settings.push_back(support::ReadFile(SettingsPath()));
        }
        // One removed since the list was made.
        std::remove(m_dir->Path("data/tabulon/gone.htm").c_str());
        MessageBoxSeam::QueueAnswer(IDOK);
        list->setCurrentIndex(list->findText("gone"));
        QTest::mouseClick(dialog.ControlWidget(IDOK), Qt::LeftButton);
    });
    QCOMPARE(offered, QStringList({"Patch list", "Every bank", "By category", "Combinations",
                                   " spaced", "gone", "mine"}));
    QCOMPARE(chosen, QString("mine"));
    QVERIFY(reports[0].find("Piano") != std::string::npos);
    QCOMPARE(reports[1], std::string("every bank, mine\r\n"));
    QCOMPARE(reports[3], std::string("mine Piano\r\n"));
    // The layout stays where the settings file had it; the paths join it.
    const auto stored = [&](const std::string& layout) {
        return "[MRU]\r\nlayout=" + layout + "\r\nreport=" + report + "\r\npcg=" + m_pcg + "\r\n";
    };
    QCOMPARE(settings[0], stored("patch-list"));
    QCOMPARE(settings[1], stored("all-banks"));
    QCOMPARE(settings[2], settings[1]);  // " spaced" made the report, and is not remembered
    QCOMPARE(reports[2], std::string("spaced\r\n"));
    QCOMPARE(settings[3], stored("mine"));
    QCOMPARE(MessageBoxSeam::Shown().back().text,
             "Couldn't read your template file " + m_dir->Path("data/tabulon/gone.htm") + ".");

    // A layout no longer there opens on the patch list.
    StoreSettings("[MRU]\r\nlayout=gone\r\n");
    CReportDlg again;
    Drive().Then([&](QWidget* modal) {
        chosen = qobject_cast<QComboBox*>(again.ControlWidget(IDC_LAYOUT))->currentText();
        modal->close();
    });
    again.DoModal();
    QCOMPARE(chosen, QString("Patch list"));
}

// "~/" is the home folder and a relative path is the working folder's: the report goes where a
// shell would put it, and the settings remember it whole, while the fields keep what was typed.
void ReportDlgTest::typedPathsAreMadeWhole() {
    const support::ScopedEnv home("HOME", m_dir->Path("home"));
    QVERIFY(QDir().mkpath(QString::fromStdString(m_dir->Path("home/work"))));
    MessageBoxSeam::Record();
    const QString here = QDir::currentPath();
    QVERIFY(QDir::setCurrent(QString::fromStdString(m_dir->Path("home/work"))));
    m_dir->Write("home/work/bank.pcg", support::ReadFile(m_pcg));
    QString typed;
    MessageBoxSeam::QueueAnswer(IDOK);
    RunFilled("bank.pcg", "~/x.htm", [&](CReportDlg& dialog) {
        QTest::mouseClick(dialog.ControlWidget(IDOK), Qt::LeftButton);
        typed = Field(dialog, IDC_REPORT_FILE)->text();
    });
    QDir::setCurrent(here);
    QCOMPARE(typed, QString("~/x.htm"));
    QVERIFY(support::ReadFile(m_dir->Path("home/x.htm")).find("Piano") != std::string::npos);
    QCOMPARE(support::ReadFile(SettingsPath()), "[MRU]\r\nreport=" + m_dir->Path("home/x.htm") +
                                                    "\r\npcg=" + m_dir->Path("home/work/bank.pcg") +
                                                    "\r\nlayout=patch-list\r\n");
    QCOMPARE(MessageBoxSeam::Shown().front().details, m_dir->Path("home/x.htm"));
}

QTEST_MAIN(ReportDlgTest)
#include "report_dlg_test.moc"
