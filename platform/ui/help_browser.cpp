// SPDX-License-Identifier: MIT
#include "platform/ui/help_browser.h"

#include <QDesktopServices>
#include <QEvent>
#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>
#include <cmath>

namespace ui {

namespace {

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

// Where the anchor `name` stands in `document`, else -1.
int AnchorPosition(const QTextDocument* document, const QString& name) {
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        const QTextCharFormat format = block.charFormat();
        if (format.isAnchor() && format.anchorNames().contains(name)) {
            return block.position();
        }
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat fragment = it.fragment().charFormat();
            if (fragment.isAnchor() && fragment.anchorNames().contains(name)) {
                return it.fragment().position();
            }
        }
    }
    return -1;
}

}  // namespace

HelpBrowser::HelpBrowser(QWidget* parent) : QTextBrowser(parent) {
    ApplyThemeColours(this);
    connect(document(), &QTextDocument::contentsChanged, this, [this] { ++m_textGeneration; });
}

std::vector<HelpLink> HelpBrowser::Links() const {
    std::vector<HelpLink> links;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QString target = fragment.charFormat().anchorHref();
            if (target.isEmpty()) {
                continue;
            }
            const int end = fragment.position() + fragment.length();
            // A link whose text changes style part-way is more than one fragment.
            if (!links.empty() && links.back().end == fragment.position() &&
                links.back().target == target) {
                links.back().end = end;
                links.back().text += fragment.text();
            } else {
                links.push_back({fragment.position(), end, fragment.text(), target});
            }
        }
    }
    return links;
}

void HelpBrowser::FollowLink(const QString& target) {
    const QUrl url = source().resolved(QUrl(target));
    if (url.isLocalFile() || url.scheme() == QLatin1String("qrc") || url.scheme().isEmpty()) {
        setSource(url);
    } else {
        QDesktopServices::openUrl(url);
    }
}

void HelpBrowser::changeEvent(QEvent* event) {
    QTextBrowser::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        ApplyThemeColours(this);
        if (!source().isEmpty()) {
            reload();
        }
    }
}

void HelpBrowser::doSetSource(const QUrl& name, QTextDocument::ResourceType type) {
    QTextBrowser::doSetSource(name, type);
    const int at = name.hasFragment() ? AnchorPosition(document(), name.fragment()) : -1;
    if (at >= 0) {
        QTextCursor caret(document());
        caret.setPosition(at);
        setTextCursor(caret);
    }
}

}  // namespace ui
