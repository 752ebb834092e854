// Unit conversion: a category's factor table in the list view, a picked factor on the convert
// button, and the entry multiplied by it.
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include "conversion/factortable.h"
#include "files/diskfile.h"
#include "shell/datafiles.h"
#include "window/calculator.h"

// The button's accessible name says what it is; its caption, the picked factor, is its description.
void Calculator::showFactorCaption(const QString& caption) {
    convert->setText(caption);
    convert->setAccessibleDescription(caption);
}

void Calculator::conversion_Click() {
    const QString category = conversion->currentText();
    if (category == "None") {
        showFactorCaption("None");
        ListView1->hide();
        printout();
        return;
    }
    const QString fileName = QString::fromStdString(tally::factorFileName(category.toStdString()));
    const QString path = fileName.isEmpty() ? QString() : dataFilePath(fileName);
    // A factor table is a few dozen rows; a file far beyond that would fill the list view with
    // millions of rows and freeze the window, so it is refused.
    constexpr std::size_t kLargestFactorFile = 64 * 1024;
    const tally::FileRead file = path.isEmpty()
                                     ? tally::FileRead{}
                                     : tally::readWholeFile(QFile::encodeName(path).toStdString(), kLargestFactorFile);
    if (path.isEmpty() || !file.ok()) {
        // An earlier category's list must not stay over the tape as if it were this one's.
        ListView1->hide();
        tellUser(
            "Convert",
            fileName.isEmpty() ? QString("There is no factor table for \"%1\".").arg(category)
            : !path.isEmpty()
                ? QString("The factor file \"%1\" could not be read: %2.").arg(path, QString::fromStdString(file.error))
                : QString("The factor file \"%1\" could not be found.\n\nIt is looked for in "
                          "the current folder and in the program's data folder.")
                      .arg(fileName));
        return;
    }
    ListView1->clear();
    QList<QTreeWidgetItem*> rows;
    for (const tally::FactorRow& row : tally::readFactorTable(file.bytes)) {
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

void Calculator::ListView1_Click() {
    const QTreeWidgetItem* row = ListView1->currentItem();
    if (!row || !row->isSelected())
        return; // a click on an empty table picks nothing
    play(tally::Sound::Calc1);
    convfactor = row->text(1).toStdString();
    showFactorCaption(row->text(3));
    convert->setFocus();
    ListView1->hide();
}

bool Calculator::ListView1_KeyPress(char16_t keyAscii) {
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

void Calculator::convert_Click() {
    if (!Label6->text().isEmpty() || Text2->text().isEmpty())
        return;
    const tally::Conversion result = tally::convertEntry(
        Text2->text().toStdString(), convfactor ? std::optional<std::string_view>(*convfactor) : std::nullopt);
    if (result.fault != tally::ConversionFault::None) {
        tellUser("Convert", QString::fromStdString(tally::conversionFaultText(result.fault)));
        return;
    }
    Label6->setText(QString::fromStdString(tally::unitLabel(convert->text().toStdString())));
    Text2->setText(QString::fromStdString(result.text));
    ListView1->hide();
    Text2->setFocus();
}
