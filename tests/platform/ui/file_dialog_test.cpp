// SPDX-License-Identifier: MIT
#include "platform/ui/file_dialog.h"

#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>
#include <memory>

#include "platform/ui/win_app.h"
#include "support/modal_driver.h"
#include "support/qt_settings_folder.h"
#include "support/temp_dir.h"
#include "tests/platform/ui/recording_dialog.h"

namespace {

constexpr const char* kPcgFilter = "PCG Files (*.pcg)|*.pcg|All Files (*.*)|*.*||";
constexpr const char* kReportFilter = "HTML Files (*.htm)|*.htm|All Files (*.*)|*.*||";

// Types `name` into the file dialog's name field, as a user would before pressing Save/Open.
void TypeName(QWidget* modal, const QString& name) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    QVERIFY(dialog);
    auto* field = dialog->findChild<QLineEdit*>("fileNameEdit");
    QVERIFY(field);
    field->setText(name);
}

// Presses the dialog's Open or Save button.
void Confirm(QWidget* modal) {
    static_cast<QDialog*>(modal)->accept();
}

}  // namespace

class FileDialogTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { m_app = std::make_unique<CWinApp>("Tabulon"); }
    void init() {
        m_modals.Begin(this);
        m_dir = std::make_unique<support::TempDir>();
    }
    void cleanup() {
        m_modals.End();
        m_dir.reset();
    }

    void seamRecordsWhatWouldBeShown();
    void seamCancelLeavesNoPath();
    void seamOwnerIsTheRunningDialog();
    void realDialogIsSetUpFromTheArguments();
    void saveAppendsTheSelectedFiltersExtension_data();
    void saveAppendsTheSelectedFiltersExtension();
    void saveAsksBeforeReplacingTheCompletedName();
    void openRefusesAMissingFileAndTakesAnExistingOne();
    void openFindsANameTypedWithoutItsExtension();
    void openFindsTheExtensionInTheInstrumentsUpperCase();
    void opensInItsInitialFolderElseWhereTheLastOneEnded();
    void pathsLongerThan260Characters();

private:
    support::ModalDriver& Drive() { return m_modals.Drive(); }
    QString Dir() const { return QString::fromStdString(m_dir->path()); }

    support::QtSettingsFolder m_qtSettings;  // first, so that it goes last
    std::unique_ptr<CWinApp> m_app;
    std::unique_ptr<support::TempDir> m_dir;
    support::ModalTestScope m_modals;
};

void FileDialogTest::seamRecordsWhatWouldBeShown() {
    FileDialogSeam::QueueAnswer(IDOK, "/data/ALL.PCG");
    CFileDialog dialog(true, ".PCG", nullptr, OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST, kPcgFilter);
    QCOMPARE(dialog.DoModal(), IDOK);
    QCOMPARE(dialog.GetPathName(), std::string("/data/ALL.PCG"));
    QCOMPARE(FileDialogSeam::Requests().size(), std::size_t(1));
    const FileDialogRequest& request = FileDialogSeam::Requests().front();
    QVERIFY(request.open);
    QCOMPARE(request.defaultExtension, std::string(".PCG"));
    QCOMPARE(request.fileName, std::string());
    QCOMPARE(request.flags, OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST);
    QCOMPARE(request.filter, std::string(kPcgFilter));
    QCOMPARE(request.nameFilters, std::vector<std::string>({"PCG Files (*.pcg)", "All Files (*)"}));
    QVERIFY(request.owner == nullptr);
}

void FileDialogTest::seamCancelLeavesNoPath() {
    FileDialogSeam::QueueAnswer(IDCANCEL, "/ignored");
    CFileDialog dialog(false, ".TXT", nullptr, OFN_OVERWRITEPROMPT, kReportFilter);
    QCOMPARE(dialog.DoModal(), IDCANCEL);
    QCOMPARE(dialog.GetPathName(), std::string());
    QVERIFY(!FileDialogSeam::Requests().front().open);
}

void FileDialogTest::seamOwnerIsTheRunningDialog() {
    RecordingDialog main(IDD_REPORT_DIALOG);
    FileDialogSeam::QueueAnswer(IDOK, "/a.htm");
    FileDialogSeam::QueueAnswer(IDOK, "/b.htm");
    QWidget* window = nullptr;
    Drive().Then([&](QWidget* modal) {
        window = modal;
        CFileDialog implicitOwner(false, ".TXT", nullptr, OFN_OVERWRITEPROMPT, kReportFilter);
        implicitOwner.DoModal();
        CFileDialog explicitOwner(false, ".TXT", nullptr, OFN_OVERWRITEPROMPT, kReportFilter,
                                  &main);
        explicitOwner.DoModal();
        modal->close();
    });
    main.DoModal();
    QCOMPARE(FileDialogSeam::Requests().size(), std::size_t(2));
    QCOMPARE(FileDialogSeam::Requests()[0].owner, window);
    QCOMPARE(FileDialogSeam::Requests()[1].owner, window);
}

void FileDialogTest::realDialogIsSetUpFromTheArguments() {
    RecordingDialog main(IDD_REPORT_DIALOG);
    QStringList filters;
    QString selected;
    bool nonNative = false, save = false, confirms = false;
    QWidget* parent = nullptr;
    QWidget* mainWindow = nullptr;
    int result = 0;
    Drive()
        .Then([&](QWidget* modal) {
            mainWindow = modal;
            CFileDialog dialog(false, ".TXT", nullptr, OFN_OVERWRITEPROMPT, kReportFilter, &main);
            result = dialog.DoModal();
        })
        .Then([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            QVERIFY(dialog);
            filters = dialog->nameFilters();
            selected = dialog->selectedNameFilter();
            nonNative = dialog->testOption(QFileDialog::DontUseNativeDialog);
            save = dialog->acceptMode() == QFileDialog::AcceptSave;
            confirms = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
            parent = dialog->parentWidget();
            dialog->reject();
        })
        .Then([&](QWidget* modal) { modal->close(); });
    main.DoModal();
    QCOMPARE(filters, QStringList({"HTML Files (*.htm)", "All Files (*)"}));
    QCOMPARE(selected, QString("HTML Files (*.htm)"));
    QVERIFY(nonNative);
    QVERIFY(save);
    QVERIFY(confirms);
    QCOMPARE(parent, mainWindow);
    QCOMPARE(result, IDCANCEL);
}

void FileDialogTest::saveAppendsTheSelectedFiltersExtension_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::newRow("HTML filter") << "HTML Files (*.htm)"
                                 << "report"
                                 << "report.htm";
    QTest::newRow("all files") << "All Files (*)"
                               << "report"
                               << "report.TXT";
    QTest::newRow("own extension") << "HTML Files (*.htm)"
                                   << "report.html"
                                   << "report.html";
    QTest::newRow("hidden name") << "All Files (*)"
                                 << ".report"
                                 << ".report.TXT";
}

void FileDialogTest::saveAppendsTheSelectedFiltersExtension() {
    QFETCH(QString, filter);
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    CFileDialog dialog(false, ".TXT", nullptr, OFN_OVERWRITEPROMPT, kReportFilter);
    Drive().Then([&](QWidget* modal) {
        auto* files = qobject_cast<QFileDialog*>(modal);
        QVERIFY(files);
        files->setDirectory(Dir());
        files->selectNameFilter(filter);
        TypeName(modal, typed);
        Confirm(modal);
    });
    QCOMPARE(dialog.DoModal(), IDOK);
    QCOMPARE(QString::fromStdString(dialog.GetPathName()), Dir() + "/" + stored);
    // Choosing is not writing.
    QVERIFY(!QFileInfo::exists(Dir() + "/" + stored));
}

void FileDialogTest::saveAsksBeforeReplacingTheCompletedName() {
    m_dir->Write("old.htm", "keep me");
    CFileDialog dialog(false, ".TXT", nullptr, OFN_OVERWRITEPROMPT, kReportFilter);
    QString question;
    Drive()
        .Then([&](QWidget* modal) {
            qobject_cast<QFileDialog*>(modal)->setDirectory(Dir());
            TypeName(modal, "old");
            Confirm(modal);
        })
        .Then([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QVERIFY(box);
            question = box->text();
            box->button(QMessageBox::Yes)->click();
        });
    QCOMPARE(dialog.DoModal(), IDOK);
    QVERIFY(question.contains("old.htm"));
    QCOMPARE(QString::fromStdString(dialog.GetPathName()), Dir() + "/old.htm");
}

void FileDialogTest::openRefusesAMissingFileAndTakesAnExistingOne() {
    m_dir->Write("bank.pcg", "KORG");
    CFileDialog dialog(true, ".PCG", nullptr, OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST, kPcgFilter);
    bool warned = false, stayedOpen = false;
    Drive()
        .Then([&](QWidget* modal) {
            qobject_cast<QFileDialog*>(modal)->setDirectory(Dir());
            TypeName(modal, "missing.pcg");
            Confirm(modal);
        })
        .Then([&](QWidget* modal) {
            warned = qobject_cast<QMessageBox*>(modal) != nullptr;
            modal->close();
        })
        .Then([&](QWidget* modal) {
            stayedOpen = qobject_cast<QFileDialog*>(modal) != nullptr;
            TypeName(modal, "bank.pcg");
            Confirm(modal);
        });
    QCOMPARE(dialog.DoModal(), IDOK);
    QVERIFY(warned);
    QVERIFY(stayedOpen);
    QCOMPARE(QString::fromStdString(dialog.GetPathName()), Dir() + "/bank.pcg");
}

void FileDialogTest::openFindsANameTypedWithoutItsExtension() {
    m_dir->Write("bank.pcg", "KORG");
    m_dir->Write("plain", "no extension");
    CFileDialog first(true, ".PCG", nullptr, OFN_FILEMUSTEXIST, kPcgFilter);
    CFileDialog second(true, ".PCG", nullptr, OFN_FILEMUSTEXIST, kPcgFilter);
    Drive().Then([&](QWidget* modal) {
        qobject_cast<QFileDialog*>(modal)->setDirectory(Dir());
        TypeName(modal, "bank");
        Confirm(modal);
    });
    QCOMPARE(first.DoModal(), IDOK);
    QCOMPARE(QString::fromStdString(first.GetPathName()), Dir() + "/bank.pcg");
    // A name that exists as typed is taken as typed.
    Drive().Then([&](QWidget* modal) {
        qobject_cast<QFileDialog*>(modal)->setDirectory(Dir());
        TypeName(modal, "plain");
        Confirm(modal);
    });
    QCOMPARE(second.DoModal(), IDOK);
    QCOMPARE(QString::fromStdString(second.GetPathName()), Dir() + "/plain");
}

void FileDialogTest::openFindsTheExtensionInTheInstrumentsUpperCase() {
    m_dir->Write("ALL.PCG", "KORG");
    CFileDialog dialog(true, ".PCG", nullptr, OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST, kPcgFilter);
    dialog.m_ofn.lpstrInitialDir = m_dir->path();
    bool otherNameRefused = false;
    Drive()
        .Then([&](QWidget* modal) {
            // Only the extension's case may differ from what was typed.
            TypeName(modal, "all");
            Confirm(modal);
        })
        .Then([&](QWidget* modal) {
            otherNameRefused = qobject_cast<QMessageBox*>(modal) != nullptr;
            modal->close();
        })
        .Then([&](QWidget* modal) {
            TypeName(modal, "ALL");
            Confirm(modal);
        });
    QCOMPARE(dialog.DoModal(), IDOK);
    QVERIFY(otherNameRefused);
    QCOMPARE(QString::fromStdString(dialog.GetPathName()), Dir() + "/ALL.PCG");
}

void FileDialogTest::opensInItsInitialFolderElseWhereTheLastOneEnded() {
    QVERIFY(QDir().mkpath(Dir() + "/banks"));
    CFileDialog first(true, ".PCG", nullptr, OFN_FILEMUSTEXIST, kPcgFilter);
    first.m_ofn.lpstrInitialDir = m_dir->Path("banks");
    CFileDialog second(false, ".TXT", nullptr, OFN_OVERWRITEPROMPT, kReportFilter);
    second.m_ofn.lpstrInitialDir = m_dir->Path("no such folder");
    QString firstOpenedIn, secondOpenedIn;
    Drive().Then([&](QWidget* modal) {
        auto* files = qobject_cast<QFileDialog*>(modal);
        firstOpenedIn = files->directory().absolutePath();
        // Walked elsewhere, then cancelled.
        files->setDirectory(Dir());
        files->reject();
    });
    QCOMPARE(first.DoModal(), IDCANCEL);
    Drive().Then([&](QWidget* modal) {
        secondOpenedIn = qobject_cast<QFileDialog*>(modal)->directory().absolutePath();
        modal->close();
    });
    second.DoModal();
    QCOMPARE(firstOpenedIn, Dir() + "/banks");
    QCOMPARE(secondOpenedIn, Dir());
}

void FileDialogTest::pathsLongerThan260Characters() {
    QString deep = Dir();
    for (int i = 0; i < 3; ++i) {
        deep += "/" + QString(100, QChar('a' + i));
    }
    QVERIFY(QDir().mkpath(deep));
    CFileDialog dialog(false, ".TXT", nullptr, OFN_OVERWRITEPROMPT, kReportFilter);
    Drive().Then([&](QWidget* modal) {
        qobject_cast<QFileDialog*>(modal)->setDirectory(deep);
        TypeName(modal, "report");
        Confirm(modal);
    });
    QCOMPARE(dialog.DoModal(), IDOK);
    QVERIFY(dialog.GetPathName().size() > 300);
    QCOMPARE(QString::fromStdString(dialog.GetPathName()), deep + "/report.htm");
}

QTEST_MAIN(FileDialogTest)
#include "file_dialog_test.moc"
