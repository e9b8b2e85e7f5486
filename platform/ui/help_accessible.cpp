// SPDX-License-Identifier: MIT
#include "platform/ui/help_accessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPointer>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <vector>

#include "platform/ui/help_browser.h"

namespace ui {

namespace {

// Where the characters from `start` to `end` are drawn, on the screen.
QRect ScreenRectOf(const HelpBrowser* browser, int start, int end) {
    QTextCursor cursor(browser->document());
    cursor.setPosition(start);
    QRect rect = browser->cursorRect(cursor);
    cursor.setPosition(end);
    rect = rect.united(browser->cursorRect(cursor));
    return rect.translated(browser->viewport()->mapToGlobal(QPoint(0, 0)));
}

// One link of the page. It has no object of its own: the document makes it, and drops it when
// the page's text changes.
class HelpLinkAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    HelpLinkAccessible(HelpBrowser* browser, HelpLink link) : m_browser(browser), m_link(link) {}

    bool isValid() const override { return !m_browser.isNull(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override {
        return m_browser ? m_browser->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(m_browser.data());
    }
    QAccessibleInterface* child(int /*index*/) const override { return nullptr; }
    QAccessibleInterface* childAt(int /*x*/, int /*y*/) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface* /*child*/) const override { return -1; }

    QString text(QAccessible::Text kind) const override {
        switch (kind) {
            case QAccessible::Name:
                return m_link.text;
            case QAccessible::Value:
                return m_link.target;
            default:
                return {};
        }
    }
    void setText(QAccessible::Text /*kind*/, const QString& /*text*/) override {}
    QRect rect() const override {
        return m_browser ? ScreenRectOf(m_browser, m_link.start, m_link.end) : QRect();
    }
    QAccessible::Role role() const override { return QAccessible::Link; }
    QAccessible::State state() const override {
        QAccessible::State state;
        state.focusable = true;
        state.linked = true;
        if (!m_browser) {
            state.invisible = true;
            return state;
        }
        const QRect shown(m_browser->viewport()->mapToGlobal(QPoint(0, 0)),
                          m_browser->viewport()->size());
        state.offscreen = !shown.intersects(rect());
        // The keyboard's way to a link selects it.
        const QTextCursor cursor = m_browser->textCursor();
        state.focused = m_browser->hasFocus() && cursor.selectionStart() == m_link.start &&
                        cursor.selectionEnd() == m_link.end;
        return state;
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override {
        if (action != pressAction() || !m_browser) {
            return;
        }
        // Later, not inside the screen reader's call: a link to another page replaces the
        // links, this one among them.
        QMetaObject::invokeMethod(
            m_browser.data(),
            [browser = m_browser, target = m_link.target] {
                if (browser) {
                    browser->FollowLink(target);
                }
            },
            Qt::QueuedConnection);
    }
    QStringList keyBindingsForAction(const QString& /*action*/) const override { return {}; }

private:
    QPointer<HelpBrowser> m_browser;
    HelpLink m_link;
};

class HelpDocumentAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit HelpDocumentAccessible(HelpBrowser* browser)
        : QAccessibleWidget(browser, QAccessible::Document) {}
    ~HelpDocumentAccessible() override { DropLinks(); }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) {
            return static_cast<QAccessibleTextInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name && widget()->accessibleName().isEmpty()) {
            return Browser()->documentTitle();
        }
        return QAccessibleWidget::text(kind);
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = true;
        state.multiLine = true;
        return state;
    }

    // The links first, in reading order; then the scroll bars and the rest of the widget.
    int childCount() const override { return LinkCount() + QAccessibleWidget::childCount(); }
    QAccessibleInterface* child(int index) const override {
        const int links = LinkCount();
        if (index >= 0 && index < links) {
            return QAccessible::accessibleInterface(m_linkIds[static_cast<std::size_t>(index)]);
        }
        return QAccessibleWidget::child(index - links);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const int links = LinkCount();
        for (int i = 0; i < links; ++i) {
            if (QAccessible::accessibleInterface(m_linkIds[static_cast<std::size_t>(i)]) == child) {
                return i;
            }
        }
        const int other = QAccessibleWidget::indexOfChild(child);
        return other < 0 ? -1 : links + other;
    }

    // QAccessibleTextInterface: offsets are positions in the document.
    void selection(int index, int* start, int* end) const override {
        const QTextCursor cursor = Browser()->textCursor();
        const bool any = index == 0 && cursor.hasSelection();
        *start = any ? cursor.selectionStart() : 0;
        *end = any ? cursor.selectionEnd() : 0;
    }
    int selectionCount() const override { return Browser()->textCursor().hasSelection() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int /*index*/) override {
        QTextCursor cursor = Browser()->textCursor();
        cursor.clearSelection();
        Browser()->setTextCursor(cursor);
    }
    void setSelection(int /*index*/, int start, int end) override {
        QTextCursor cursor = CursorAt(start);
        cursor.setPosition(Clamped(end), QTextCursor::KeepAnchor);
        Browser()->setTextCursor(cursor);
    }
    int cursorPosition() const override { return Browser()->textCursor().position(); }
    void setCursorPosition(int position) override { Browser()->setTextCursor(CursorAt(position)); }
    QString text(int start, int end) const override {
        QTextCursor cursor = CursorAt(start);
        cursor.setPosition(Clamped(end), QTextCursor::KeepAnchor);
        return cursor.selectedText()
            .replace(QChar::ParagraphSeparator, u'\n')
            .replace(QChar::LineSeparator, u'\n');
    }
    int characterCount() const override {
        // Without the paragraph end that every document has after its text.
        return std::max(0, Browser()->document()->characterCount() - 1);
    }
    QRect characterRect(int offset) const override {
        return ScreenRectOf(Browser(), Clamped(offset), Clamped(offset + 1));
    }
    int offsetAtPoint(const QPoint& point) const override {
        return Browser()->cursorForPosition(Browser()->viewport()->mapFromGlobal(point)).position();
    }
    void scrollToSubstring(int start, int /*end*/) override {
        Browser()->setTextCursor(CursorAt(start));
        Browser()->ensureCursorVisible();
    }
    QString attributes(int /*offset*/, int* start, int* end) const override {
        *start = 0;
        *end = characterCount();
        return {};
    }

private:
    HelpBrowser* Browser() const { return static_cast<HelpBrowser*>(widget()); }
    int Clamped(int offset) const { return std::clamp(offset, 0, characterCount()); }
    QTextCursor CursorAt(int offset) const {
        QTextCursor cursor(Browser()->document());
        cursor.setPosition(Clamped(offset));
        return cursor;
    }

    // The links' interfaces, made anew when the page's text has changed since.
    int LinkCount() const {
        if (!m_linksMade || m_generation != Browser()->TextGeneration()) {
            DropLinks();
            for (const HelpLink& link : Browser()->Links()) {
                m_linkIds.push_back(QAccessible::registerAccessibleInterface(
                    new HelpLinkAccessible(Browser(), link)));
            }
            m_generation = Browser()->TextGeneration();
            m_linksMade = true;
        }
        return static_cast<int>(m_linkIds.size());
    }
    void DropLinks() const {
        for (const QAccessible::Id id : m_linkIds) {
            QAccessible::deleteAccessibleInterface(id);
        }
        m_linkIds.clear();
    }

    mutable std::vector<QAccessible::Id> m_linkIds;
    mutable unsigned m_generation = 0;
    mutable bool m_linksMade = false;
};

}  // namespace

QAccessibleInterface* NewHelpDocumentAccessible(HelpBrowser* browser) {
    return new HelpDocumentAccessible(browser);
}

}  // namespace ui
