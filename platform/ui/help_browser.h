// SPDX-License-Identifier: MIT
// The help page's browser: follows the desktop's theme, and tells where its links stand and
// where they lead, for the keyboard and for screen readers alike.
#pragma once

#include <QString>
#include <QTextBrowser>
#include <vector>

namespace ui {

// One link of the page: the characters it covers in the page's text, and its target as the
// page gives it ("#messages").
struct HelpLink {
    int start;
    int end;
    QString text;
    QString target;
};

class HelpBrowser : public QTextBrowser {
    Q_OBJECT

public:
    explicit HelpBrowser(QWidget* parent);

    // The page's links in reading order.
    std::vector<HelpLink> Links() const;
    // Follows `target` as a click on its link does: within the help, to the place it names
    // (with the caret, see doSetSource); anything else opens in the desktop's own application.
    void FollowLink(const QString& target);
    // Changes whenever the page's text changes, so that what was taken from it can tell it is
    // out of date.
    unsigned TextGeneration() const { return m_textGeneration; }

protected:
    void changeEvent(QEvent* event) override;
    // Arriving at an anchor puts the caret there too, so that a screen reader reads on from
    // where the link or the topic led, not from where the last reading stopped.
    void doSetSource(const QUrl& name, QTextDocument::ResourceType type) override;

private:
    unsigned m_textGeneration = 0;
};

}  // namespace ui
