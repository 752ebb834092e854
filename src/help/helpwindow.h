#pragma once
// The help viewer's one window: a table of contents beside the rendered manual.
#include <QWidget>

class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;

namespace tally {

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    // `folder` is the manual's own, the one folder its pictures may come from.
    explicit HelpWindow(const QString& markdown, const QString& folder = QString(), QWidget* parent = nullptr);

    QTextBrowser* browser() const { return browser_; }
    QTreeWidget* contents() const { return contents_; }

    // Scrolls the manual so that the block at this document position stands at the top.
    void showPosition(int position);

private:
    void fillContents();

    QTextBrowser* browser_;
    QTreeWidget* contents_;
};

} // namespace tally
