// SPDX-License-Identifier: MIT
#include <QApplication>
#include <QDialog>
#include <QScrollBar>
#include <QStyle>
#include <QTextBlock>
#include <QTextBrowser>
#include <QtTest>
#include <memory>

#include "platform/ui/help_viewer.h"
#include "platform/ui/win_app.h"
#include "support/modal_driver.h"
#include "support/temp_dir.h"
#include "tests/platform/ui/recording_dialog.h"

class HelpTest : public QObject {
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

    void helpFileIsNamedAfterTheExecutable();
    void anchorsAreLowerCaseHex();
    void f1AsksForTheTopicOfTheFocusedDialog();
    void f1WithShiftCtrlOrAltDoesNothing();
    void viewerFailureSaysSo();
    void missingOrUnreadableHelpFileSaysSo();
    void viewerOpensAtTheTopicAndStaysUsable();
    void headingsAndLinksReadWellInLightAndDarkThemes();

private:
    support::ModalDriver& Drive() { return m_modals.Drive(); }

    std::unique_ptr<CWinApp> m_app;
    std::unique_ptr<support::TempDir> m_dir;
    support::ModalTestScope m_modals;
};

void HelpTest::helpFileIsNamedAfterTheExecutable() {
    const QString exe = QCoreApplication::applicationFilePath();
    QCOMPARE(QString::fromStdString(m_app->HelpFilePath()), exe + ".HLP");
    QCOMPARE(QString::fromStdString(m_app->ExeName()), QFileInfo(exe).fileName());
    QCOMPARE(m_app->AppName(), std::string("Tabulon"));
}

void HelpTest::anchorsAreLowerCaseHex() {
    QCOMPARE(ui::HelpAnchorName(0x20064), std::string("0x20064"));
    QCOMPARE(ui::HelpAnchorName(0x2ABCD), std::string("0x2abcd"));
}

void HelpTest::f1AsksForTheTopicOfTheFocusedDialog() {
    RecordingDialog main(IDD_REPORT_DIALOG);
    RecordingDialog about(IDD_ABOUTBOX);
    m_app->SetMainWnd(&main);
    HelpSeam::QueueAnswer(true);
    HelpSeam::QueueAnswer(true);
    QWidget* aboutWindow = nullptr;
    Drive()
        .Then([&](QWidget*) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
            about.DoModal();
        })
        .Then([&](QWidget* modal) {
            aboutWindow = modal;
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
            modal->close();
        })
        .Then([&](QWidget* modal) { modal->close(); });
    main.DoModal();
    const auto& requests = HelpSeam::Requests();
    QCOMPARE(requests.size(), std::size_t(2));
    QCOMPARE(requests[0].topic, 0x20066ul);
    QCOMPARE(requests[1].topic, 0x20064ul);
    QCOMPARE(requests[0].helpFile, m_app->HelpFilePath());
    QCOMPARE(requests[1].owner, aboutWindow);
}

void HelpTest::f1WithShiftCtrlOrAltDoesNothing() {
    RecordingDialog dialog(IDD_ABOUTBOX);
    HelpSeam::QueueAnswer(true);
    Drive().Then([&](QWidget* modal) {
        for (Qt::KeyboardModifier modifier :
             {Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1, modifier);
        }
        modal->close();
    });
    dialog.DoModal();
    QVERIFY(HelpSeam::Requests().empty());
}

void HelpTest::viewerFailureSaysSo() {
    RecordingDialog dialog(IDD_ABOUTBOX);
    HelpSeam::QueueAnswer(false);
    MessageBoxSeam::QueueAnswer(IDOK);
    QWidget* window = nullptr;
    Drive().Then([&](QWidget* modal) {
        window = modal;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
        modal->close();
    });
    dialog.DoModal();
    QCOMPARE(MessageBoxSeam::Shown().size(), std::size_t(1));
    const ShownMessageBox& box = MessageBoxSeam::Shown().front();
    QCOMPARE(box.text, std::string("Failed to launch help."));
    QCOMPARE(box.type, MB_OK | MB_ICONEXCLAMATION);
    QCOMPARE(box.caption, std::string("Tabulon"));
    QCOMPARE(box.owner, window);
}

void HelpTest::missingOrUnreadableHelpFileSaysSo() {
    MessageBoxSeam::QueueAnswer(IDOK);
    MessageBoxSeam::QueueAnswer(IDOK);
    MessageBoxSeam::QueueAnswer(IDOK);
    const std::string unreadable = m_dir->Write("locked.HLP", "<html></html>");
    QFile::setPermissions(QString::fromStdString(unreadable), QFileDevice::WriteOwner);
    const bool rootReadsAnyway =
        QFile(QString::fromStdString(unreadable)).open(QIODevice::ReadOnly);
    for (const std::string& path : {m_dir->Path("missing.HLP"), m_dir->path(), unreadable}) {
        m_app->SetHelpFilePath(path);
        m_app->WinHelp(0x20066);
    }
    QCOMPARE(MessageBoxSeam::Shown().size(), std::size_t(rootReadsAnyway ? 2 : 3));
    for (const ShownMessageBox& box : MessageBoxSeam::Shown()) {
        QCOMPARE(box.text, std::string("Failed to launch help."));
    }
    QVERIFY(rootReadsAnyway || ui::OpenHelpWindow() == nullptr);
    delete ui::OpenHelpWindow();
}

void HelpTest::viewerOpensAtTheTopicAndStaysUsable() {
    QString page = "<html><body><p><a name=\"0x20064\"></a>About box</p>";
    for (int i = 0; i < 300; ++i) {
        page += QString("<p>Line %1</p>").arg(i);
    }
    page += "<h2><a name=\"0x20066\"></a>Main dialog</h2><p>The end.</p></body></html>";
    m_app->SetHelpFilePath(m_dir->Write("tabulon.HLP", page.toStdString()));
    MessageBoxSeam::Record();
    RecordingDialog dialog(IDD_REPORT_DIALOG);
    QWidget* helpWindow = nullptr;
    QWidget* helpParent = nullptr;
    QString fragment, title;
    int scrolled = 0;
    bool sameWindowAgain = false;
    bool onWorkArea = false;
    Drive().Then([&](QWidget* modal) {
        m_app->WinHelp(0x20066);
        helpWindow = ui::OpenHelpWindow();
        QVERIFY(helpWindow && helpWindow->isVisible());
        helpParent = helpWindow->parentWidget();
        onWorkArea = modal->screen()->availableGeometry().contains(helpWindow->frameGeometry());
        title = helpWindow->windowTitle();
        auto* browser = helpWindow->findChild<QTextBrowser*>();
        fragment = browser->source().fragment();
        scrolled = browser->verticalScrollBar()->value();
        m_app->WinHelp(0x20064);
        sameWindowAgain = ui::OpenHelpWindow() == helpWindow;
        modal->close();
    });
    dialog.DoModal();
    QVERIFY(MessageBoxSeam::Shown().empty());
    // Owned by the modal dialog, so the dialog's modality does not block it.
    QVERIFY(helpParent != nullptr);
    QCOMPARE(fragment, QString("0x20066"));
    QVERIFY(scrolled > 0);
    QVERIFY(sameWindowAgain);
    QVERIFY(onWorkArea);
    QCOMPARE(title, QString("Tabulon Help"));
    // It goes with the dialog it belongs to.
    QVERIFY(ui::OpenHelpWindow() == nullptr);
}

namespace {

// WCAG's contrast ratio, from 1 (none) to 21 (black on white); 4.5 reads well.
double Contrast(const QColor& a, const QColor& b) {
    auto luminance = [](const QColor& c) {
        double sum = 0;
        const double weights[] = {0.2126, 0.7152, 0.0722};
        const double channels[] = {c.redF(), c.greenF(), c.blueF()};
        for (int i = 0; i < 3; ++i) {
            const double v = channels[i];
            sum += weights[i] * (v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4));
        }
        return sum;
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// A dark theme that sets only the main colours, as many desktops' themes do.
QPalette DarkPalette() {
    QPalette dark = QApplication::style()->standardPalette();
    for (auto role : {QPalette::Window, QPalette::Button, QPalette::AlternateBase}) {
        dark.setColor(role, QColor(53, 53, 53));
    }
    dark.setColor(QPalette::Base, QColor(30, 30, 30));
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        dark.setColor(role, Qt::white);
    }
    dark.setColor(QPalette::Highlight, QColor(42, 130, 218));
    return dark;
}

// The lowest contrast of a heading or a link against the page, and how many there are.
std::pair<double, int> LowestContrastOfHeadingsAndLinks(const QTextBrowser* browser) {
    const QColor base = browser->palette().color(QPalette::Base);
    const QColor text = browser->palette().color(QPalette::Text);
    double lowest = 21;
    int seen = 0;
    for (QTextBlock block = browser->document()->begin(); block.isValid(); block = block.next()) {
        const bool heading = block.blockFormat().headingLevel() > 0;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (heading || format.isAnchor()) {
                const QBrush brush = format.foreground();
                lowest = std::min(
                    lowest, Contrast(brush.style() == Qt::NoBrush ? text : brush.color(), base));
                ++seen;
            }
        }
    }
    return {lowest, seen};
}

}  // namespace

void HelpTest::headingsAndLinksReadWellInLightAndDarkThemes() {
    const QPalette before = QApplication::palette();
    m_app->SetHelpFilePath((QCoreApplication::applicationDirPath() + "/tabulon.HLP").toStdString());
    QApplication::setPalette(QApplication::style()->standardPalette());
    std::pair<double, int> light, dark, darkFromTheStart;
    RecordingDialog dialog(IDD_REPORT_DIALOG);
    Drive().Then([&](QWidget* modal) {
        m_app->WinHelp(0x20066);
        auto* browser = ui::OpenHelpWindow()->findChild<QTextBrowser*>();
        light = LowestContrastOfHeadingsAndLinks(browser);
        // The desktop switches to a dark theme while the help is open.
        QApplication::setPalette(DarkPalette());
        QCoreApplication::processEvents();
        dark = LowestContrastOfHeadingsAndLinks(browser);
        delete ui::OpenHelpWindow();
        m_app->WinHelp(0x20066);
        darkFromTheStart =
            LowestContrastOfHeadingsAndLinks(ui::OpenHelpWindow()->findChild<QTextBrowser*>());
        modal->close();
    });
    dialog.DoModal();
    QApplication::setPalette(before);
    QVERIFY(light.second > 10);
    QCOMPARE(dark.second, light.second);
    QVERIFY2(light.first >= 4.5, qPrintable(QString::number(light.first)));
    QVERIFY2(dark.first >= 4.5, qPrintable(QString::number(dark.first)));
    QVERIFY2(darkFromTheStart.first >= 4.5, qPrintable(QString::number(darkFromTheStart.first)));
}

QTEST_MAIN(HelpTest)
#include "help_test.moc"
