// SPDX-License-Identifier: MIT
// The toolkit window behind a running CDialog: keyboard rules of a dialog manager, close box,
// placement.
#pragma once

#include <QDialog>
#include <QPointer>
#include <vector>

#include "platform/ui/dialog_builder.h"

class CDialog;

class DialogWindow : public QDialog {
    Q_OBJECT

public:
    DialogWindow(CDialog& dialog, const res::DialogTemplate& tmpl, QWidget* owner);

    QWidget* ControlWidget(int id) const;
    QWidget* ControlAt(int index) const;
    // The controls in the order screen readers present them (ui::ReadingOrder).
    const std::vector<QWidget*>& ControlsInReadingOrder() const { return m_readingOrder; }
    // Gives the focus to the first tab stop, as a dialog does when it opens.
    void FocusFirstTabStop();
    // Centres the window, frame included, over `owner` (or the work area) and keeps it on the
    // work area. The frame is known only once the window manager has framed the shown window;
    // until then its size is estimated from other windows, and when the true one first becomes
    // known the window is centred again, unless it has been moved meanwhile.
    void PlaceCentred(QWidget* owner);

    void reject() override;

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PressDefaultButton();
    bool UseAccessKey(QChar key);
    void MoveFocusAmongControls(QWidget* from, bool forward);
    void RecentreOnceFramed();

    CDialog& m_dialog;
    std::vector<ui::BuiltControl> m_controls;
    std::vector<QWidget*> m_readingOrder;
    QPointer<QWidget> m_centredOver;
    QPoint m_placedAt;
    bool m_awaitingFrame = false;
};
