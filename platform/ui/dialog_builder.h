// SPDX-License-Identifier: MIT
// Turns a dialog template into widgets: geometry, texts, styles, tab order and access keys.
#pragma once

#include <QChar>
#include <QFont>
#include <QString>
#include <Qt>
#include <vector>

#include "platform/ui/dialog_units.h"
#include "res/dialog_template.h"

class QWidget;

namespace ui {

struct BuiltControl {
    const res::ControlTemplate* source;
    QWidget* widget;  // the control itself: QLineEdit, QPushButton, QLabel, QGroupBox,
                      // FilledRect, QComboBox
    QChar accessKey;  // lower case; null when the text marks none
    QWidget* target;  // what the access key acts on: the control, or for a static text the
                      // control that follows it; nullptr when there is nothing to act on
};

// The font the template asks for; the font system substitutes an installed one.
QFont DialogFont(const res::DialogTemplate& dialog);

// The base units of a font, as dialog managers measure them.
BaseUnits BaseUnitsOf(const QFont& font);

// Window type and frame buttons for the template's styles.
Qt::WindowFlags DialogWindowFlags(const res::DialogTemplate& dialog, bool owned);

// The access key that "&" marks in `text` ("&&" is a literal "&"), lower-cased; null if none.
QChar AccessKeyOf(const QString& text);

// `text` as shown when "&" marks access keys but none is underlined: "&&" becomes "&" and
// a lone "&" goes.
QString WithoutAccessKeyMarks(const QString& text);

// Creates the controls as children of `dialog`, in template order, positioned in pixels for
// `base`. Tab stops get the tab order of the template; the first control lies on top.
//
// Screen readers get a name for every control, as on the platform the templates come from: a
// push button is named by its text; an edit control by the static text whose access key leads
// to it; an edit control without such a label by the nearest static text before it in template
// order (looking back only past controls that cannot take the focus), else by the innermost
// group box whose rectangle encloses it, else not at all. An entry in res/accessible_texts
// gives a control its name and description instead.
std::vector<BuiltControl> BuildControls(QWidget* dialog, const res::DialogTemplate& tmpl,
                                        BaseUnits base);

// True for controls the keyboard can move to: edits, push buttons and drop-down lists.
bool CanTakeFocus(const res::ControlTemplate& control);

}  // namespace ui
