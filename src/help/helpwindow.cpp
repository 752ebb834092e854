#include "help/helpwindow.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QScrollBar>
#include <QSplitter>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTreeWidget>

#include "help/helpdoc.h"
#include "help/manualreading.h"

namespace tally {

namespace {
constexpr int kPositionRole = Qt::UserRole;
}

HelpWindow::HelpWindow(const QString& markdown, const QString& folder, QWidget* parent)
    : QWidget(parent), browser_(new QTextBrowser), contents_(new QTreeWidget) {
    readManualPlainly(*browser_); // before anything a reader is told of
    setWindowTitle(QStringLiteral("Calculator Help"));
    setObjectName(QStringLiteral("helpWindow"));

    browser_->setObjectName(QStringLiteral("manual"));
    browser_->setAccessibleName(QStringLiteral("Manual"));
    browser_->setOpenLinks(false); // the manual has no links of its own to follow
    browser_->setDocument(new ManualDocument(folder, browser_));
    renderManual(*browser_->document(), markdown);

    contents_->setObjectName(QStringLiteral("contents"));
    contents_->setAccessibleName(QStringLiteral("Contents"));
    contents_->setHeaderLabel(QStringLiteral("Contents"));
    contents_->header()->setStretchLastSection(true);
    fillContents();

    auto* splitter = new QSplitter(Qt::Horizontal);
    splitter->addWidget(contents_);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({220, 620});

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);
    resize(860, 620);

    auto* close = new QAction(this);
    close->setShortcuts({QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)});
    close->setShortcutContext(Qt::WindowShortcut);
    connect(close, &QAction::triggered, this, &QWidget::close);
    addAction(close);

    // Clicking or pressing Enter on a heading, or walking the list with the arrows, shows it.
    connect(contents_, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { showPosition(item->data(0, kPositionRole).toInt()); });
    connect(contents_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item)
            showPosition(item->data(0, kPositionRole).toInt());
    });

    // Filling the document carried the cursor, and with it the view, to the end of the manual.
    browser_->moveCursor(QTextCursor::Start);
    browser_->setFocus();
}

void HelpWindow::fillContents() {
    // Nest each heading under the nearest heading of a lower level before it.
    QList<QPair<int, QTreeWidgetItem*>> open; // the chain of headings the next one may nest in
    for (const HelpHeading& h : manualHeadings(*browser_->document())) {
        while (!open.isEmpty() && open.last().first >= h.level)
            open.removeLast();
        auto* item = new QTreeWidgetItem(QStringList(h.text));
        item->setData(0, kPositionRole, h.position);
        if (open.isEmpty())
            contents_->addTopLevelItem(item);
        else
            open.last().second->addChild(item);
        open.append({h.level, item});
    }
    contents_->expandAll();
}

void HelpWindow::showPosition(int position) {
    QTextDocument* doc = browser_->document();
    const QTextBlock block = doc->findBlock(position);
    if (!block.isValid())
        return;
    browser_->setTextCursor(QTextCursor(block));
    const QRectF rect = doc->documentLayout()->blockBoundingRect(block);
    browser_->verticalScrollBar()->setValue(static_cast<int>(rect.top()));
}

} // namespace tally
