// SPDX-License-Identifier: MIT
// The floor for start-up: one empty dialog built the way the main dialog is (same window
// flags, same font, its size worked out from dialog units with that font's metrics), with no
// controls, no settings and no icon.
#include <QApplication>
#include <QDialog>
#include <QFontMetrics>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QDialog dialog(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    dialog.setWindowTitle("Tabulon");
    dialog.setFont(QFont("MS Sans Serif", 8));
    const QFontMetrics metrics(dialog.font());
    const int baseX =
        (metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz") / 26 +
         1) /
        2;
    const int baseY = metrics.height();
    dialog.setFixedSize(322 * baseX / 4, 134 * baseY / 8);
    return dialog.exec();
}
