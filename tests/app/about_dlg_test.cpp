// SPDX-License-Identifier: MIT
#include "app/about_dlg.h"

#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QtTest>
#include <memory>

#include "platform/ui/help_viewer.h"
#include "platform/ui/win_app.h"
#include "support/modal_driver.h"

class AboutDlgTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { m_app = std::make_unique<CWinApp>("Tabulon"); }
    void init() { m_modals.Begin(this); }
    void cleanup() { m_modals.End(); }

    void showsItsTemplate();
    void textsFitTheirControls();
    void okHasTheFocusAndIsTheOnlyTabStop();
    void closes_data();
    void closes();
    void ownedByTheMainWindowAndCentredOverIt();
    void f1AsksForTopic0x20064();

private:
    support::ModalDriver& Drive() { return m_modals.Drive(); }

    std::unique_ptr<CWinApp> m_app;
    support::ModalTestScope m_modals;
};

void AboutDlgTest::showsItsTemplate() {
    CAboutDlg about;
    QString caption, version, notice, contact, ok;
    Qt::Alignment versionAlignment, noticeAlignment, contactAlignment;
    QWidget* versionBuddy = reinterpret_cast<QWidget*>(1);
    QSize iconSize;
    QColor rule, text;
    bool okIsDefault = false;
    Drive().Then([&](QWidget* modal) {
        caption = modal->windowTitle();
        auto* icon = qobject_cast<QLabel*>(about.ControlAt(0));
        iconSize = icon->pixmap().size();
        auto* versionLabel = qobject_cast<QLabel*>(about.ControlAt(1));
        version = versionLabel->text();
        versionAlignment = versionLabel->alignment();
        versionBuddy = versionLabel->buddy();
        notice = qobject_cast<QLabel*>(about.ControlAt(2))->text();
        noticeAlignment = qobject_cast<QLabel*>(about.ControlAt(2))->alignment();
        auto* button = qobject_cast<QPushButton*>(about.ControlWidget(IDOK));
        ok = button->text();
        okIsDefault = button->isDefault();
        rule = about.ControlAt(4)->palette().color(QPalette::Window);
        text = about.ControlAt(4)->palette().color(QPalette::WindowText);
        contact = qobject_cast<QLabel*>(about.ControlAt(5))->text();
        contactAlignment = qobject_cast<QLabel*>(about.ControlAt(5))->alignment();
        modal->close();
    });
    about.DoModal();
    QCOMPARE(caption, QString("About"));
    QCOMPARE(iconSize, QSize(32, 32));
    QCOMPARE(version, QString("Tabulon Version 1.0\nLinux edition"));
    QVERIFY(versionAlignment & Qt::AlignHCenter);
    // Shown as written: no access key, so an "&" would stay visible.
    QVERIFY(versionBuddy == nullptr);
    QCOMPARE(notice, QString("Free software under the MIT licence."));
    QVERIFY(noticeAlignment & Qt::AlignLeft);
    QVERIFY(contact.contains("issue") || contact.contains("tracker"));
    QVERIFY(contactAlignment & Qt::AlignHCenter);
    QCOMPARE(ok, QString("OK"));
    QVERIFY(okIsDefault);
    QCOMPARE(rule, text);
}

void AboutDlgTest::textsFitTheirControls() {
    CAboutDlg about;
    QStringList clipped;
    Drive().Then([&](QWidget* modal) {
        for (int index : {1, 2, 5}) {
            auto* label = qobject_cast<QLabel*>(about.ControlAt(index));
            const QFontMetrics metrics(label->font());
            const QStringList lines = label->text().split('\n');
            for (const QString& line : lines) {
                if (metrics.horizontalAdvance(line) > label->width()) {
                    clipped << line;
                }
            }
            if (lines.size() * metrics.height() > label->height()) {
                clipped << label->text();
            }
        }
        modal->close();
    });
    about.DoModal();
    QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(" | ")));
}

void AboutDlgTest::okHasTheFocusAndIsTheOnlyTabStop() {
    CAboutDlg about;
    QWidget* ok = nullptr;
    QWidget* focused = nullptr;
    QWidget* afterTab = nullptr;
    Drive().Then([&](QWidget* modal) {
        ok = about.ControlWidget(IDOK);
        focused = QApplication::focusWidget();
        QTest::keyClick(focused, Qt::Key_Tab);
        afterTab = QApplication::focusWidget();
        modal->close();
    });
    about.DoModal();
    QVERIFY(ok != nullptr);
    QCOMPARE(focused, ok);
    QCOMPARE(afterTab, ok);
}

void AboutDlgTest::closes_data() {
    QTest::addColumn<int>("how");
    QTest::addColumn<int>("result");
    QTest::newRow("Enter") << 0 << IDOK;
    QTest::newRow("OK clicked") << 1 << IDOK;
    QTest::newRow("Esc") << 2 << IDCANCEL;
    QTest::newRow("close box") << 3 << IDCANCEL;
}

void AboutDlgTest::closes() {
    QFETCH(int, how);
    QFETCH(int, result);
    CAboutDlg about;
    Drive().Then([&](QWidget* modal) {
        switch (how) {
            case 0:
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
                break;
            case 1:
                QTest::mouseClick(about.ControlWidget(IDOK), Qt::LeftButton);
                break;
            case 2:
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
                break;
            default:
                modal->close();
                break;
        }
    });
    QCOMPARE(about.DoModal(), result);
}

void AboutDlgTest::ownedByTheMainWindowAndCentredOverIt() {
    CDialog main(IDD_REPORT_DIALOG);
    m_app->SetMainWnd(&main);
    QWidget* mainWindow = nullptr;
    QWidget* owner = nullptr;
    QPoint mainCentre, aboutCentre;
    bool mainStayed = false;
    Drive()
        .Then([&](QWidget* modal) {
            mainWindow = modal;
            modal->move(200, 150);
            CAboutDlg about;
            about.DoModal();
            mainStayed = modal->isVisible();
        })
        .Then([&](QWidget* modal) {
            owner = modal->parentWidget();
            aboutCentre = modal->frameGeometry().center();
            mainCentre = mainWindow->frameGeometry().center();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        })
        .Then([&](QWidget* modal) { modal->close(); });
    main.DoModal();
    QCOMPARE(owner, mainWindow);
    QVERIFY((aboutCentre - mainCentre).manhattanLength() <= 2);
    // Esc closed the box, not the main dialog.
    QVERIFY(mainStayed);
}

void AboutDlgTest::f1AsksForTopic0x20064() {
    HelpSeam::QueueAnswer(true);
    CAboutDlg about;
    Drive().Then([&](QWidget* modal) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
        modal->close();
    });
    about.DoModal();
    QCOMPARE(HelpSeam::Requests().size(), std::size_t(1));
    QCOMPARE(HelpSeam::Requests().front().topic, 0x20064ul);
}

QTEST_MAIN(AboutDlgTest)
#include "about_dlg_test.moc"
