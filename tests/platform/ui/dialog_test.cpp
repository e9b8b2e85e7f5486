// SPDX-License-Identifier: MIT
#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <memory>

#include "platform/ui/dialog_builder.h"
#include "platform/ui/menu.h"
#include "platform/ui/win_app.h"
#include "res/dialog_template.h"
#include "support/drop.h"
#include "support/modal_driver.h"
#include "tests/platform/ui/recording_dialog.h"

namespace {

QPushButton* Button(const CDialog& dialog, int id) {
    return qobject_cast<QPushButton*>(dialog.ControlWidget(id));
}

// A control's rectangle in the dialog's client coordinates.
QRect RectInDialog(const QWidget* control, const QWidget* dialog) {
    return QRect(control->mapTo(dialog, QPoint(0, 0)), control->size());
}

// The id of the control that has the keyboard focus, else 0.
int FocusedControl(const CDialog& dialog) {
    for (int id : {IDC_PCG_FILE, IDC_REPORT_FILE, IDC_LAYOUT, IDOK, IDC_ABOUT, IDC_EXIT,
                   IDC_BROWSE_PCG, IDC_BROWSE_REPORT}) {
        if (dialog.ControlWidget(id) == QApplication::focusWidget()) {
            return id;
        }
    }
    return 0;
}

}  // namespace

class DialogTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { m_app = std::make_unique<CWinApp>("Tabulon"); }
    void init() { m_modals.Begin(this); }
    void cleanup() { m_modals.End(); }

    void controlsArePlacedInDialogUnitsOfTheDialogFont_data();
    void controlsArePlacedInDialogUnitsOfTheDialogFont();
    void mainDialogShowsItsTextsAndDefaultButton();
    void enterRunsTheDefaultButtonAndEscCancels();
    void closeBoxIsTheCloseSystemCommandThenCancel();
    void buttonClicksReachTheDialogById();
    void tabVisitsOnlyTabStopsInTemplateOrder();
    void arrowKeysOnButtonsWalkAllControls();
    void accessKeysClickTheirButtons();
    void plainLetterInAFieldIsJustTyped();
    void accessKeyMarks();
    void screenReadersCanNameEveryControl();
    void editsWithoutALabelAreNamedByTheTextBeforeThemOrTheirGroup();
    void parentlessAppWindowIsInTheTaskBarWithoutMinMax();
    void ownedDialogIsCentredOverItsOwner();
    void endDialogDuringInitialisationEndsWithoutShowing();
    void editsCarryBytesAndUnbindWhenTheWindowGoes();
    void aDroppedFileReplacesAnEditsText_data();
    void aDroppedFileReplacesAnEditsText();
    void defaultOkTakesTheDataAndEnds();
    void iconAndSystemMenu();
    void unknownTemplateFails();

private:
    support::ModalDriver& Drive() { return m_modals.Drive(); }

    std::unique_ptr<CWinApp> m_app;
    support::ModalTestScope m_modals;
};

void DialogTest::controlsArePlacedInDialogUnitsOfTheDialogFont_data() {
    QTest::addColumn<int>("templateId");
    QTest::newRow("About box") << IDD_ABOUTBOX;
    QTest::newRow("main dialog") << IDD_REPORT_DIALOG;
}

void DialogTest::controlsArePlacedInDialogUnitsOfTheDialogFont() {
    QFETCH(int, templateId);
    const res::DialogTemplate& tmpl = *res::FindDialogTemplate(templateId);
    RecordingDialog dialog(templateId);
    QStringList problems;
    Drive().Then([&](QWidget* modal) {
        const QFontMetrics metrics(modal->font());
        const int baseX = qRound(
            metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz") /
            52.0);
        const int baseY = metrics.height();
        auto x = [&](int units) { return qRound(units * baseX / 4.0); };
        auto y = [&](int units) { return qRound(units * baseY / 8.0); };
        const QSize size(x(tmpl.width), y(tmpl.height));
        if (modal->size() != size || modal->minimumSize() != size || modal->maximumSize() != size) {
            problems << QString("dialog size %1x%2").arg(modal->width()).arg(modal->height());
        }
        for (int i = 0; i < static_cast<int>(tmpl.controls.size()); ++i) {
            const res::ControlTemplate& c = tmpl.controls[static_cast<std::size_t>(i)];
            QRect expected(x(c.x), y(c.y), x(c.width), y(c.height));
            if (c.kind == res::ControlKind::StaticIcon) {
                expected.setSize({32, 32});
            }
            const QRect actual = RectInDialog(dialog.ControlAt(i), modal);
            if (actual != expected) {
                problems << QString("control %1 (%2): %3,%4 %5x%6")
                                .arg(i)
                                .arg(c.text)
                                .arg(actual.x())
                                .arg(actual.y())
                                .arg(actual.width())
                                .arg(actual.height());
            }
        }
        modal->close();
    });
    QCOMPARE(dialog.DoModal(), IDCANCEL);
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join("; ")));
}

void DialogTest::mainDialogShowsItsTextsAndDefaultButton() {
    RecordingDialog dialog(IDD_REPORT_DIALOG);
    QStringList texts;
    QList<bool> defaults;
    QString caption;
    Drive().Then([&](QWidget* modal) {
        caption = modal->windowTitle();
        for (int id : {IDOK, IDC_ABOUT, IDC_EXIT, IDC_BROWSE_PCG, IDC_BROWSE_REPORT}) {
            texts << Button(dialog, id)->text();
            defaults << Button(dialog, id)->isDefault();
        }
        texts << qobject_cast<QGroupBox*>(dialog.ControlAt(11))->title();
        texts << qobject_cast<QLineEdit*>(dialog.ControlWidget(IDC_PCG_FILE))->text();
        modal->close();
    });
    dialog.DoModal();
    QCOMPARE(caption, QString("Tabulon"));
    QCOMPARE(texts, QStringList({"&Generate", "&About", "E&xit", "...", "...",
                                 "Step 3 - Generate HTML Report", ""}));
    QCOMPARE(defaults, QList<bool>({true, false, false, false, false}));
}

void DialogTest::enterRunsTheDefaultButtonAndEscCancels() {
    RecordingDialog dialog(IDD_REPORT_DIALOG);
    dialog.keepOpenOnOK = true;
    bool stillOpen = false;
    Drive()
        .Then([&](QWidget*) {
            QTest::keyClick(dialog.ControlWidget(IDC_PCG_FILE), Qt::Key_Return);
            QTest::keyClick(dialog.ControlWidget(IDC_REPORT_FILE), Qt::Key_Enter,
                            Qt::KeypadModifier);
        })
        .Then([&](QWidget* modal) {
            stillOpen = modal->isVisible();
            QTest::keyClick(dialog.ControlWidget(IDC_REPORT_FILE), Qt::Key_Escape);
        });
    QCOMPARE(dialog.DoModal(), IDCANCEL);
    QCOMPARE(dialog.okCount, 2);
    QVERIFY(stillOpen);
    QCOMPARE(dialog.commands, std::vector<int>({IDOK, IDOK, IDCANCEL}));
}

void DialogTest::closeBoxIsTheCloseSystemCommandThenCancel() {
    RecordingDialog dialog(IDD_REPORT_DIALOG);
    Drive().Then([&](QWidget* modal) { modal->close(); });
    QCOMPARE(dialog.DoModal(), IDCANCEL);
    QCOMPARE(dialog.sysCommands, std::vector<unsigned>({SC_CLOSE}));
    QCOMPARE(dialog.commands, std::vector<int>({IDCANCEL}));
}

void DialogTest::buttonClicksReachTheDialogById() {
    RecordingDialog dialog(IDD_REPORT_DIALOG);
    Drive().Then([&](QWidget*) {
        for (int id : {IDC_BROWSE_PCG, IDC_BROWSE_REPORT, IDC_ABOUT, IDC_EXIT}) {
            QTest::mouseClick(Button(dialog, id), Qt::LeftButton);
        }
    });
    QCOMPARE(dialog.DoModal(), IDOK);
    QCOMPARE(dialog.commands,
             std::vector<int>({IDC_BROWSE_PCG, IDC_BROWSE_REPORT, IDC_ABOUT, IDC_EXIT}));
}

void DialogTest::tabVisitsOnlyTabStopsInTemplateOrder() {
    RecordingDialog dialog(IDD_REPORT_DIALOG);
    QList<int> visited;
    QList<Qt::FocusPolicy> policies;
    Drive().Then([&](QWidget* modal) {
        for (int i = 0; i < 6; ++i) {
            visited << FocusedControl(dialog);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        visited << FocusedControl(dialog);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        visited << FocusedControl(dialog);
        for (int id : {IDC_ABOUT, IDC_BROWSE_PCG, IDC_BROWSE_REPORT}) {
            policies << dialog.ControlWidget(id)->focusPolicy();
        }
        modal->close();
    });
    dialog.DoModal();
    QCOMPARE(visited, QList<int>({IDC_PCG_FILE, IDC_REPORT_FILE, IDC_LAYOUT, IDOK, IDC_EXIT,
                                  IDC_PCG_FILE, IDC_REPORT_FILE, IDC_PCG_FILE}));
    QCOMPARE(policies, QList<Qt::FocusPolicy>(3, Qt::ClickFocus));
}

void DialogTest::arrowKeysOnButtonsWalkAllControls() {
    RecordingDialog dialog(IDD_REPORT_DIALOG);
    QList<int> visited;
    Drive().Then([&](QWidget* modal) {
        Button(dialog, IDOK)->setFocus(Qt::TabFocusReason);
        for (Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Right, Qt::Key_Up, Qt::Key_Left,
                            Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down}) {
            QTest::keyClick(QApplication::focusWidget(), key);
            visited << FocusedControl(dialog);
        }
        modal->close();
    });
    dialog.DoModal();
    // Round from the last control to the first; a field keeps the arrow keys for itself.
    QCOMPARE(visited,
             QList<int>({IDC_ABOUT, IDC_EXIT, IDC_BROWSE_PCG, IDC_EXIT, IDC_ABOUT, IDC_EXIT,
                         IDC_BROWSE_PCG, IDC_BROWSE_REPORT, IDC_PCG_FILE, IDC_PCG_FILE}));
}

void DialogTest::accessKeysClickTheirButtons() {
    RecordingDialog dialog(IDD_REPORT_DIALOG);
    dialog.keepOpenOnOK = true;
    bool layoutFocused = false;
    Drive()
        .Then([&](QWidget* modal) { QTest::keyClick(modal, Qt::Key_G, Qt::AltModifier); })
        .Then([&](QWidget*) {
            // On a button, a letter alone is enough.
            Button(dialog, IDOK)->setFocus();
            QTest::keyClick(Button(dialog, IDOK), Qt::Key_A);
        })
        .Then([&](QWidget* modal) {
            // The layout's label leads to the list, whose arrow keys are its own.
            QTest::keyClick(modal, Qt::Key_Y, Qt::AltModifier);
            layoutFocused = FocusedControl(dialog) == IDC_LAYOUT;
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
            layoutFocused = layoutFocused && FocusedControl(dialog) == IDC_LAYOUT;
            QTest::keyClick(modal, Qt::Key_X, Qt::AltModifier);
        });
    QCOMPARE(dialog.DoModal(), IDOK);
    QCOMPARE(dialog.commands, std::vector<int>({IDOK, IDC_ABOUT, IDC_EXIT}));
    QVERIFY(layoutFocused);
}

void DialogTest::plainLetterInAFieldIsJustTyped() {
    RecordingDialog dialog(IDD_REPORT_DIALOG);
    std::string typed;
    Drive().Then([&](QWidget* modal) {
        QTest::keyClicks(dialog.ControlWidget(IDC_PCG_FILE), "xga");
        typed = dialog.pcgField.GetWindowText();
        modal->close();
    });
    dialog.DoModal();
    QCOMPARE(typed, std::string("xga"));
    QCOMPARE(dialog.commands, std::vector<int>({IDCANCEL}));
}

void DialogTest::accessKeyMarks() {
    QCOMPARE(ui::AccessKeyOf("E&xit"), QChar('x'));
    QCOMPARE(ui::AccessKeyOf("&Generate"), QChar('g'));
    QCOMPARE(ui::AccessKeyOf("Fish && &Chips"), QChar('c'));
    QVERIFY(ui::AccessKeyOf("Fish && Chips").isNull());
    QVERIFY(ui::AccessKeyOf("Trailing &").isNull());
    QCOMPARE(ui::WithoutAccessKeyMarks("Fish && &Chips"), QString("Fish & Chips"));
}

void DialogTest::screenReadersCanNameEveryControl() {
    RecordingDialog dialog(IDD_REPORT_DIALOG);
    QMap<int, QString> names, descriptions;
    Drive().Then([&](QWidget* modal) {
        for (int id : {IDC_PCG_FILE, IDC_REPORT_FILE, IDC_BROWSE_PCG, IDC_BROWSE_REPORT}) {
            QAccessibleInterface* control =
                QAccessible::queryAccessibleInterface(dialog.ControlWidget(id));
            names[id] = control->text(QAccessible::Name);
            descriptions[id] = control->text(QAccessible::Description);
        }
        modal->close();
    });
    dialog.DoModal();
    QCOMPARE(names[IDC_PCG_FILE],
             QString("Step 1 - Enter or choose the name of a PCG file containing Triton Patches"));
    QCOMPARE(names[IDC_REPORT_FILE],
             QString("Step 2 - Enter or choose the name for the HTML report"));
    QCOMPARE(names[IDC_BROWSE_PCG], QString("Browse for the PCG file"));
    QCOMPARE(names[IDC_BROWSE_REPORT], QString("Browse for the report"));
    QVERIFY(descriptions[IDC_BROWSE_PCG].contains("PCG file"));
    QVERIFY(descriptions[IDC_BROWSE_REPORT].contains("HTML report"));
}

void DialogTest::editsWithoutALabelAreNamedByTheTextBeforeThemOrTheirGroup() {
    using enum res::ControlKind;
    using res::ControlStyle::TabStop;
    static constexpr res::ControlTemplate controls[] = {
        {IDC_STATIC, StaticText, "&Name:", 4, 4, 40, 8, 0},
        {101, Edit, "", 50, 4, 100, 12, TabStop},  // the label's access key leads here
        {IDC_STATIC, StaticText, "Folder:", 4, 20, 40, 8, 0},
        {IDC_STATIC, FilledRect, "", 4, 30, 40, 1, 0},
        {102, Edit, "", 50, 20, 100, 12, TabStop},  // the nearest static text before it
        {103, PushButton, "Go", 160, 20, 30, 12, TabStop},
        {104, Edit, "", 10, 50, 80, 12, TabStop},  // after a button: its innermost group
        {IDC_STATIC, GroupBox, "&Outer", 2, 40, 200, 60, 0},
        {IDC_STATIC, GroupBox, "Inner", 6, 44, 100, 30, 0},
        {105, Edit, "", 150, 110, 40, 12, TabStop},  // in no group, after no static text
    };
    const res::DialogTemplate tmpl{4242, "Test", 210, 130, "MS Sans Serif", 8, 0, controls};
    QWidget window;
    const auto built = ui::BuildControls(&window, tmpl, {7, 13});
    auto name = [&](std::size_t index) {
        return QAccessible::queryAccessibleInterface(built[index].widget)->text(QAccessible::Name);
    };
    QCOMPARE(name(1), QString("Name:"));
    QVERIFY(built[1].widget->accessibleName().isEmpty());  // its label names it
    QCOMPARE(name(4), QString("Folder:"));
    QCOMPARE(name(6), QString("Inner"));
    QCOMPARE(name(9), QString());
}

void DialogTest::parentlessAppWindowIsInTheTaskBarWithoutMinMax() {
    RecordingDialog main(IDD_REPORT_DIALOG);
    RecordingDialog about(IDD_ABOUTBOX);
    Qt::WindowFlags mainFlags, aboutFlags;
    QWidget* aboutParent = nullptr;
    Drive()
        .Then([&](QWidget*) { about.DoModal(); })
        .Then([&](QWidget* modal) {
            aboutFlags = modal->windowFlags();
            aboutParent = modal->parentWidget();
            mainFlags = main.Window()->windowFlags();
            modal->close();
        })
        .Then([&](QWidget* modal) { modal->close(); });
    m_app->SetMainWnd(&main);
    main.DoModal();
    QCOMPARE(mainFlags & Qt::WindowType_Mask, Qt::Window);
    QCOMPARE(aboutFlags & Qt::WindowType_Mask, Qt::Dialog);
    for (Qt::WindowFlags flags : {mainFlags, aboutFlags}) {
        QVERIFY(flags & Qt::WindowTitleHint);
        QVERIFY(flags & Qt::WindowSystemMenuHint);
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    }
    QVERIFY(aboutParent != nullptr);
}

void DialogTest::ownedDialogIsCentredOverItsOwner() {
    RecordingDialog main(IDD_REPORT_DIALOG);
    RecordingDialog about(IDD_ABOUTBOX, &main);
    QRect mainRect, aboutRect, workArea;
    Drive()
        .Then([&](QWidget* modal) {
            modal->move(100, 120);
            about.DoModal();
        })
        .Then([&](QWidget* modal) {
            aboutRect = modal->frameGeometry();
            mainRect = main.Window()->frameGeometry();
            modal->close();
        })
        .Then([&](QWidget* modal) {
            workArea = modal->screen()->availableGeometry();
            modal->move(workArea.right() - 40, workArea.bottom() - 40);
            about.DoModal();
        })
        .Then([&](QWidget* modal) {
            // Centred over an owner near the corner would hang off the screen.
            QVERIFY(workArea.contains(modal->frameGeometry()));
            modal->close();
        })
        .Then([&](QWidget* modal) { modal->close(); });
    main.DoModal();
    QVERIFY(!aboutRect.isEmpty());
    QVERIFY(qAbs(aboutRect.center().x() - mainRect.center().x()) <= 1);
    QVERIFY(qAbs(aboutRect.center().y() - mainRect.center().y()) <= 1);
}

void DialogTest::endDialogDuringInitialisationEndsWithoutShowing() {
    RecordingDialog dialog(IDD_ABOUTBOX);
    dialog.onInit = [](RecordingDialog& self) { self.EndDialog(42); };
    QCOMPARE(dialog.DoModal(), 42);
    QVERIFY(dialog.Window() == nullptr);
}

void DialogTest::editsCarryBytesAndUnbindWhenTheWindowGoes() {
    RecordingDialog dialog(IDD_REPORT_DIALOG);
    const std::string umlauts = "/home/j\xC3\xBCrgen/B\xC3\xA4nke.pcg";
    const std::string longPath = "/" + std::string(600, 'p') + "/report.htm";
    std::string readBack, longReadBack;
    Drive().Then([&](QWidget* modal) {
        dialog.pcgField.SetWindowText(umlauts);
        dialog.reportField.SetWindowText(longPath);
        readBack = dialog.pcgField.GetWindowText();
        longReadBack = dialog.reportField.GetWindowText();
        modal->close();
    });
    dialog.DoModal();
    QCOMPARE(readBack, umlauts);
    QCOMPARE(longReadBack, longPath);
    QVERIFY(dialog.pcgField.Widget() == nullptr);
    QCOMPARE(dialog.pcgField.GetWindowText(), std::string());
}

void DialogTest::aDroppedFileReplacesAnEditsText_data() {
    QTest::addColumn<QList<QUrl>>("urls");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("before");
    QTest::addColumn<bool>("taken");
    QTest::addColumn<std::string>("after");
    const QUrl local("file:///data/My%20Banks/J%C3%BCrgen.PCG");
    const std::string localPath = "/data/My Banks/J\xC3\xBCrgen.PCG";
    const QUrl web("https://example.org/ALL.PCG");
    const std::string typed = "typed.pcg";
    QTest::newRow("a local file, with its URL as text too")
        << QList<QUrl>{local} << local.toString() << "typed.pcg" << true << localPath;
    QTest::newRow("several files: the first") << QList<QUrl>{local, QUrl("file:///other.pcg")}
                                              << QString() << "typed.pcg" << true << localPath;
    QTest::newRow("localhost is this machine") << QList<QUrl>{QUrl("file://localhost/x.pcg")}
                                               << QString() << "" << true << std::string("/x.pcg");
    QTest::newRow("a web address")
        << QList<QUrl>{web} << web.toString() << "typed.pcg" << false << typed;
    QTest::newRow("a file on another host") << QList<QUrl>{QUrl("file://nas/share/x.pcg")}
                                            << QString() << "typed.pcg" << false << typed;
    QTest::newRow("the first URL decides")
        << QList<QUrl>{web, local} << QString() << "typed.pcg" << false << typed;
    QTest::newRow("plain text is inserted") << QList<QUrl>{} << "/by/hand.pcg"
                                            << "" << true << std::string("/by/hand.pcg");
}

void DialogTest::aDroppedFileReplacesAnEditsText() {
    QFETCH(QList<QUrl>, urls);
    QFETCH(QString, text);
    QFETCH(QString, before);
    QFETCH(bool, taken);
    QFETCH(std::string, after);
    RecordingDialog dialog(IDD_REPORT_DIALOG);
    bool accepted = !taken;
    std::string dropped, undone;
    Drive().Then([&](QWidget* modal) {
        auto* field = qobject_cast<QLineEdit*>(dialog.ControlWidget(IDC_REPORT_FILE));
        field->setText(before);
        accepted = support::DropOn(field, {urls, text});
        dropped = dialog.reportField.GetWindowText();
        // A drop is an edit like typing: undo brings back what was there.
        field->undo();
        undone = dialog.reportField.GetWindowText();
        modal->close();
    });
    dialog.DoModal();
    QCOMPARE(accepted, taken);
    QCOMPARE(dropped, after);
    QCOMPARE(undone, before.toStdString());
}

void DialogTest::defaultOkTakesTheDataAndEnds() {
    CDialog dialog(IDD_ABOUTBOX);
    Drive().Then([&](QWidget*) { QTest::mouseClick(Button(dialog, IDOK), Qt::LeftButton); });
    QCOMPARE(dialog.DoModal(), IDOK);
}

void DialogTest::iconAndSystemMenu() {
    RecordingDialog dialog(IDD_REPORT_DIALOG);
    HICON icon = m_app->LoadIcon(IDR_MAINFRAME);
    QList<QSize> sizes;
    CMenu unused;
    CMenu* systemMenu = &unused;
    dialog.onInit = [&](RecordingDialog& self) {
        systemMenu = self.GetSystemMenu(false);
        self.SetIcon(icon, true);
    };
    Drive().Then([&](QWidget* modal) {
        sizes = modal->windowIcon().availableSizes();
        modal->close();
    });
    dialog.DoModal();
    QVERIFY(icon != nullptr);
    QCOMPARE(m_app->LoadIcon(IDR_MAINFRAME), icon);  // loaded once
    QVERIFY(m_app->LoadIcon(IDD_ABOUTBOX) == nullptr);
    QVERIFY(sizes.contains(QSize(32, 32)));
    QVERIFY(sizes.contains(QSize(16, 16)));
    QCOMPARE(dialog.GetIcon(true), icon);
    QVERIFY(systemMenu == nullptr);
}

void DialogTest::unknownTemplateFails() {
    CDialog dialog(4242);
    QCOMPARE(dialog.DoModal(), -1);
}

QTEST_MAIN(DialogTest)
#include "dialog_test.moc"
