// SPDX-License-Identifier: MIT
#include "platform/ui/dialog_builder.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>
#include <QStylePainter>
#include <algorithm>

#include "platform/ui/edit_control.h"
#include "platform/ui/filled_rect.h"
#include "platform/ui/icon.h"
#include "res/accessible_texts.h"

namespace ui {

namespace {

using res::ControlKind;
namespace Style = res::ControlStyle;

QRect ToQRect(const PixelRect& r) {
    return {r.x, r.y, r.width, r.height};
}

QWidget* MakeEdit(QWidget* parent, const res::ControlTemplate& control) {
    auto* edit = new EditControl(parent);
    edit->setFrame((control.style & Style::Border) != 0);
    edit->setText(QString::fromLocal8Bit(control.text));
    // Paths have no length limit worth imposing; the toolkit's maximum is the only one.
    edit->setMaxLength(32767);
    return edit;
}

// A push button whose sunken edge is drawn inside its rectangle, around its face. The edge is
// part of the button, so that no wrapper stands between it and the dialog (screen readers would
// meet the wrapper as a window frame of its own).
class SunkenEdgeButton : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        QStylePainter painter(this);
        QStyleOptionFrame edge;
        edge.initFrom(this);
        edge.state &= ~(QStyle::State_HasFocus | QStyle::State_MouseOver);
        edge.state |= QStyle::State_Sunken;
        edge.frameShape = QFrame::Panel;
        edge.lineWidth = 1;
        edge.midLineWidth = 0;
        painter.drawControl(QStyle::CE_ShapedFrame, edge);
        QStyleOptionButton face;
        initStyleOption(&face);
        face.rect = Face();
        painter.drawControl(QStyle::CE_PushButton, face);
    }
    bool hitButton(const QPoint& pos) const override { return Face().contains(pos); }

private:
    QRect Face() const { return rect().adjusted(1, 1, -1, -1); }
};

QWidget* MakeButton(QWidget* parent, const res::ControlTemplate& control) {
    const QString text = QString::fromLocal8Bit(control.text);
    auto* button = (control.style & Style::SunkenEdge) ? new SunkenEdgeButton(text, parent)
                                                       : new QPushButton(text, parent);
    button->setAutoDefault(true);
    // Otherwise the toolkit makes the first button after the focus the default, and Enter in
    // a field would run it.
    button->setDefault(control.kind == ControlKind::DefPushButton);
    return button;
}

QWidget* MakeStaticText(QWidget* parent, const res::ControlTemplate& control) {
    const QString text = QString::fromLocal8Bit(control.text);
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    Qt::Alignment alignment = Qt::AlignTop;
    alignment |= (control.style & Style::Center) ? Qt::AlignHCenter : Qt::AlignLeft;
    label->setAlignment(alignment);
    // Access keys are resolved once the following control is known (BuildControls).
    label->setText(text);
    return label;
}

QWidget* MakeStaticIcon(QWidget* parent, const res::ControlTemplate& control) {
    auto* label = new QLabel(parent);
    label->setPixmap(ui::ToQIcon(LoadIconResource(control.imageId)).pixmap(32, 32));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QWidget* MakeControl(QWidget* parent, const res::ControlTemplate& control) {
    switch (control.kind) {
        case ControlKind::Edit:
            return MakeEdit(parent, control);
        case ControlKind::PushButton:
        case ControlKind::DefPushButton:
            return MakeButton(parent, control);
        case ControlKind::GroupBox:
            return new QGroupBox(QString::fromLocal8Bit(control.text), parent);
        case ControlKind::StaticText:
            return MakeStaticText(parent, control);
        case ControlKind::StaticIcon:
            return MakeStaticIcon(parent, control);
        case ControlKind::FilledRect:
            return new FilledRect(parent);
        case ControlKind::DropDownList:
            return new QComboBox(parent);
    }
    return new QWidget(parent);
}

bool MarksAccessKeys(const res::ControlTemplate& control) {
    switch (control.kind) {
        case ControlKind::PushButton:
        case ControlKind::DefPushButton:
        case ControlKind::GroupBox:
            return true;
        case ControlKind::StaticText:
            return (control.style & Style::NoPrefix) == 0;
        default:
            return false;
    }
}

void SetGeometry(QWidget* control, const res::ControlTemplate& tmpl, BaseUnits base) {
    QRect rect = ToQRect(DialogRectToPixels(tmpl.x, tmpl.y, tmpl.width, tmpl.height, base));
    if (tmpl.kind == ControlKind::StaticIcon) {
        // An icon control takes the icon's size, from its top-left corner.
        rect.setSize({32, 32});
    }
    control->setGeometry(rect);
}

// The text a static text or group box shows.
QString ShownText(const res::ControlTemplate& control) {
    const QString text = QString::fromLocal8Bit(control.text);
    return MarksAccessKeys(control) ? WithoutAccessKeyMarks(text) : text;
}

bool Encloses(const res::ControlTemplate& outer, const res::ControlTemplate& inner) {
    return inner.x >= outer.x && inner.y >= outer.y &&
           inner.x + inner.width <= outer.x + outer.width &&
           inner.y + inner.height <= outer.y + outer.height;
}

// The name of an edit control that no label names (see BuildControls).
QString LabelFor(const std::vector<BuiltControl>& built, std::size_t index) {
    const res::ControlTemplate& control = *built[index].source;
    for (std::size_t i = index; i-- > 0;) {
        const res::ControlTemplate& before = *built[i].source;
        if (CanTakeFocus(before)) {
            break;
        }
        if (before.kind == ControlKind::StaticText && *before.text) {
            return ShownText(before);
        }
    }
    const res::ControlTemplate* group = nullptr;
    for (const BuiltControl& other : built) {
        const res::ControlTemplate& candidate = *other.source;
        if (candidate.kind == ControlKind::GroupBox && Encloses(candidate, control) &&
            (!group || Encloses(*group, candidate))) {
            group = &candidate;
        }
    }
    return group ? ShownText(*group) : QString();
}

void NameForScreenReaders(const std::vector<BuiltControl>& built, int dialogId) {
    for (std::size_t i = 0; i < built.size(); ++i) {
        const res::ControlTemplate& control = *built[i].source;
        QWidget* widget = built[i].widget;
        if (const res::AccessibleText* text = res::FindAccessibleText(dialogId, control.id)) {
            widget->setAccessibleName(QString::fromLocal8Bit(text->name));
            widget->setAccessibleDescription(QString::fromLocal8Bit(text->description));
            continue;
        }
        if (control.kind != ControlKind::Edit) {
            continue;
        }
        const bool hasBuddy = std::any_of(built.begin(), built.end(), [&](const BuiltControl& b) {
            const auto* label = qobject_cast<const QLabel*>(b.widget);
            return label && label->buddy() == widget;
        });
        if (!hasBuddy) {
            widget->setAccessibleName(LabelFor(built, i));
        }
    }
}

Qt::FocusPolicy FocusPolicyOf(const res::ControlTemplate& control) {
    if (!CanTakeFocus(control)) {
        return Qt::NoFocus;
    }
    return (control.style & Style::TabStop) ? Qt::StrongFocus : Qt::ClickFocus;
}

}  // namespace

QFont DialogFont(const res::DialogTemplate& dialog) {
    return QFont(QString::fromLatin1(dialog.fontName), dialog.fontPointSize);
}

BaseUnits BaseUnitsOf(const QFont& font) {
    const QFontMetrics metrics(font);
    const int alphabets = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {AverageCharWidth(alphabets), metrics.height()};
}

Qt::WindowFlags DialogWindowFlags(const res::DialogTemplate& dialog, bool owned) {
    using namespace res::DialogStyle;
    Qt::WindowFlags flags = (dialog.style & AppWindow) && !owned ? Qt::Window : Qt::Dialog;
    flags |= Qt::CustomizeWindowHint;
    if (dialog.style & Caption) {
        flags |= Qt::WindowTitleHint;
    }
    if (dialog.style & SystemMenu) {
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    }
    if (dialog.style & MinimizeBox) {
        flags |= Qt::WindowMinimizeButtonHint;
    }
    if (dialog.style & MaximizeBox) {
        flags |= Qt::WindowMaximizeButtonHint;
    }
    return flags;
}

QChar AccessKeyOf(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != u'&') {
            continue;
        }
        if (text[i + 1] != u'&') {
            return text[i + 1].toLower();
        }
        ++i;
    }
    return {};
}

QString WithoutAccessKeyMarks(const QString& text) {
    QString shown;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size()) {
            ++i;
        }
        shown += text[i];
    }
    return shown;
}

bool CanTakeFocus(const res::ControlTemplate& control) {
    switch (control.kind) {
        case ControlKind::Edit:
        case ControlKind::PushButton:
        case ControlKind::DefPushButton:
        case ControlKind::DropDownList:
            return true;
        default:
            return false;
    }
}

std::vector<BuiltControl> BuildControls(QWidget* dialog, const res::DialogTemplate& tmpl,
                                        BaseUnits base) {
    std::vector<BuiltControl> built;
    for (const res::ControlTemplate& control : tmpl.controls) {
        QWidget* widget = MakeControl(dialog, control);
        widget->setFocusPolicy(FocusPolicyOf(control));
        if (control.style & res::ControlStyle::Disabled) {
            widget->setEnabled(false);
        }
        if (!CanTakeFocus(control)) {
            // Frames and texts lie over other controls; clicks go through them.
            widget->setAttribute(Qt::WA_TransparentForMouseEvents);
        }
        SetGeometry(widget, control, base);
        const QChar key =
            MarksAccessKeys(control) ? AccessKeyOf(QString::fromLocal8Bit(control.text)) : QChar();
        built.push_back({&control, widget, key, CanTakeFocus(control) ? widget : nullptr});
    }

    // A static text's access key moves to the next control that can take the focus.
    for (std::size_t i = 0; i < built.size(); ++i) {
        const res::ControlTemplate& control = *built[i].source;
        if (control.kind != ControlKind::StaticText && control.kind != ControlKind::GroupBox) {
            continue;
        }
        for (std::size_t j = i + 1; j < built.size() && !built[i].target; ++j) {
            if (CanTakeFocus(*built[j].source)) {
                built[i].target = built[j].widget;
            }
        }
        auto* label = qobject_cast<QLabel*>(built[i].widget);
        if (label && MarksAccessKeys(control)) {
            if (built[i].target && !built[i].accessKey.isNull()) {
                label->setBuddy(built[i].target);
            } else {
                label->setText(WithoutAccessKeyMarks(label->text()));
            }
        }
    }

    NameForScreenReaders(built, tmpl.id);

    QWidget* previous = nullptr;
    for (const BuiltControl& control : built) {
        if (control.widget->focusPolicy() & Qt::TabFocus) {
            if (previous) {
                QWidget::setTabOrder(previous, control.widget);
            }
            previous = control.widget;
        }
    }
    // Earlier controls lie above later ones, so a group box never covers what it frames.
    // Screen readers take their order from the window (ReadingOrder), not from this.
    for (auto it = built.rbegin(); it != built.rend(); ++it) {
        it->widget->raise();
    }
    return built;
}

}  // namespace ui
