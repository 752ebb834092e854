#include "help/manualreading.h"

#include <QAccessibleWidget>
#include <QTextBlock>
#include <QTextBrowser>
#include <algorithm>
#include <utility>

namespace tally {

namespace {

class ManualReading : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit ManualReading(QTextBrowser* browser) : QAccessibleWidget(browser, QAccessible::StaticText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = true;
        s.multiLine = true;
        return s;
    }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Value ? plain() : QAccessibleWidget::text(t);
    }

    int characterCount() const override { return static_cast<int>(plain().size()); }
    QString text(int start, int end) const override { return plain().mid(start, end - start); }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType type, int* start, int* end) const override {
        std::tie(*start, *end) = around(offset, type);
        return text(*start, *end);
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int* start, int* end) const override {
        const int first = around(offset, type).first;
        std::tie(*start, *end) = first > 0 ? around(first - 1, type) : std::pair{0, 0};
        return text(*start, *end);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType type, int* start, int* end) const override {
        const int last = around(offset, type).second;
        const int count = characterCount();
        std::tie(*start, *end) = last < count ? around(last, type) : std::pair{count, count};
        return text(*start, *end);
    }
    int cursorPosition() const override { return browser()->textCursor().position(); }
    void setCursorPosition(int position) override { setSelection(0, position, position); }
    int selectionCount() const override { return browser()->textCursor().hasSelection() ? 1 : 0; }
    void selection(int, int* start, int* end) const override {
        const QTextCursor c = browser()->textCursor();
        *start = c.selectionStart();
        *end = c.selectionEnd();
    }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int) override { setCursorPosition(cursorPosition()); }
    void setSelection(int, int start, int end) override {
        QTextCursor c(browser()->document());
        c.setPosition(clamped(start));
        c.setPosition(clamped(end), QTextCursor::KeepAnchor);
        browser()->setTextCursor(c);
    }
    void scrollToSubstring(int start, int end) override {
        setSelection(0, start, end);
        browser()->ensureCursorVisible();
    }
    QRect characterRect(int offset) const override {
        QTextCursor c(browser()->document());
        c.setPosition(clamped(offset));
        QRect r = browser()->cursorRect(c);
        r.setWidth(browser()->fontMetrics().averageCharWidth());
        return QRect(browser()->viewport()->mapToGlobal(r.topLeft()), r.size());
    }
    int offsetAtPoint(const QPoint& point) const override {
        return browser()->cursorForPosition(browser()->viewport()->mapFromGlobal(point)).position();
    }
    QString attributes(int offset, int* start, int* end) const override {
        *start = offset;
        *end = offset + 1;
        return {};
    }

private:
    QTextBrowser* browser() const { return static_cast<QTextBrowser*>(widget()); }
    QString plain() const { return browser()->document()->toPlainText(); }
    int clamped(int position) const { return std::clamp(position, 0, characterCount()); }
    // The word, line or paragraph around `offset`, as [start, end).
    std::pair<int, int> around(int offset, QAccessible::TextBoundaryType type) const {
        const int count = characterCount();
        QTextCursor c(browser()->document());
        c.setPosition(clamped(offset));
        auto span = [&c, count](QTextCursor::MoveOperation from, QTextCursor::MoveOperation to, int past) {
            c.movePosition(from);
            const int start = c.position();
            c.movePosition(to);
            return std::pair{start, std::min(c.position() + past, count)};
        };
        switch (type) {
        case QAccessible::CharBoundary:
            return {clamped(offset), clamped(offset + 1)};
        case QAccessible::WordBoundary:
            return span(QTextCursor::StartOfWord, QTextCursor::EndOfWord, 0);
        case QAccessible::LineBoundary:
            return span(QTextCursor::StartOfLine, QTextCursor::EndOfLine, 1);
        case QAccessible::SentenceBoundary:
        case QAccessible::ParagraphBoundary:
            return span(QTextCursor::StartOfBlock, QTextCursor::EndOfBlock, 1);
        case QAccessible::NoBoundary:
            break;
        }
        return {0, count};
    }
};

constexpr const char* kPlainly = "tallyrollReadPlainly";

QAccessibleInterface* manualFactory(const QString&, QObject* object) {
    auto* browser = qobject_cast<QTextBrowser*>(object);
    return browser && browser->property(kPlainly).toBool() ? new ManualReading(browser) : nullptr;
}

} // namespace

void readManualPlainly(QTextBrowser& browser) {
    static const bool installed = (QAccessible::installFactory(manualFactory), true);
    Q_UNUSED(installed);
    browser.setProperty(kPlainly, true);
}

} // namespace tally
