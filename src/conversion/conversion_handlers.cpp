// Unit conversion: a category's factor table in the list view, a picked factor on the convert
// button, and the entry multiplied by it.
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include "conversion/conversionpanel.h"
#include "conversion/factortable.h"
#include "core/startup.h"
#include "files/diskfile.h"
#include "shell/controls.h"
#include "shell/outside.h"
#include "shell/sounds.h"

namespace {
struct TreeColumn {
    const char* caption;
    int width; // twips
};
constexpr TreeColumn kConversionColumns[] = {{"From", 2550}, {"Conversion", 1125}, {"To", 2550}, {"x", 1500}};
} // namespace

ConversionPanel::ConversionPanel(QWidget* body, SoundPlayer& player, Outside& out, QLineEdit* entryBox)
    : QObject(body), sounds(player), outside(out), entry(entryBox) {
    setObjectName("conversionPanel");
    using design::control;
    conversion = control<QComboBox>(body, "conversion");
    convert = control<QPushButton>(body, "convert");
    ListView1 = control<QTreeWidget>(body, "ListView1");
    Label6 = control<QLabel>(body, "Label6");
    // A screen reader on Linux names a combo box by the label it is the buddy of.
    control<QLabel>(body, "Label5")->setBuddy(conversion);
    conversion->lineEdit()->setAccessibleName(conversion->accessibleName());
    QStringList headers;
    for (const TreeColumn& column : kConversionColumns)
        headers << column.caption;
    ListView1->setHeaderLabels(headers);
    for (int c = 0; c < headers.size(); ++c)
        ListView1->setColumnWidth(c, tally::twipsToPixels(kConversionColumns[c].width));
    ListView1->headerItem()->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    showFactorCaption(convert->text());
    conversion->addItems({"None", "Area", "Concentration", "Length", "Volume", "Weight"});
    conversion->setEditText("None");

    connect(conversion, &QComboBox::activated, this, [this] { conversion_Click(); });
    connect(ListView1, &QTreeWidget::itemClicked, this, [this] {
        ListView1_Click();
        if (ListView1->isHidden())
            emit hidByClick();
    });
    connect(convert, &QPushButton::clicked, this, [this] { convert_Click(); });
}

void ConversionPanel::clearUnit() {
    Label6->setText(QString());
}

void ConversionPanel::tellUser(const QString& text) {
    outside.tell(entry->window(), "Convert", text);
    entry->setFocus();
}

bool ConversionPanel::filterEvent(QObject* watched, QEvent* event) {
    if (watched != ListView1 || event->type() != QEvent::KeyPress)
        return false;
    const QString text = static_cast<QKeyEvent*>(event)->text();
    return !text.isEmpty() && ListView1_KeyPress(text.at(0).unicode());
}

// The button's accessible name says what it is; its caption, the picked factor, is its description.
void ConversionPanel::showFactorCaption(const QString& caption) {
    convert->setText(caption);
    convert->setAccessibleDescription(caption);
}

void ConversionPanel::conversion_Click() {
    const QString category = conversion->currentText();
    if (category == "None") {
        showFactorCaption("None");
        ListView1->hide();
        emit tapeUncovered();
        return;
    }
    const QString fileName = QString::fromStdString(tally::factorFileName(category.toStdString()));
    const QString path = fileName.isEmpty() ? QString() : outside.dataFile(fileName);
    // A factor table is a few dozen rows; a file far beyond that would fill the list view with
    // millions of rows and freeze the window, so it is refused.
    constexpr std::size_t kLargestFactorFile = 64 * 1024;
    const tally::Result<std::string> file =
        path.isEmpty() ? tally::Failure{}
                       : tally::readWholeFile(QFile::encodeName(path).toStdString(), kLargestFactorFile);
    if (!file) {
        // An earlier category's list must not stay over the tape as if it were this one's.
        ListView1->hide();
        tellUser(fileName.isEmpty() ? QString("There is no factor table for \"%1\".").arg(category)
                 : !path.isEmpty()  ? QString("The factor file \"%1\" could not be read: %2.")
                                         .arg(path, QString::fromStdString(file.reason()))
                                   : QString("The factor file \"%1\" could not be found.\n\nIt is looked for in "
                                             "the current folder and in the program's data folder.")
                                         .arg(fileName));
        return;
    }
    ListView1->clear();
    QList<QTreeWidgetItem*> rows;
    for (const tally::FactorRow& row : tally::readFactorTable(*file)) {
        auto* item = new QTreeWidgetItem({QString::fromStdString(row.from), QString::fromStdString(row.factor),
                                          QString::fromStdString(row.to), QString::fromStdString(row.caption)});
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        // The columns keep their designed widths, which cut long factors: the tip shows them whole.
        for (int c = 0; c < 4; ++c)
            item->setToolTip(c, item->text(1) + "   " + item->text(3));
        rows << item;
    }
    ListView1->addTopLevelItems(rows);
    ListView1->show();
    ListView1->raise();
    ListView1->setFocus();
}

void ConversionPanel::ListView1_Click() {
    const QTreeWidgetItem* row = ListView1->currentItem();
    if (!row || !row->isSelected())
        return; // a click on an empty table picks nothing
    sounds.play(tally::Sound::Calc1);
    convfactor = row->text(1).toStdString();
    showFactorCaption(row->text(3));
    convert->setFocus();
    ListView1->hide();
}

bool ConversionPanel::ListView1_KeyPress(char16_t keyAscii) {
    if (keyAscii == 27) {
        convert->setFocus();
        ListView1->hide();
        showFactorCaption("None");
        conversion->setEditText("None");
        return true;
    }
    if (keyAscii == u'\r') { // Enter picks the current row, as a click does
        ListView1_Click();
        return true;
    }
    return false;
}

void ConversionPanel::convert_Click() {
    if (!Label6->text().isEmpty() || entry->text().isEmpty())
        return;
    const tally::Conversion result = tally::convertEntry(
        entry->text().toStdString(), convfactor ? std::optional<std::string_view>(*convfactor) : std::nullopt);
    if (result.fault != tally::ConversionFault::None) {
        tellUser(QString::fromStdString(tally::conversionFaultText(result.fault)));
        return;
    }
    Label6->setText(QString::fromStdString(tally::unitLabel(convert->text().toStdString())));
    entry->setText(QString::fromStdString(result.text));
    ListView1->hide();
    entry->setFocus();
}
