// Prints a 125-line tape with the preview's Print button on the desktop's default printer
// (print-cups.sh makes that a CUPS PDF queue). Exit 0 when the job was handed over and the
// preview closed, or, with "refused", when the user was told why and the preview stayed open.
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <cstdio>

#include "print/form1.h"
#include "tapes.h"

// The desktop's own printer; what the user is told is kept.
struct Recorder : Desktop {
    QStringList told;
    void tell(QWidget*, const QString&, const QString& text, bool) override { told << text; }
    QString askFileName(QWidget*, FileKind) override { return {}; } // only asked when there is no printer
};

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const bool refused = argc > 1 && QByteArray(argv[1]) == "refused";
    tally::State state = tapeOf(125); // line 121 opens the second sheet
    Recorder outside;
    std::printf("printing on \"%s\"\n", qPrintable(outside.findPrinter().printerName()));
    QPointer<Form1> form = new Form1(state, outside);
    form->show();
    QTest::mouseClick(form->Command1, Qt::LeftButton);
    std::printf("told: %s\n", qPrintable(outside.told.join(" / ")));
    if (refused) return outside.told.size() == 1 && form && form->isVisible() ? 0 : 1;
    // Handed over: the preview closes and deletes itself.
    return outside.told.isEmpty() && QTest::qWaitFor([&form] { return form.isNull(); }, 5000) ? 0 : 1;
}
