// SPDX-License-Identifier: MIT
#include "platform/ui/help_viewer.h"

#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QKeySequence>
#include <QPalette>
#include <QPointer>
#include <QScreen>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/ui/seam_state.h"
#include "platform/ui/window_placement.h"

namespace {

ui::SeamState<bool, HelpRequest>& Seam() {
    static ui::SeamState<bool, HelpRequest> state;
    return state;
}

QPointer<QWidget>& HelpWindow() {
    static QPointer<QWidget> window;
    return window;
}

bool IsReadable(const QString& path) {
    QFile file(path);
    return QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly);
}

// Beside the owner rather than over it, so that the dialog the help is about stays in view.
void PlaceBeside(QWidget* window, const QWidget* owner) {
    if (!owner || !owner->isVisible() || !owner->screen()) {
        return;
    }
    const QRect work = owner->screen()->availableGeometry();
    const QRect beside = owner->frameGeometry();
    // The frame is not there before the window shows; the owner's is the best guess.
    const QSize frame = window->size() + (beside.size() - owner->size());
    const ui::Point at = ui::BesidePosition(
        frame.width(), frame.height(), {beside.x(), beside.y(), beside.width(), beside.height()},
        {work.x(), work.y(), work.width(), work.height()}, 8);
    window->move(at.x, at.y);
}

// WCAG's contrast ratio of two colours, from 1 (none) to 21 (black on white).
double ContrastRatio(const QColor& a, const QColor& b) {
    auto luminance = [](const QColor& c) {
        auto linear = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// `accent`, moved toward `text` as far as needed to read well on `base`.
QColor Readable(const QColor& accent, const QColor& text, const QColor& base) {
    constexpr double kEnough = 4.5;
    QColor colour = accent;
    for (int step = 1; step <= 10 && ContrastRatio(colour, base) < kEnough; ++step) {
        const double t = step / 10.0;
        colour.setRgbF(static_cast<float>(accent.redF() + (text.redF() - accent.redF()) * t),
                       static_cast<float>(accent.greenF() + (text.greenF() - accent.greenF()) * t),
                       static_cast<float>(accent.blueF() + (text.blueF() - accent.blueF()) * t));
    }
    return colour;
}

// Headings in the theme's accent colour and links in its link colour, each made readable on
// the page's background, so that the help reads as well in a dark theme as in a light one.
// The help file leaves these colours to the viewer.
void ApplyThemeColours(QTextBrowser* browser) {
    const QPalette palette = browser->palette();
    const QColor text = palette.color(QPalette::Text), base = palette.color(QPalette::Base);
    const QColor heading = Readable(palette.color(QPalette::Highlight), text, base);
    const QColor link = Readable(palette.color(QPalette::Link), text, base);
    browser->document()->setDefaultStyleSheet(
        QStringLiteral("h1, h2 { color: %1; } a { color: %2; }").arg(heading.name(), link.name()));
}

// The help page's browser, which follows the theme when the desktop changes it.
class HelpBrowser : public QTextBrowser {
public:
    explicit HelpBrowser(QWidget* parent) : QTextBrowser(parent) { ApplyThemeColours(this); }

protected:
    void changeEvent(QEvent* event) override {
        QTextBrowser::changeEvent(event);
        if (event->type() == QEvent::PaletteChange) {
            ApplyThemeColours(this);
            if (!source().isEmpty()) {
                reload();
            }
        }
    }
};

// A parentless window would be blocked by the modal dialog that asked for help, so the help
// window belongs to that dialog and is rebuilt when a request comes from another one.
QWidget* HelpWindowFor(QWidget* owner) {
    QPointer<QWidget>& window = HelpWindow();
    if (window && window->parentWidget() == owner) {
        return window;
    }
    delete window.data();
    window = new QWidget(owner, Qt::Window);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setObjectName("helpWindow");
    auto* browser = new HelpBrowser(window);
    browser->setObjectName("helpBrowser");
    browser->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser);
    auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), window);
    QObject::connect(close, &QShortcut::activated, window, &QWidget::close);
    window->resize(560, 480);
    PlaceBeside(window, owner);
    return window;
}

}  // namespace

namespace ui {

std::string HelpAnchorName(unsigned long topic) {
    char name[24];
    std::snprintf(name, sizeof name, "0x%lx", topic);
    return name;
}

bool ShowHelpTopic(QWidget* owner, const std::string& helpFile, unsigned long topic,
                   const std::string& title) {
    if (const auto launched = Seam().Take({helpFile, topic, owner})) {
        return *launched;
    }
    const QString path = QString::fromLocal8Bit(helpFile);
    if (!IsReadable(path)) {
        return false;
    }
    QWidget* window = HelpWindowFor(owner);
    window->setWindowTitle(QString::fromLocal8Bit(title));
    auto* browser = window->findChild<QTextBrowser*>("helpBrowser");
    QUrl url = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    if (topic != 0) {
        url.setFragment(QString::fromStdString(HelpAnchorName(topic)));
    }
    window->show();
    // Shown first, so that the page is laid out at its real width when it scrolls.
    browser->clearHistory();
    browser->setSource(QUrl());
    browser->setSource(url, QTextDocument::HtmlResource);
    window->raise();
    window->activateWindow();
    return true;
}

QWidget* OpenHelpWindow() {
    return HelpWindow().data();
}

}  // namespace ui

void HelpSeam::QueueAnswer(bool launched) {
    Seam().QueueAnswer(launched);
}

const std::vector<HelpRequest>& HelpSeam::Requests() {
    return Seam().Requests();
}

void HelpSeam::Reset() {
    Seam().Reset();
}
