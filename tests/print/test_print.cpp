// The preview draws the page from the tape; Print lays the sheets out from the printable corner
// and, with no printer, writes a PDF file whole or not at all.
#include "print/form1.h"
#include "print/pagelayout.h"
#include "print/printing.h"
#include "shell/sounds.h"
#include "table.h"
#include "tapes.h"
#include "window/calculator.h"
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>
using namespace tally;

// No printer; what the window tells is kept, and the save dialog answers `fileName`.
struct Recorder : Outside {
    QStringList told;
    QString fileName;
    void tell(QWidget*, const QString&, const QString& text, bool) override { told << text; }
    QString askFileName(QWidget*, FileKind) override { return fileName; }
    QPrinterInfo findPrinter() override { return {}; }
    bool startProgram(const QString&, const QStringList&) override { return false; }
    void showAbout(QWidget*, const QString&, const QString&) override {}
    void quit() override {}
};

// The pages of a PDF document as pdftotext reads them back, every word with its box in points.
QStringList readPdf(const QByteArray& pdf) {
    QProcess p;
    p.start("pdftotext", {"-bbox", "-", "-"});
    p.write(pdf);
    p.closeWriteChannel();
    p.waitForFinished();
    return QString::fromUtf8(p.readAllStandardOutput()).split("<page ").mid(1);
}
// The box of the first word on a page that matches `text`; null when there is none.
QRectF box(const QString& page, const QString& text) {
    const auto m =
        QRegularExpression(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">)re" + text + "<")
            .match(page);
    return QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                  QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()));
}

class TestPrint : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

private slots:
    void preview_data() {
        columns<int>({"row", "edge"}); // row -1 is the date line; edge: a column's right edge in twips
        QTest::addColumn<bool>("ink");
        QTest::newRow("the date on top") << -1 << kPreviewLeft.lineNumber << true;
        QTest::newRow("line 2's subtotal") << 2 << kPreviewLeft.subtotal << true;
        QTest::newRow("line 120's entry, right half") << 60 << kPreviewRight.entry << true;
        QTest::newRow("line 121 is not on the page") << 61 << kPreviewLeft.lineNumber << false;
    }
    // One preview at a time, closed by Cancel. Drawn again, it shows the tape as it is now and not
    // a second page below the first: each text ends at its column's edge, in its row.
    void preview() {
        State state = tapeOf(3);
        SilentPlayer sounds;
        Recorder outside;
        Calculator calc(state, sounds, outside);
        calc.mnuPrint->trigger();
        QPointer<Form1> form = calc.preview;
        calc.mnuPrint->trigger();
        const QWidgetList windows = QApplication::topLevelWidgets();
        QVERIFY(form && calc.preview == form &&
                std::count_if(windows.begin(), windows.end(), [](QWidget* w) { return qobject_cast<Form1*>(w); }) == 1);
        state = tapeOf(121);
        form->drawpreview();
        const QImage& image = form->Picture1->image();
        const int pitch = qRound(form->Picture1->lineHeight() / 15), x = qRound(fetch<int>("edge") / 15.0),
                  row = fetch<int>("row");
        int right = -1; // the rightmost dark pixel in the band just left of the edge
        for (int px = qMax(0, x - 30); px <= x + 2 && px < image.width(); ++px)
            for (int y = (row + 1) * pitch; y < (row + 2) * pitch; ++y)
                right = qGray(image.pixel(px, y)) < 128 ? px : right;
        QVERIFY2(fetch<bool>("ink") ? right >= x - 4 : right == -1,
                 qPrintable(QString("ink ends at %1, edge %2").arg(right).arg(x)));
        QTest::mouseClick(form->Command2, Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(form.isNull());
    }
    // Inside a printer's margins: the date at the printable corner of sheet 1 only; line 121 opens sheet 2.
    void sheetsFromThePrintableCorner() {
        State state = tapeOf(121);
        const QStringList pages = readPdf(tapePdf(state, QPageSize(QPageSize::A4), {12, 18, 12, 18}));
        const QString date = R"(\d\d-\d\d-\d{4})";
        QCOMPARE(pages.size(), 2);
        QVERIFY(box(pages[1], date).isNull());
        const QRectF dated = box(pages[0], date), sign = box(pages[1], "#"); // line 121's
        QVERIFY2(qAbs(dated.left() - 12) < 1 && qAbs(dated.top() - 18) < 2, qPrintable(QDebug::toString(dated)));
        QVERIFY2(qAbs(sign.right() - 12 - kPaperLeft.lineNumber * 0.12) <= 0.06 &&
                     qAbs(sign.top() - 18 - paperRowTop(1) * 0.12) <= 3,
                 qPrintable(QDebug::toString(sign)));
    }
    void printWithoutPrinter_data() {
        columns({"answer", "told"}); // the file name given in the save dialog; a part of the last message
        QTest::newRow("saved as PDF") << "saved"
                                      << "There is no default printer.";
        QTest::newRow("dialog cancelled") << ""
                                          << "There is no default printer.";
        QTest::newRow("no such folder") << "no such folder/saved.pdf" << QString::fromLocal8Bit(strerror(ENOENT));
        QTest::newRow("full disk keeps the old file") << "full/old.pdf" << QString::fromLocal8Bit(strerror(ENOSPC));
        QTest::newRow("a pipe is left a pipe") << "pipe.pdf"
                                               << "not a file";
    }
    // Without a printer the tape may go to a PDF file; a failure keeps the preview open and says why.
    void printWithoutPrinter() {
        const QString answer = fetch("answer"), mount = dir.filePath("full");
        const bool full = answer.startsWith("full/"), printed = answer == "saved";
        if (full) { // a 64 KiB disk holding the old file and a filler that takes the rest
            if (geteuid() != 0 || !QDir().mkpath(mount) ||
                QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=64k", "tmpfs", mount}))
                QSKIP("a full disk needs root to mount a small tmpfs");
            QFile old(dir.filePath(answer)), filler(mount + "/filler");
            QVERIFY(old.open(QIODevice::WriteOnly) && old.write("%PDF-1.4 the old print") > 0 && old.flush() &&
                    filler.open(QIODevice::WriteOnly));
            filler.write(QByteArray(64 * 1024, 'x'));
        }
        auto unmount = qScopeGuard([&] {
            if (full)
                QProcess::execute("umount", {mount});
        });
        if (answer == "pipe.pdf")
            QCOMPARE(mkfifo(qPrintable(dir.filePath(answer)), 0600), 0);
        State state = tapeOf(1);
        Recorder outside;
        outside.fileName = answer.isEmpty() ? answer : dir.filePath(answer);
        QPointer<Form1> form = new Form1(state, outside);
        form->show();
        QTest::mouseClick(form->Command1, Qt::LeftButton);
        QCOMPARE(outside.told.size(), printed || answer.isEmpty() ? 1 : 2); // the failure follows the offer
        QVERIFY2(outside.told.last().contains(fetch("told")), qPrintable(outside.told.last()));
        QCOMPARE(form->isVisible(), !printed);
        if (full) { // no half-written file beside it, the old one byte for byte
            QCOMPARE(QDir(mount).entryList(QDir::Files | QDir::Hidden), QStringList({"filler", "old.pdf"}));
            QFile old(dir.filePath(answer));
            QVERIFY(old.open(QIODevice::ReadOnly) && old.readAll() == "%PDF-1.4 the old print");
        }
        QCOMPARE(QFile::exists(dir.filePath(answer) + ".pdf"), printed); // added to the bare name
        QCOMPARE(QFileInfo(dir.filePath("pipe.pdf")).isFile(), false);
        delete form;
    }
    // The PDF dialog adds ".pdf" to a bare name and asks only about that file; a tape dialog adds nothing.
    void saveDialogs_data() {
        columns<int>({"kind"});
        columns({"typed", "chosen"});
        row("PDF beside the tape of its name") << int(Outside::FileKind::SavePdf) << "expenses"
                                               << "expenses.pdf";
        row("tape") << int(Outside::FileKind::SaveTape) << "budget"
                    << "budget";
    }
    void saveDialogs() {
        QVERIFY(QFile(dir.filePath("expenses")).open(QIODevice::WriteOnly));
        QString asked;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->setDirectory(dir.path());
            dialog->selectFile(fetch("typed"));
            QTimer::singleShot(100, [&] {
                if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                    asked = box->text(), box->reject();
            });
            static_cast<QDialog*>(dialog)->accept(); // as the Save button does
            if (dialog->isVisible())                 // a question answered No keeps it open
                dialog->reject();
        });
        QCOMPARE(Desktop().askFileName(nullptr, Outside::FileKind(fetch<int>("kind"))), dir.filePath(fetch("chosen")));
        QCOMPARE(asked, QString());
    }
};
QTEST_MAIN(TestPrint)
#include "test_print.moc"
