#pragma once
// The conversion panel: the category box `conversion`, the factor list ListView1 over the tape,
// the `convert` button that carries the picked factor, and the unit Label6 of a converted entry.
// Converting multiplies the entry box's number by the picked factor.
#include <QObject>
#include <optional>
#include <string>

class Outside;
class QComboBox;
class QEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class SoundPlayer;

class ConversionPanel : public QObject {
    Q_OBJECT

public:
    ConversionPanel(QWidget* body, SoundPlayer& sounds, Outside& outside, QLineEdit* entry);

    // A key or Clear Entries empties the unit: the entry is no longer the converted one.
    void clearUnit();
    // Events of the factor list, from the window's event filter; true when taken.
    bool filterEvent(QObject* watched, QEvent* event);

signals:
    // "None" was chosen: the list no longer covers the tape, which is drawn afresh.
    void tapeUncovered();
    // A click on the list picked a factor and hid the list; the rest of that click must not
    // land on what lay beneath.
    void hidByClick();

private:
    SoundPlayer& sounds;
    Outside& outside;
    QLineEdit* entry;

    QComboBox* conversion = nullptr;
    QTreeWidget* ListView1 = nullptr;
    QPushButton* convert = nullptr;
    QLabel* Label6 = nullptr;
    std::optional<std::string> convfactor; // the picked factor's text; none picked yet counts as 0

    void conversion_Click();
    void ListView1_Click();
    bool ListView1_KeyPress(char16_t keyAscii);
    void convert_Click();
    void showFactorCaption(const QString& caption);
    void tellUser(const QString& text);
};
