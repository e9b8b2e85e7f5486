// SPDX-License-Identifier: MIT
// A rectangle filled with the window-frame colour, which dialogs use as a rule between parts.
#pragma once

#include <QPalette>
#include <QWidget>

namespace ui {

// Screen readers meet it as a separator (see accessible_windows).
class FilledRect : public QWidget {
    Q_OBJECT

public:
    explicit FilledRect(QWidget* parent) : QWidget(parent) {
        QPalette colours = palette();
        colours.setColor(QPalette::Window, colours.color(QPalette::WindowText));
        setPalette(colours);
        setAutoFillBackground(true);
    }
};

}  // namespace ui
