// SPDX-License-Identifier: MIT
// The help page as screen readers see it: a document named by the page's title, with its
// text, caret and selection, whose links are its children. Each link is named by its text and
// has one action, which follows it as a click would.
#pragma once

class QAccessibleInterface;

namespace ui {

class HelpBrowser;

QAccessibleInterface* NewHelpDocumentAccessible(HelpBrowser* browser);

}  // namespace ui
