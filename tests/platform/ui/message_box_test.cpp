// SPDX-License-Identifier: MIT
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>
#include <memory>

#include "platform/ui/win_app.h"
#include "support/modal_driver.h"
#include "tests/platform/ui/recording_dialog.h"

namespace {

// An application that counts the message boxes it is asked for and passes them on.
class CountingApp : public CWinApp {
public:
    CountingApp() : CWinApp("Tabulon") {}
    int DoMessageBox(const std::string& prompt, unsigned type, unsigned helpId) override {
        ++count;
        return CWinApp::DoMessageBox(prompt, type, helpId);
    }
    int count = 0;
};

}  // namespace

class MessageBoxTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { m_app = std::make_unique<CountingApp>(); }
    void init() { m_modals.Begin(this); }
    void cleanup() { m_modals.End(); }

    void captionedWithTheTitleAndOwnedByTheInnermostDialog();
    void goThroughTheApplicationObject();
    void realBoxShowsPlainTextIconAndCaption_data();
    void realBoxShowsPlainTextIconAndCaption();
    void seamAnswersInOrderThenShowsForReal();

private:
    support::ModalDriver& Drive() { return m_modals.Drive(); }

    std::unique_ptr<CountingApp> m_app;
    support::ModalTestScope m_modals;
};

void MessageBoxTest::captionedWithTheTitleAndOwnedByTheInnermostDialog() {
    RecordingDialog main(IDD_REPORT_DIALOG);
    RecordingDialog about(IDD_ABOUTBOX);
    m_app->SetMainWnd(&main);
    MessageBoxSeam::QueueAnswer(IDOK);
    MessageBoxSeam::QueueAnswer(IDOK);
    MessageBoxSeam::QueueAnswer(IDOK);
    QWidget* mainWindow = nullptr;
    QWidget* aboutWindow = nullptr;
    Drive()
        .Then([&](QWidget* modal) {
            mainWindow = modal;
            QCOMPARE(AfxMessageBox("Successfully generated report", MB_OK | MB_ICONINFORMATION),
                     IDOK);
            about.DoModal();
        })
        .Then([&](QWidget* modal) {
            aboutWindow = modal;
            AfxMessageBox("Failed to launch help.", MB_OK | MB_ICONEXCLAMATION);
            modal->close();
        })
        .Then([&](QWidget* modal) {
            AfxMessageBox("again over the main dialog", MB_OK | MB_ICONEXCLAMATION);
            modal->close();
        });
    main.DoModal();
    const auto& shown = MessageBoxSeam::Shown();
    QCOMPARE(shown.size(), std::size_t(3));
    QCOMPARE(shown[0].text, std::string("Successfully generated report"));
    QCOMPARE(shown[0].type, MB_OK | MB_ICONINFORMATION);
    QCOMPARE(shown[1].type, MB_OK | MB_ICONEXCLAMATION);
    for (const ShownMessageBox& box : shown) {
        QCOMPARE(box.caption, std::string("Tabulon"));
    }
    QVERIFY(mainWindow && aboutWindow);
    QCOMPARE(shown[0].owner, mainWindow);
    QCOMPARE(shown[1].owner, aboutWindow);
    QCOMPARE(shown[2].owner, mainWindow);
}

void MessageBoxTest::goThroughTheApplicationObject() {
    MessageBoxSeam::QueueAnswer(IDOK);
    const int before = m_app->count;
    AfxMessageBox("no window open");
    QCOMPARE(m_app->count, before + 1);
    QVERIFY(MessageBoxSeam::Shown().back().owner == nullptr);
}

void MessageBoxTest::realBoxShowsPlainTextIconAndCaption_data() {
    QTest::addColumn<unsigned>("type");
    QTest::addColumn<int>("icon");
    QTest::addColumn<QString>("details");
    QTest::newRow("warning") << (MB_OK | MB_ICONEXCLAMATION) << int(QMessageBox::Warning)
                             << "/full/r.htm: No space left on device";
    QTest::newRow("information") << (MB_OK | MB_ICONINFORMATION) << int(QMessageBox::Information)
                                 << "";
}

void MessageBoxTest::realBoxShowsPlainTextIconAndCaption() {
    QFETCH(unsigned, type);
    QFETCH(int, icon);
    QFETCH(QString, details);
    RecordingDialog main(IDD_REPORT_DIALOG);
    m_app->SetMainWnd(&main);
    // Text that would be markup if the box read it as such.
    const std::string text = "Error : <b>The named PCG file does not exist !</b>.";
    QString title, shownText;
    int shownIcon = -1, buttons = 0;
    QWidget* parent = nullptr;
    QWidget* mainWindow = nullptr;
    int answer = 0;
    Drive()
        .Then([&](QWidget* modal) {
            mainWindow = modal;
            answer = AfxMessageBox(text, type, 0, details.toStdString());
        })
        .Then([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QVERIFY(box);
            title = box->windowTitle();
            shownText = box->text();
            shownIcon = box->icon();
            buttons = int(box->buttons().size());
            parent = box->parentWidget();
            QCOMPARE(box->textFormat(), Qt::PlainText);
            QCOMPARE(box->detailedText(), details);
            // Enter presses OK, whether or not there are details to show.
            QTest::keyClick(box, Qt::Key_Return);
        })
        .Then([&](QWidget* modal) { modal->close(); });
    main.DoModal();
    QCOMPARE(title, QString("Tabulon"));
    QCOMPARE(shownText, QString::fromStdString(text));
    QCOMPARE(shownIcon, icon);
    QCOMPARE(buttons, details.isEmpty() ? 1 : 2);  // OK, and Show Details... where there are some
    QCOMPARE(parent, mainWindow);
    QCOMPARE(answer, IDOK);
}

void MessageBoxTest::seamAnswersInOrderThenShowsForReal() {
    MessageBoxSeam::QueueAnswer(IDCANCEL);
    MessageBoxSeam::QueueAnswer(IDOK);
    QCOMPARE(AfxMessageBox("one", MB_OKCANCEL), IDCANCEL);
    QCOMPARE(AfxMessageBox("two", MB_OKCANCEL), IDOK);
    bool shownForReal = false;
    Drive().Then([&](QWidget* modal) {
        shownForReal = qobject_cast<QMessageBox*>(modal) != nullptr;
        qobject_cast<QMessageBox*>(modal)->button(QMessageBox::Cancel)->click();
    });
    QCOMPARE(AfxMessageBox("three", MB_OKCANCEL), IDCANCEL);
    QVERIFY(shownForReal);
    QCOMPARE(MessageBoxSeam::Shown().size(), std::size_t(3));
}

QTEST_MAIN(MessageBoxTest)
#include "message_box_test.moc"
